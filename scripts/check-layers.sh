#!/usr/bin/env bash
# Checks that the launcher's modules depend on each other in layers.
#
#   check-layers.sh --includes SRC_DIR
#   check-layers.sh NM ARCHIVE...
#
# --includes reads the #include "..." lines of SRC_DIR's .h and .cpp files
# (nothing needs to be built) and checks two things:
#
#  - The folders form layers, lowest first:
#        log < core < diag < files < text < jvm < launch < {gui, service} < programs
#    (a folder's win/ sub-folder belongs to it). A file may include its own
#    folder and the folders below it; an include of a higher folder, or
#    between the siblings gui and service, fails with file:line and the two
#    folders. A folder that is not in the order fails too, so a new folder
#    gets its place here before it gets code.
#  - No two modules include each other. A module is a stem in one folder:
#    jvm/RegistrySources.h and jvm/win/RegistrySources.cpp are the module
#    jvm/RegistrySources. A module includes another when any of its files
#    includes one of the other's headers, so A.h including B.h while B.cpp
#    includes A.h is a cycle as much as two headers including each other.
#    Longer cycles fail as well.
#
# With NM and the product's archives (the archives as built, so no stale
# object of an earlier build counts), it checks the object files instead:
# every object is a node, and an edge leads from the object that uses a symbol
# to the one object that defines it. A cycle (say, error reporting calling
# into the temporary directory, which reports its errors) would make the two
# modules one in all but name. This needs the Windows build; the include check
# does not.
#
# Prints what is wrong on standard error; exits 1 when anything is, 0 when
# nothing is, 2 on wrong use.
set -euo pipefail

# The layer order; gui and service share a rank and must not include each other.
layer_ranks='log=0 core=1 diag=2 files=3 text=4 jvm=5 launch=6 gui=7 service=7 programs=8'

check_includes() {
  local src=${1%/}
  [ -d "$src" ] || { echo "check-layers: no directory $src" >&2; exit 2; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT

  (cd "$src" && find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's#^\./##' | sort) >"$work/files"
  [ -s "$work/files" ] || { echo "check-layers: no .h or .cpp files in $src" >&2; exit 2; }
  # file:line:text of every quoted include; -H even for a single file.
  (cd "$src" && xargs -d '\n' grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' <"$work/files" || true) \
    >"$work/includes"

  # Folder violations go to standard error at once; module edges ("from to
  # file:line") go to the edges file for the cycle checks below.
  local status=0 tab=$'\t'
  awk -v ranks="$layer_ranks" -v edges="$work/edges" -v src="$src" '
    BEGIN {
      n = split(ranks, pairs, " ")
      for (i = 1; i <= n; i++) { split(pairs[i], kv, "="); rank[kv[1]] = kv[2] }
      bad = 0
    }
    # "core/win/Foo.cpp" -> "core/Foo": the folder and the stem.
    function module(path,   parts, k, stem) {
      k = split(path, parts, "/")
      stem = parts[k]; sub(/\.[^.]*$/, "", stem)
      return parts[1] "/" stem
    }
    function folder(path,   parts) { split(path, parts, "/"); return parts[1] }
    {
      file = $0; sub(/:.*/, "", file)
      rest = substr($0, length(file) + 2)
      line = rest; sub(/:.*/, "", line)
      target = rest; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
      where = src "/" file ":" line
      from = folder(file)
      if (!(from in rank)) {
        if (!(from in unplaced)) {
          print where ": folder " from " has no place in the layer order" > "/dev/stderr"
          unplaced[from] = 1; bad = 1
        }
        next
      }
      # A bare name ("resource_ids.h") is a file of the same folder or of the build.
      if (index(target, "/") == 0) next
      to = folder(target)
      if (!(to in rank)) {
        print where ": " from " includes " target ", which is in no folder of the layer order" > "/dev/stderr"
        bad = 1
        next
      }
      if (from != to && rank[to] > rank[from]) {
        print where ": " from " includes " to " (" target "): " from " lies below " to > "/dev/stderr"
        bad = 1
      } else if (from != to && rank[to] == rank[from]) {
        print where ": " from " includes " to " (" target "): " from " and " to " must not include each other" > "/dev/stderr"
        bad = 1
      }
      a = module(file); b = module(target)
      if (a != b) print a "\t" b "\t" where > edges
    }
    END { close(edges); exit bad }
  ' "$work/includes" || status=1
  touch "$work/edges"

  # The first include that makes each module edge, as evidence.
  sort -t "$tab" -k1,1 -k2,2 -s "$work/edges" | awk -F '\t' '!seen[$1 " " $2]++' >"$work/edge-evidence"

  # Modules that include each other directly.
  awk -F '\t' '
    { key = $1 " " $2; where[key] = $3; from[NR] = $1; to[NR] = $2 }
    END {
      for (i = 1; i <= NR; i++) {
        back = to[i] " " from[i]
        if (from[i] < to[i] && (back in where)) {
          print "modules " from[i] " and " to[i] " include each other: " \
                where[from[i] " " to[i]] " and " where[back] > "/dev/stderr"
          print from[i] "\t" to[i]
          print to[i] "\t" from[i]
        }
      }
    }
  ' "$work/edge-evidence" >"$work/mutual" || true
  [ -s "$work/mutual" ] && status=1

  # Longer cycles, among the edges that are not already reported as a pair.
  awk -F '\t' -v pairs="$work/mutual" 'FILENAME == pairs { pair[$1 " " $2] = 1; next } !(($1 " " $2) in pair) { print $1, $2 }' \
    "$work/mutual" "$work/edge-evidence" >"$work/graph"
  if ! tsort "$work/graph" >/dev/null 2>"$work/loops"; then
    echo "check-layers: modules include each other in a cycle:" >&2
    sed -n 's/^tsort: //p' "$work/loops" | grep -v 'input contains a loop' | sort -u >"$work/members"
    awk -F '\t' -v members="$work/members" 'FILENAME == members { member[$1] = 1; next } ($1 in member) && ($2 in member) { print "  " $3 ": " $1 " includes " $2 }' \
      "$work/members" "$work/edge-evidence" >&2
    status=1
  fi

  if [ "$status" -eq 0 ]; then
    echo "check-layers: $(wc -l <"$work/includes") includes in $(wc -l <"$work/files") files follow the layers, no module cycle"
  fi
  return "$status"
}

check_objects() {
  local nm=$1
  shift
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  for archive in "$@"; do
    archive=$(realpath "$archive")
    library=$(basename "$archive" .a)
    mkdir -p "$work/$library"
    (cd "$work/$library" && ar x "$archive")
  done
  objects=$(find "$work" -name '*.obj' -o -name '*.o' | sort)
  [ -n "$objects" ] || { echo "check-layers: no object files in $*" >&2; exit 2; }

  module() { local path=${1#"$work"/}; echo "${path%.*}"; }

  declare -A definer
  for object in $objects; do
    # Global code and data only; a symbol that several objects define (inline
    # functions, template instances) belongs to no module in particular.
    while read -r symbol; do
      if [ -n "${definer[$symbol]+set}" ]; then definer[$symbol]=shared; else definer[$symbol]=$(module "$object"); fi
    done < <("$nm" --defined-only "$object" | awk '$2 ~ /^[TDBR]$/ { print $3 }' | sort -u)
  done

  edges=$work/edges
  for object in $objects; do
    from=$(module "$object")
    echo "$from $from" >>"$edges"
    while read -r symbol; do
      to=${definer[$symbol]:-}
      [ -n "$to" ] && [ "$to" != shared ] && [ "$to" != "$from" ] && echo "$from $to" >>"$edges"
    done < <("$nm" --undefined-only "$object" | awk '{ print $NF }' | sort -u)
  done
  sort -u -o "$edges" "$edges"

  if ! tsort "$edges" >/dev/null 2>"$edges.loop"; then
    echo "check-layers: the modules depend on each other in a cycle:" >&2
    cat "$edges.loop" >&2
    exit 1
  fi
  echo "check-layers: $(wc -l <"$edges") dependencies among $(echo "$objects" | wc -l) objects, no cycle"
}

case ${1:-} in
  --includes)
    [ $# -eq 2 ] || { echo "usage: check-layers.sh --includes SRC_DIR" >&2; exit 2; }
    check_includes "$2" ;;
  '' | -*)
    echo "usage: check-layers.sh --includes SRC_DIR | check-layers.sh NM ARCHIVE..." >&2; exit 2 ;;
  *)
    [ $# -ge 2 ] || { echo "usage: check-layers.sh NM ARCHIVE..." >&2; exit 2; }
    check_objects "$@" ;;
esac
