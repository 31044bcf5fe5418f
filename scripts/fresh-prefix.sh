#!/bin/sh
# Makes a freshly initialised Wine prefix for the project's programs, whatever
# was there before (for tests that need a prefix no other test has touched):
#   scripts/fresh-prefix.sh DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

prefix=$(mkdir -p "$1" && cd "$1" && pwd)
WINEPREFIX="$prefix" end_wine_session
rm -rf "$prefix" "$prefix.lock"
exec "$here/wine-prefix.sh" "$prefix"
