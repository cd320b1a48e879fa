#!/usr/bin/env bash
# The launcher that examples/maven-app's Maven build wrote (scripts/maven.sh
# example), run under Wine in the build's prefix: it finds the real Windows
# runtime (scripts/real-runtime.sh) through JAVA_HOME, the second source of its
# search after the registry, which a fresh prefix leaves empty; the JVM starts
# in-process and the application prints how it was started.
# Exits 0 when it printed what it should, 77 (skipped) when the launcher or
# the runtime is not there, 1 otherwise.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
launcher=$repo/examples/maven-app/target/maven-app.exe
home=$("$repo/scripts/real-runtime.sh" home)

if [ ! -f "$launcher" ]; then
  echo "SKIP: $launcher was not built (scripts/maven.sh example)"
  exit 77
fi
if [ ! -f "$home/bin/server/jvm.dll" ]; then
  echo "SKIP: the real Windows runtime has not been fetched (scripts/setup.sh)"
  exit 77
fi

windows_path() { echo "Z:${1//\//\\}"; }
version=$(sed -n 's/^JAVA_VERSION="\([^"]*\)".*/\1/p' "$home/release")
run=$(mktemp -d "$repo/build/maven-example.XXXXXX")
trap 'rm -rf "$run"' EXIT

JAVA_HOME=$(windows_path "$home") "$repo/scripts/wine-run.sh" "$launcher" first "second word" \
  >"$run/stdout" 2>"$run/stderr"
status=$?
tr -d '\r' <"$run/stdout" >"$run/printed"
cat >"$run/expected" <<TEXT
maven-app started by $(windows_path "$launcher")
launcher kind: GUI
arguments: first | second word
java.version=$version
TEXT

if [ "$status" -eq 0 ] && diff -u "$run/expected" "$run/printed" && [ ! -s "$run/stderr" ]; then
  cat "$run/printed"
  echo "maven-app.exe under Wine: as expected"
  exit 0
fi
echo "maven-app.exe under Wine: exit code $status; standard error:" >&2
cat "$run/stderr" >&2
exit 1
