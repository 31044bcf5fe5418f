#!/bin/sh
# Runs a command on the current display, or on a 240 x 320 Xvfb screen (a
# Pocket PC screen) when there is none:
#   scripts/with-display.sh COMMAND [ARGUMENTS...]
set -eu
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 240x320x24 -nolisten tcp" "$@"
