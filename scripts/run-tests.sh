#!/bin/sh
# Runs every test under Wine in the project's test prefix, on one display
# (a 240 x 320 Xvfb screen when there is none):
#   scripts/run-tests.sh [BUILD_DIR] [CTEST_ARGUMENTS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
[ $# -gt 0 ] && shift
. "$here/wine-env.sh"

WINEPREFIX=$(cd "$here/.." && pwd)/build/wine/test
export WINEPREFIX
"$here/wine-prefix.sh" "$WINEPREFIX"
# A server left from an earlier run may belong to a display that is gone.
/usr/lib/wine/wineserver -k 2>/dev/null || true

export BUILD="$build"
# One persistent Wine server for the whole run (a cold start costs each test
# about two seconds), its system programs and desktop started apart from the
# tests, so that none of them holds on to a test's output.
exec "$here/with-display.sh" sh -c '
  /usr/lib/wine/wineserver -p
  "$WINELOADER" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null
  status=0
  ctest --test-dir "$BUILD" --output-on-failure "$@" || status=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  exit $status' run-tests "$@"
