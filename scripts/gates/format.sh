#!/bin/sh
# Fails when the project's code differs from its .clang-format (`make format`
# applies it):
#   scripts/gates/format.sh
set -eu
cd "$(dirname "$0")/../.."
files=$(git ls-files '*.cpp' '*.h')
count=$(printf '%s\n' "$files" | grep -c .)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! printf '%s\n' "$files" | xargs clang-format --dry-run --Werror 2>"$log"; then
  grep -E '(warning|error):' "$log" | cut -d: -f1 | sort -u | sed 's/^/  not formatted: /'
  echo "clang-format: $count files checked, some are not formatted (make format)"
  exit 1
fi
echo "clang-format: $count files, all formatted"
