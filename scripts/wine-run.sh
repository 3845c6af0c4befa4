#!/bin/sh
# Runs a Windows program under Wine for the tests: a prefix of our own, no debug output, no
# crash dialog, a UTF-8 locale (Wine strips the high bit of arguments under LC_ALL=C).
# The Wine server and its services are started once, in a session of their own with their
# streams on /dev/null: started from a test, they would hold the test's pipes open until the
# server exits, and die with the test's process group.
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build-windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d;winemenubuilder.exe=d"
case "${LC_ALL:-}" in
  ""|C|POSIX) export LC_ALL=C.UTF-8 ;;
esac
mkdir -p "$(dirname "$WINEPREFIX")"
flock -o "$WINEPREFIX.lock" sh -c '
  if setsid -w /usr/lib/wine/wineserver -p; then  # 0: a new server, so no services yet
    setsid -w /usr/lib/wine/wine64 wineboot -i
  fi' >/dev/null 2>&1 </dev/null
exec /usr/lib/wine/wine64 "$@"
