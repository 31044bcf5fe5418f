#!/bin/sh
# Runs clang-tidy with the project's .clang-tidy over the project's own
# sources as the build compiles them, and fails on any finding:
#   scripts/gates/clang-tidy.sh BUILD_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
compiler=x86_64-w64-mingw32-g++-posix

# clang finds the mingw-w64 C headers by itself, the C++ ones only when told.
extra=""
for dir in $("$compiler" -E -x c++ -v /dev/null 2>&1 |
  sed -n '/#include <...> search starts here:/,/End of search list./ s/^ //p' | grep 'c++'); do
  extra="$extra --extra-arg=-isystem$dir"
done

sources=$(cd "$root" && git ls-files '*.cpp' | sed "s|^|$root/|")
count=$(printf '%s\n' "$sources" | grep -c .)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# shellcheck disable=SC2086
printf '%s\n' "$sources" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet \
  --extra-arg=--target=x86_64-w64-mingw32 $extra >"$log" 2>&1 || true
findings=$(grep -cE '(warning|error): ' "$log" || true)
if [ "$findings" -gt 0 ]; then
  grep -E -A3 '(warning|error): ' "$log"
  echo "clang-tidy: $findings findings in $count files"
  exit 1
fi
echo "clang-tidy: $count files, no findings"
