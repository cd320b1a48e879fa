#!/usr/bin/env bash
# Manages the private Wine prefix of a build tree.
#   wine-prefix.sh ensure   create the prefix once (about 15 s) unless it exists
#   wine-prefix.sh stop     end the wineserver of this prefix only
#   wine-prefix.sh path     print the prefix path
# The prefix lives in build/wineprefix unless WINEPREFIX names another one.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installers: the machine has no route to them and tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The 64-bit loader, called directly: Debian's "wine" wrapper prefers the 32-bit
# loader, which cannot start on a kernel without 32-bit emulation. The 64-bit
# loader still hands 32-bit programs to the 32-bit one where that can run.
export WINELOADER=/usr/lib/wine/wine64

case "${1:-}" in
  ensure)
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
      rm -rf "$WINEPREFIX"
      "$WINELOADER" wineboot -i >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.ready"
    fi
    ;;
  stop)
    if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
    ;;
  path)
    echo "$WINEPREFIX"
    ;;
  *)
    echo "usage: $0 ensure|stop|path" >&2
    exit 2
    ;;
esac
