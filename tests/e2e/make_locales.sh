#!/bin/sh
# Builds the locales the end-to-end tests run under into a folder of their own (used through
# LOCPATH), so the tests do not depend on which locales the machine has generated.
set -eu
dir=$1
mkdir -p "$dir"
for spec in pt_BR:UTF-8:pt_BR.UTF-8 en_US:UTF-8:en_US.UTF-8 de_DE:UTF-8:de_DE.UTF-8; do
  input=${spec%%:*}; rest=${spec#*:}; charmap=${rest%%:*}; name=${rest#*:}
  [ -f "$dir/$name/LC_TIME" ] || localedef -i "$input" -f "$charmap" "$dir/$name" >/dev/null 2>&1 || {
    # localedef warns (and exits 1) on harmless issues in some definitions; the files count
    [ -f "$dir/$name/LC_TIME" ] || { echo "localedef failed for $name" >&2; exit 1; }
  }
done
