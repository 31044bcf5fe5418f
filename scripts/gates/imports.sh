#!/bin/sh
# Prints what a Windows program or library imports, one "DLL function" a line:
#   scripts/gates/imports.sh FILE
# OBJDUMP, when set, is the objdump to read it with (the handheld's for ARM).
set -eu
${OBJDUMP:-x86_64-w64-mingw32-objdump} -p "$1" | awk '
  /DLL Name:/ { dll = $3; next }
  /^$/ { if (seen) dll = ""; next }
  dll && /^\t[0-9a-f]+\t/ { print dll, $NF; seen = 1 }'
