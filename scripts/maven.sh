#!/usr/bin/env bash
# The Maven side: launcher-bootstrap (java/pom.xml) and launcher-maven-plugin
# (maven/launcher-maven-plugin), built in one run of maven/pom.xml with their
# tests and installed into a Maven repository in the test cache outside the
# tree (the one scripts/third-party.sh fills), then examples/maven-app
# packaged against them. Needs dist/ from scripts/build.sh: the plugin
# carries its templates, bootstrap jar and generators.
#
#   maven.sh test         the steps below, one line "maven: STEP passed|failed|skipped" each;
#                         exits 1 when a step failed
#   maven.sh install      build and install the bootstrap and the plugin
#   maven.sh example      package examples/maven-app (target/maven-app.exe)
#   maven.sh repository   print the repository's path
#
# Every Maven run is offline first; only when it misses something that is not
# cached yet is it run again online. Without mvn, or when Maven Central cannot
# be reached for what is missing, the steps are skipped.
# LAUNCHER_MAVEN_ARGS adds options to every run, e.g.
# -Dlauncher.withoutWindowsGenerator=true for a test build without dist/launchergen.exe.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${LAUNCHER_RUNTIME_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/launcher-test-runtimes}
repository=$cache/maven-repository
logs=$repo/build/maven
version=$(tr -d '[:space:]' <"$repo/VERSION")
# What Maven prints when the network, not the build, failed.
unreachable='Could not transfer|Unknown host|UnknownHostException|Network is unreachable|Connection (refused|timed out)|Connect to .* failed'

# mvn LOG ARGUMENT...: 0 built, 77 could not fetch what it needs, 1 failed.
run_maven() {
  local log=$1
  shift
  # shellcheck disable=SC2086  # options split like a command line
  local common=(-B -Dstyle.color=never -Dmaven.repo.local="$repository" ${LAUNCHER_MAVEN_ARGS:-})
  if mvn -o "${common[@]}" "$@" >"$log" 2>&1; then return 0; fi
  grep -q 'offline mode' "$log" || return 1
  echo "maven: fetching what $(basename "$log" .log) needs from Maven Central"
  if mvn "${common[@]}" "$@" >"$log" 2>&1; then return 0; fi
  if grep -qE "$unreachable" "$log"; then return 77; fi
  return 1
}

# Every pom of ours names the version in VERSION, as parent or as dependency.
check_versions() {
  local pom stale=()
  for pom in maven/pom.xml java/pom.xml maven/launcher-maven-plugin/pom.xml examples/maven-app/pom.xml; do
    if grep -A2 -E '<(groupId)>org\.jlaunchkit<' "$repo/$pom" | grep -E '<version>' | grep -qv "<version>$version</version>"; then
      stale+=("$pom")
    fi
  done
  if [ ${#stale[@]} -gt 0 ]; then
    echo "maven: not the version in VERSION ($version) for org.jlaunchkit: ${stale[*]}" >&2
    return 1
  fi
}

# The reactor's verdict on one module: passed, failed or skipped.
module_result() {
  local log=$1 module=$2
  if grep -qE "^\[INFO\] $module .* SUCCESS" "$log"; then echo passed
  elif grep -qE "^\[(INFO|ERROR)\] $module .* FAILURE" "$log"; then echo failed
  else echo skipped
  fi
}

install() {
  run_maven "$logs/install.log" -f "$repo/maven/pom.xml" --fail-at-end clean install
}

example() {
  run_maven "$logs/example.log" -f "$repo/examples/maven-app/pom.xml" clean package
}

print_test_summaries() {
  grep -E 'Tests run: [0-9]+, Failures: [0-9]+, Errors: [0-9]+, Skipped: [0-9]+$|Building (jar|maven-plugin)|BUILD|\] (launcher|maven-app)-?.* (SUCCESS|FAILURE|SKIPPED)|ERROR' "$1" |
    grep -v 'Download' | head -40
}

run_tests() {
  local failed=0 result status bootstrap plugin
  # The Wine scenario runs whatever launcher is there: never one of an earlier run.
  rm -f "$repo/examples/maven-app/target/maven-app.exe"
  if ! command -v mvn >/dev/null; then
    for step in versions bootstrap plugin example; do echo "maven: $step skipped (no Maven client, mvn)"; done
    return 0
  fi
  if check_versions; then echo "maven: versions passed"; else echo "maven: versions failed"; failed=1; fi

  install
  status=$?
  print_test_summaries "$logs/install.log"
  if [ "$status" -eq 77 ]; then
    echo "maven: bootstrap skipped (Maven Central unreachable, see $logs/install.log)"
    echo "maven: plugin skipped (Maven Central unreachable)"
    echo "maven: example skipped (Maven Central unreachable)"
    return "$failed"
  fi
  bootstrap=$(module_result "$logs/install.log" launcher-bootstrap)
  plugin=$(module_result "$logs/install.log" launcher-maven-plugin)
  # A run that failed before any module (a pom error) leaves them unjudged.
  [ "$status" -ne 0 ] && [ "$bootstrap" = skipped ] && bootstrap=failed
  [ "$status" -ne 0 ] && [ "$plugin" = skipped ] && plugin=failed
  echo "maven: bootstrap $bootstrap"
  echo "maven: plugin $plugin"
  [ "$bootstrap" = passed ] && [ "$plugin" = passed ] || failed=1
  if [ "$bootstrap" != passed ] || [ "$plugin" != passed ]; then
    echo "maven: example skipped (the bootstrap or the plugin did not build, see $logs/install.log)"
    return "$failed"
  fi

  example
  status=$?
  print_test_summaries "$logs/example.log"
  case $status in
    0) result=passed ;;
    77) result="skipped (Maven Central unreachable)" ;;
    *) result=failed; failed=1 ;;
  esac
  echo "maven: example $result"
  return "$failed"
}

mkdir -p "$logs" "$repository"
case "${1:-}" in
  test) run_tests ;;
  install) check_versions && { install || { tail -40 "$logs/install.log"; exit 1; }; } ;;
  example) example || { tail -40 "$logs/example.log"; exit 1; } ;;
  repository) echo "$repository" ;;
  *) echo "usage: maven.sh test | install | example | repository" >&2; exit 2 ;;
esac
