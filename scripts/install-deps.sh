#!/bin/sh
# Installs, with apt-get, what building and testing needs on a fresh Debian machine;
# with --windows also the mingw-w64 cross compilers and Wine for the Windows build.
# Does nothing when everything is already there; must run as root otherwise.
set -eu
packages="g++ cmake make googletest libgtest-dev binutils locales faketime libfaketime util-linux procps clang libclang-rt-14-dev"
if [ "${1:-}" = "--windows" ]; then
  packages="$packages g++-mingw-w64-x86-64-posix wine64"
fi
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# The locales the end-to-end tests run under, built into the system's locale archive.
locales="pt_BR en_US de_DE"
missing_locales=""
for l in $locales; do
  locale -a 2>/dev/null | grep -qx "$l.utf8" || missing_locales="$missing_locales $l"
done
[ -z "$missing$missing_locales" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "missing:$missing$missing_locales (run this script as root to install them)" >&2
  exit 1
fi
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
for l in $missing_locales; do
  localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
