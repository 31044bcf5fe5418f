#!/bin/sh
# Runs one of the handheld's binary tools (built once by handheld-toolchain.sh):
#   scripts/handheld-tool.sh objdump|nm|... ARGUMENTS...
set -eu
tool=$1
shift
prefix=$("$(dirname "$0")/handheld-toolchain.sh")
exec "$prefix/bin/arm-mingw32ce-$tool" "$@"
