#!/bin/sh
# Makes the product's installer cabinet with the cabinet maker under Wine,
# from the description that the build puts beside the built files:
#   scripts/make-cab.sh BUILD_DIR [FILES_BUILD_DIR]
# It writes FILES_BUILD_DIR/cab/TavrinFoldKeyboard.cab from the files in
# FILES_BUILD_DIR/bin (the handheld build's, say), BUILD_DIR's by default, with
# BUILD_DIR's maker. It runs in a Wine prefix of its own, build/wine/tools,
# apart from the tests'.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$(cd "$1" && pwd)
files=$(cd "${2:-$1}" && pwd)
mkdir -p "$files/cab"
WINEPREFIX=$(project_prefix tools)
export WINEPREFIX
status=0
output=$("$here/wine-run.sh" "$build/bin/cab-maker.exe" \
  "$(windows_path "$files/bin/TavrinFoldKeyboard.inf")" \
  "$(windows_path "$files/cab/TavrinFoldKeyboard.cab")" 2>&1) || status=$?
printf '%s\n' "$output" | tr -d '\r'
exit "$status"
