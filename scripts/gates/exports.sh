#!/bin/sh
# Fails unless each library exports exactly the names its .def file lists,
# undecorated, and is built for the expected machine:
#   scripts/gates/exports.sh FORMAT LIBRARY DEF_FILE [LIBRARY DEF_FILE...]
# FORMAT is objdump's name for it: pei-x86-64, pei-i386 or pei-arm-wince-little
# (with OBJDUMP naming the handheld's objdump).
set -eu
format=$1
shift
status=0
while [ $# -ge 2 ]; do
  library=$1 def=$2
  shift 2
  name=$(basename "$library")
  actual=$(${OBJDUMP:-x86_64-w64-mingw32-objdump} -f "$library" | sed -n 's/.*file format //p')
  exported=$(${OBJDUMP:-x86_64-w64-mingw32-objdump} -p "$library" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/ s/^\t\[ *[0-9]*\] //p' | sort)
  listed=$(sed -n '/^EXPORTS/,$ { /^EXPORTS/d; s/;.*//; s/^[ \t]*//; s/[ \t].*//; /./p }' "$def" | sort)
  if [ "$actual" != "$format" ]; then
    echo "$name: built as $actual, not $format"
    status=1
  elif [ "$exported" != "$listed" ]; then
    echo "$name ($format) exports:" $exported
    echo "  but $(basename "$def") lists:" $listed
    status=1
  else
    echo "$name ($format): exports exactly" $exported
  fi
done
exit $status
