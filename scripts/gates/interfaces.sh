#!/bin/sh
# Fails when a number of one of the product's interfaces is written anywhere
# but in its one header, so that a stand-in, a test or a script can't agree
# with itself instead of with the product: the keyboard service's messages
# (service-interface/keyboard_service.h), the resume notifier's messages and
# control codes (driver/rsn.h):
#   scripts/gates/interfaces.sh
set -eu
cd "$(dirname "$0")/../.."
headers='^(service-interface/keyboard_service\.h|driver/rsn\.h)$'
sources=$(git ls-files '*.c' '*.cpp' '*.h' '*.sh' | grep -Ev "$headers")
checked=$(echo "$sources" | wc -l)

# The messages as the headers define them, of both interfaces.
messages=$(scripts/interface-numbers.sh)
if ! echo "$messages" | grep -q '^KBSVC_' || ! echo "$messages" | grep -q '^RSN_MSG_'; then
  echo "  the headers' message numbers could not be read:" $messages
  exit 1
fi
numbers=$(echo "$messages" | awk '{ print $2 }')
literals=$(echo $numbers | tr ' ' '|')
offsets=$(for n in $numbers; do echo $((n - 1024)); done | tr '\n' '|')

# A message number as a literal, or as WM_USER plus one; a control code given
# to RSN_IOControl (or a call through a pointer to it) as a literal number.
found=$(grep -nE "\\b($literals)\\b|WM_USER *\\+ *(${offsets%|})\\b" $sources || true)
found="$found
$(grep -nE 'IOControl\w*\([^,()]*, *[0-9]' $sources || true)"
found=$(echo "$found" | sed '/^$/d')
if [ -n "$found" ]; then
  echo "$found" | sed 's/^/  defined again: /'
  exit 1
fi
echo "interfaces: $checked sources and scripts, the messages ($(echo $numbers)) and control codes only in their headers"
