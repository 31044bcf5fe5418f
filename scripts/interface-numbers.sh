#!/bin/sh
# Prints the message numbers of the keyboard service and of the resume
# notifier as their one headers define them, a line each, "NAME NUMBER", so
# that no script writes them again:
#   scripts/interface-numbers.sh
set -eu
cd "$(dirname "$0")/.."
for header in service-interface/keyboard_service.h driver/rsn.h; do
  # Constants and enumerators (NAME = VALUE), and macros (#define NAME VALUE).
  sed -E 's,//.*,,' "$header" | tr ',;{}' '\n\n\n\n' |
    sed -nE 's/^.*\b((KBSVC|RSN)_\w+) *= *([^= ].*)$/\1 \3/p
              s/^ *# *define +((KBSVC|RSN)_\w+) +(.+)$/\1 \3/p'
done | while read -r name value; do
  value=$(echo "$value" | sed -E 's/\bWM_USER\b/0x0400/g; s/\((UINT|DWORD)\)//g; s/([0-9])[uUlL]+\b/\1/g')
  number=$( (eval "echo \$(($value))") 2>/dev/null) || continue
  # Window messages: from WM_USER up to the registered ones.
  if [ "$number" -ge 1024 ] && [ "$number" -lt 49152 ]; then
    echo "$name $number"
  fi
done
