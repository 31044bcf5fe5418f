#!/bin/sh
# Runs cppcheck over the project's own code and fails on any finding:
#   scripts/gates/cppcheck.sh
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
folders="platform service-interface settings setup driver packaging peers tests"
includes=""
for dir in platform service-interface settings setup driver packaging peers/common tests/support; do
  includes="$includes -I $dir"
done
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# shellcheck disable=SC2086
cppcheck --quiet --enable=warning,performance,portability --inline-suppr \
  --library=windows --library=googletest --platform=win64 --std=c++17 --language=c++ \
  -DUNICODE -D_UNICODE -D_WIN64 $includes \
  --template='{file}:{line}: {severity}: {message} [{id}]' $folders 2>"$log"
files=$(git ls-files $folders | grep -cE '\.(cpp|h)$')
findings=$(grep -c . "$log" || true)
if [ "$findings" -gt 0 ]; then
  cat "$log"
  echo "cppcheck: $findings findings in $files files"
  exit 1
fi
echo "cppcheck: $files files, no findings"
