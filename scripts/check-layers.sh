#!/usr/bin/env bash
# Checks that the launcher's modules depend on each other without a cycle:
# every object file of the product libraries is a node, and an edge leads from
# the object that uses a symbol to the one object that defines it. A cycle
# (say, error reporting calling into the temporary directory, which reports
# its errors) would make the two modules one in all but name.
#
#   check-layers.sh NM ARCHIVE...
#
# Reads the objects of the product's libraries (the archives as built, so no
# stale object of an earlier build counts). Prints the cycle on failure; exits
# 1 when there is one, 0 otherwise.
set -euo pipefail
nm=$1
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
