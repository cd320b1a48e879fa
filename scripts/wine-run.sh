#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private prefix (the CMake
# cross-compiling emulator: every Windows test executable starts through here).
#
#   wine-run.sh [NAME=VALUE]... PROGRAM [ARGUMENT]...
#
# Leading NAME=VALUE words are set for the program only (the shell running
# this script never sees them: a locale such as LC_ALL=de_AT.UTF-8 need not
# exist on the host for Wine to take its language from it).
# Exits with 77 (a skipped test) when the program is 32-bit and this machine
# cannot run 32-bit Wine: the 32-bit loader is a 32-bit Linux program, and some
# kernels have 32-bit emulation switched off.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

assignments=()
while [ $# -gt 0 ] && [[ "$1" =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; do
  assignments+=("$1")
  shift
done

if [ "${1:-}" != "" ] && [ -f "$1" ] && [ "$("$here/pe-machine.sh" "$1")" = i386 ]; then
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "SKIP: $1 is a 32-bit program and this machine cannot start 32-bit Wine (no 32-bit emulation)" >&2
    exit 77
  fi
fi

"$here/wine-prefix.sh" ensure "${assignments[@]}"
source "$here/wine-env.sh"
exec env "${assignments[@]}" "$WINELOADER" "$@"
