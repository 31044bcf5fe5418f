#!/bin/sh
# Runs a gate and keeps what it printed for the test run's summary:
#   scripts/gates/report.sh REPORT_FILE COMMAND [ARGUMENTS...]
set -eu
report=$1
shift
mkdir -p "$(dirname "$report")"
status=0
"$@" >"$report" 2>&1 || status=$?
cat "$report"
exit $status
