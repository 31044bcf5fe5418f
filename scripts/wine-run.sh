#!/bin/sh
# Runs a Windows program under Wine, as ctest does for every test:
#   scripts/wine-run.sh PROGRAM [ARGUMENTS...]
# The program runs in the project's test prefix (WINEPREFIX overrides it), from
# a folder on C:, on the current display or on a 240 x 320 Xvfb screen.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

WINEPREFIX=${WINEPREFIX:-$(project_prefix test)}
export WINEPREFIX
"$here/wine-prefix.sh" "$WINEPREFIX"

program=$(realpath "$1")
shift
mkdir -p "$WINEPREFIX/drive_c/work"
cd "$WINEPREFIX/drive_c/work"

if [ -n "${DISPLAY:-}" ]; then
  exec "$WINELOADER" "$program" "$@"
fi
# A display of its own ends with the program, and so must the prefix's Wine
# server, whose desktop belongs to that display.
status=0
"$here/with-display.sh" "$WINELOADER" "$program" "$@" || status=$?
end_wine_session
exit "$status"
