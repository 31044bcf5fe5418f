#!/bin/sh
# Makes a Wine prefix ready for the project's programs, once:
#   scripts/wine-prefix.sh DIR
# Initialises it, then sets what a headless, window-manager-less run needs.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

prefix=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$prefix"

# Tests may start several Wine programs at once; one of them prepares the prefix.
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0

"$WINELOADER" wineboot -i >/dev/null 2>&1

# Wine's own fonts (System, Tahoma, Marlett for the caption buttons): this
# Wine finds only what is in the prefix's Fonts folder or known to fontconfig.
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"

settings="$prefix/drive_c/prefix-settings.reg"
cat >"$settings" <<'REG'
Windows Registry Editor Version 5.00

; No window manager runs on Xvfb: without this every hidden or destroyed
; window waits for one.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

; The handheld's dialog font is narrower than the desktop's at 96 dpi. At
; 90 dpi a sheet of the handheld's dialog sizes fits its 240-pixel screen and
; every label fits its control (86 to 92 dpi do).
[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:0000005a

; A crashing program ends at once, so a test sees the crash.
[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
"$WINELOADER" regedit /S 'C:\prefix-settings.reg' >/dev/null 2>&1
rm -f "$settings"
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
touch "$prefix/.ready"
