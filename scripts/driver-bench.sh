#!/bin/sh
# Measures the resume notifier under the device-manager host, in the test
# prefix: resume-to-message latency over CYCLES power cycles (default 20) and
# the driver thread's CPU time over IDLE_SECONDS without any (default 60):
#   scripts/driver-bench.sh [BUILD_DIR] [CYCLES] [IDLE_SECONDS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$(cd "${1:-build}" && pwd)
cycles=${2:-20}
idle=${3:-60}

# The host takes a Windows path.
"$here/wine-run.sh" "$build/bin/device-manager.exe" "$(windows_path "$build/bin/RSN.dll")" RSN bench "$cycles" "$idle" quit \
  2>/dev/null </dev/null | tr -d '\r'
