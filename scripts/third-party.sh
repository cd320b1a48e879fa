#!/usr/bin/env bash
# Real third-party applications from Maven Central that scenarios run through
# the launchers, fetched with the ordinary Maven client into a Maven
# repository beside the real runtime's cache (outside the build tree, so
# `rm -rf build` keeps them).
#
#   third-party.sh ensure     fetch what is missing; a fetch that fails is
#                             reported and its scenarios skip (exit 0)
#   third-party.sh jar NAME   print NAME's jar path (whether or not it is there)
#
# NAME: h2, a database server (com.h2database:h2) that knows nothing of the
# launcher's bootstrap library.
set -euo pipefail

cache=${LAUNCHER_RUNTIME_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/launcher-test-runtimes}
repository=$cache/maven-repository

# name group artifact version
applications=(
  "h2 com.h2database h2 2.3.232"
)

jar_of() {
  local name group artifact version
  for entry in "${applications[@]}"; do
    read -r name group artifact version <<<"$entry"
    if [ "$name" = "$1" ]; then
      echo "$repository/${group//.//}/$artifact/$version/$artifact-$version.jar"
      return 0
    fi
  done
  echo "third-party: no application named $1" >&2
  return 1
}

ensure() {
  local name group artifact version
  for entry in "${applications[@]}"; do
    read -r name group artifact version <<<"$entry"
    [ -f "$(jar_of "$name")" ] && continue
    if ! command -v mvn >/dev/null; then
      echo "setup: no Maven client (mvn): the $name scenarios will be skipped" >&2
      continue
    fi
    echo "setup: fetching $group:$artifact:$version from Maven Central"
    if ! mvn -q -B dependency:get -Dartifact="$group:$artifact:$version" -Dtransitive=false \
        -Dmaven.repo.local="$repository" >"$cache/maven-$name.log" 2>&1; then
      echo "setup: could not fetch $group:$artifact:$version (see $cache/maven-$name.log):" \
        "the $name scenarios will be skipped" >&2
    fi
  done
}

mkdir -p "$cache"
case "${1:-}" in
  ensure) ensure ;;
  jar) jar_of "${2:?third-party.sh jar NAME}" ;;
  *) echo "usage: third-party.sh ensure | jar NAME" >&2; exit 2 ;;
esac
