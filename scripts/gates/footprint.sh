#!/bin/sh
# Prints each deliverable's size and fails when one outgrows its budget:
#   scripts/gates/footprint.sh BUDGET_FILE FILE...
# The budget file has a "module KiB" line for each deliverable.
set -eu
budgets=$1
shift
status=0
for file in "$@"; do
  name=$(basename "$file")
  bytes=$(stat -c %s "$file")
  budget=$(grep -v '^#' "$budgets" | awk -v name="$name" '
    { size = $NF; $NF = ""; sub(/ +$/, ""); if ($0 == name) print size }')
  if [ -z "$budget" ]; then
    echo "$name: $bytes bytes, no budget in $(basename "$budgets")"
    status=1
    continue
  fi
  verdict="within"
  if [ "$bytes" -gt $((budget * 1024)) ]; then
    verdict="OVER"
    status=1
  fi
  awk -v n="$name" -v b="$bytes" -v k="$budget" -v v="$verdict" \
    'BEGIN { printf "%s: %d bytes (%.1f KiB), %s its budget of %d KiB\n", n, b, b / 1024, v, k }'
done
exit $status
