#!/bin/sh
# Fails when a deliverable needs a DLL that a clean Windows system lacks (a
# compiler runtime, say):
#   scripts/gates/system-dlls.sh FILE...
# The system is the test prefix's (WINEPREFIX, or build/wine/test).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=${WINEPREFIX:-$(cd "$here/../.." && pwd)/build/wine/test}
"$here/../wine-prefix.sh" "$prefix"
system="$prefix/drive_c/windows/system32"
status=0
for file in "$@"; do
  dlls=$("$here/imports.sh" "$file" | awk '{ print $1 }' | sort -u)
  missing=""
  for dll in $dlls; do
    find "$system" -maxdepth 1 -iname "$dll" | grep -q . || missing="$missing $dll"
  done
  if [ -n "$missing" ]; then
    echo "$(basename "$file") needs DLLs that are not system DLLs:$missing"
    status=1
  else
    echo "$(basename "$file") needs system DLLs only:" $dlls
  fi
done
exit $status
