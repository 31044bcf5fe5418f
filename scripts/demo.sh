#!/bin/sh
# The whole product on an emulated handheld, step by step:
#   scripts/demo.sh [BUILD_DIR]
# In a Wine prefix made afresh for it, a handheld with an earlier version
# installed is upgraded from the product's cabinet (build/cab) through the
# cabinet installer, its driver loaded, the settings program used, the
# handheld powered down and up, and the product removed again (scripts/demo-steps.sh). With a display you watch it happen;
# without one it runs on a 240 x 320 Xvfb screen (a Pocket PC screen) and
# saves a screenshot of every step in build/demo/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-build}" && pwd)
. "$here/wine-env.sh"

WINEPREFIX=$(project_prefix demo)
export WINEPREFIX
echo "Making a clean Wine prefix, build/wine/demo (about 10 s)"
"$here/fresh-prefix.sh" "$WINEPREFIX"

headless=0
[ -n "${DISPLAY:-}" ] || headless=1
export DEMO_HEADLESS=$headless DEMO_BUILD="$build" DEMO_ROOT="$root"
exec "$here/with-display.sh" "$here/demo-steps.sh"
