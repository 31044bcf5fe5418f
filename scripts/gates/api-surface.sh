#!/bin/sh
# Fails when a deliverable imports a function that the allow-list lacks:
#   scripts/gates/api-surface.sh ALLOW_LIST FILE...
set -eu
here=$(cd "$(dirname "$0")" && pwd)
allowed=$(mktemp)
trap 'rm -f "$allowed"' EXIT
# DLL names are matched whatever their case, function names exactly.
normalise() { awk '{ print toupper($1), $2 }'; }
grep -v '^#' "$1" | grep . | normalise | sort -u >"$allowed"
shift

status=0
for file in "$@"; do
  format=$(${OBJDUMP:-x86_64-w64-mingw32-objdump} -f "$file" | sed -n 's/.*file format //p')
  imports=$("$here/imports.sh" "$file")
  count=$(printf '%s\n' "$imports" | grep -c . || true)
  unlisted=$(printf '%s\n' "$imports" | normalise | sort -u | comm -23 - "$allowed")
  if [ -n "$unlisted" ]; then
    echo "$(basename "$file") ($format): $count imports, NOT in the allow-list:"
    printf '%s\n' "$unlisted" | sed 's/^/  /'
    status=1
  else
    echo "$(basename "$file") ($format): $count imports, all in the allow-list"
  fi
done
exit $status
