#!/bin/sh
# Fails when a number of one of the product's interfaces is written anywhere
# but in its one header, so that a stand-in or a test can't agree with itself
# instead of with the product: the keyboard service's messages
# (service-interface/keyboard_service.h), the resume notifier's messages and
# control codes (driver/rsn.h):
#   scripts/gates/interfaces.sh
set -eu
cd "$(dirname "$0")/../.."
headers='^(service-interface/keyboard_service\.h|driver/rsn\.h)$'
sources=$(git ls-files '*.c' '*.cpp' '*.h' | grep -Ev "$headers")
checked=$(echo "$sources" | wc -l)

# A message number as a literal, or as WM_USER plus one; a control code given
# to RSN_IOControl (or a call through a pointer to it) as a literal number.
found=$(grep -nE '\b(123[7-9]|124[0-2]|112[56])\b|WM_USER *\+ *10[12]\b' $sources || true)
found="$found
$(grep -nE 'IOControl\w*\([^,()]*, *[0-9]' $sources || true)"
found=$(echo "$found" | sed '/^$/d')
if [ -n "$found" ]; then
  echo "$found" | sed 's/^/  defined again: /'
  exit 1
fi
echo "  $checked sources: the messages and control codes only in their headers"
