# The environment of every Wine call in this build tree; sourced by
# wine-prefix.sh, wine-run.sh and the start-up benchmark, which times the Wine
# loader without the runner's own checks around it.
# The prefix lives in build/wineprefix unless WINEPREFIX names another one.
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installers: the machine has no route to them and tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The 64-bit loader, called directly: Debian's "wine" wrapper prefers the 32-bit
# loader, which cannot start on a kernel without 32-bit emulation. The 64-bit
# loader still hands 32-bit programs to the 32-bit one where that can run.
export WINELOADER=/usr/lib/wine/wine64
