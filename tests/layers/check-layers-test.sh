#!/usr/bin/env bash
# The include check of check-layers.sh on tiny source trees: it passes a tree
# that keeps the layers and fails, naming the place, each way of breaking them.
#
#   check-layers-test.sh CHECK_LAYERS_SCRIPT
set -uo pipefail
checker=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A tree with one file per "path:include..." argument.
make_tree() {
  local tree=$work/$1
  shift
  rm -rf "$tree"
  for spec in "$@"; do
    local file=${spec%%:*} includes=${spec#*:}
    mkdir -p "$tree/$(dirname "$file")"
    : >"$tree/$file"
    for include in ${includes//,/ }; do echo "#include \"$include\"" >>"$tree/$file"; done
    echo "#include <string>" >>"$tree/$file"
  done
}

# expect NAME EXIT_CODE PATTERN: the checker's exit code and a line of its output.
expect() {
  local name=$1 code=$2 pattern=$3 output actual
  output=$(bash "$checker" --includes "$work/$name" 2>&1)
  actual=$?
  if [ "$actual" -ne "$code" ] || ! grep -qE -- "$pattern" <<<"$output"; then
    echo "FAIL $name: exit $actual (want $code), output:"
    sed 's/^/    /' <<<"$output"
    echo "    wanted a line matching: $pattern"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

# Downward includes, a win/ file, siblings apart and a bare name: all allowed.
make_tree clean \
  log/Log.h: core/Store.h:log/Log.h core/win/Store.cpp:core/Store.h,log/Log.h \
  gui/Console.h:launch/Start.h launch/Start.h:jvm/Search.h,core/Store.h jvm/Search.h:text/Words.h \
  service/Commands.h:launch/Start.h programs/Main.cpp:gui/Console.h,service/Commands.h,resource_ids.h
expect clean 0 'follow the layers, no module cycle'

# The second line of core/win/Store.cpp reaches up into diag.
make_tree upward log/Log.h: diag/Report.h:log/Log.h core/Store.h: core/win/Store.cpp:core/Store.h,diag/Report.h
expect upward 1 'core/win/Store\.cpp:2: core includes diag \(diag/Report\.h\): core lies below diag'

make_tree siblings gui/Console.h: service/Commands.h:gui/Console.h
expect siblings 1 'service/Commands\.h:1: service includes gui .*must not include each other'

# A.h includes B.h while B's implementation in win/ includes A.h.
make_tree pair jvm/A.h:jvm/B.h jvm/B.h: jvm/win/B.cpp:jvm/B.h,jvm/A.h
expect pair 1 'modules jvm/A and jvm/B include each other: .*jvm/A\.h:1 and .*jvm/win/B\.cpp:2'

make_tree ring jvm/A.h:jvm/B.h jvm/B.h:jvm/C.h jvm/C.cpp:jvm/A.h
expect ring 1 'jvm/C\.cpp:1: jvm/C includes jvm/A'

make_tree unplaced core/Store.h: extras/Thing.h:core/Store.h
expect unplaced 1 'folder extras has no place in the layer order'

make_tree unknown_target core/Store.cpp:extras/Thing.h
expect unknown_target 1 'core includes extras/Thing\.h, which is in no folder'

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
