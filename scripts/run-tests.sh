#!/bin/sh
# Runs every test and quality gate: the tests under Wine in the project's test
# prefix, on one display (a 240 x 320 Xvfb screen when there is none):
#   scripts/run-tests.sh [BUILD_DIR] [CTEST_ARGUMENTS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
[ $# -gt 0 ] && shift
. "$here/wine-env.sh"

WINEPREFIX=$(project_prefix test)
export WINEPREFIX
"$here/wine-prefix.sh" "$WINEPREFIX"
# A test ended part-way (a time-out, Ctrl-C) may have left a file read-only
# (under Wine, without its write bits): writable again for this run.
chmod -R u+w "$WINEPREFIX/drive_c"
# A server left from an earlier run may belong to a display that is gone.
end_wine_session

rm -rf "$build/gates"
export BUILD="$build"
exec "$here/with-display.sh" "$here/run-tests-on-display.sh" "$@"
