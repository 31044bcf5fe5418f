#!/bin/sh
# Runs the settings program for real in a Wine prefix of the demo's own:
#   scripts/demo.sh [BUILD_DIR]
# With a display you use the real window; without one it runs on a 240 x 320
# Xvfb screen (a Pocket PC screen), takes screenshots and closes the program.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-build}" && pwd)
. "$here/wine-env.sh"

WINEPREFIX="$root/build/wine/demo"
export WINEPREFIX
echo "Preparing the Wine prefix $WINEPREFIX"
"$here/wine-prefix.sh" "$WINEPREFIX"
/usr/lib/wine/wineserver -k 2>/dev/null || true

headless=0
[ -n "${DISPLAY:-}" ] || headless=1
export DEMO_HEADLESS=$headless DEMO_BUILD="$build" DEMO_ROOT="$root"
exec "$here/with-display.sh" "$here/demo-steps.sh"
