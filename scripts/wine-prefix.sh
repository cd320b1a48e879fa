#!/usr/bin/env bash
# Manages the private Wine prefix of a build tree.
#   wine-prefix.sh ensure [NAME=VALUE]...
#                           create the prefix once (about 15 s) unless it exists,
#                           and start its session (a persistent wineserver) unless
#                           it runs, its programs with these variables set
#   wine-prefix.sh stop     end the wineserver of this prefix only, and wait for it
#   wine-prefix.sh path     print the prefix path
# The prefix lives in build/wineprefix unless WINEPREFIX names another one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

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
    # One session until "stop": a server started by a program ends 3 s after
    # its last client, and a program that connects just as it ends can fail with
    # exit code 1 before it runs. A persistent server has no such moment
    # ("wineserver -p" answers 2 when the session is already there). The
    # session's own programs (services.exe and what it starts) live as long as
    # the session, so they are started here, still under the lock, by a
    # program whose output is nobody's: started by a test, they would hold its
    # output open and its runner would wait for them. Neither inherits the lock.
    # They get the NAME=VALUE words after "ensure": the environment of the
    # program that the session is started for (a display, for one), but never
    # another prefix.
    variables=()
    for word in "${@:2}"; do [[ "$word" == WINEPREFIX=* ]] || variables+=("$word"); done
    if wineserver -p 9>&- </dev/null >/dev/null 2>&1; then
      env "${variables[@]}" "$WINELOADER" cmd /c exit 9>&- </dev/null >/dev/null 2>&1 || true
    fi
    ;;
  stop)
    # Waits until the server is gone, so the next program starts a new session.
    if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; fi
    ;;
  path)
    echo "$WINEPREFIX"
    ;;
  *)
    echo "usage: $0 ensure|stop|path" >&2
    exit 2
    ;;
esac
