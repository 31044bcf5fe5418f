#!/bin/sh
# The part of scripts/run-tests.sh that runs on the display: ctest over BUILD,
# the gates' reports shown just before its summary.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

# One Wine server for the whole run, apart from the tests' output.
start_wine_session

# The Wine tests run one at a time (they share the "wine" lock); the gates
# run beside them, but for clang-tidy, which takes the lock too.
status_file=$(mktemp)
{
  ctest --test-dir "$BUILD" --output-on-failure --parallel "$(nproc)" "$@"
  echo $? >"$status_file"
} 2>&1 | awk -v reports="$BUILD/gates" '
  /tests passed, .* tests failed out of/ && !shown {
    shown = 1
    system("for report in \"" reports "\"/*.txt; do [ -f \"$report\" ] || continue; " \
           "echo \"Gate.$(basename \"$report\" .txt):\"; sed \"s/^/  /\" \"$report\"; done")
  }
  { print; fflush() }'
status=$(cat "$status_file")
rm -f "$status_file"

end_wine_session
exit "$status"
