#!/bin/sh
# The demo's steps, run on its display by scripts/demo.sh.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
bin="$DEMO_BUILD/bin"
out="$DEMO_ROOT/build/demo"
windows="$WINEPREFIX/drive_c/windows"
mkdir -p "$out"

probe() { "$WINELOADER" "$bin/ui-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
screenshot() { import -window root "$out/$1"; echo "  screenshot: build/demo/$1"; }
click() { # the centre of a control, as a person would
  set -- $(probe center "$@")
  xdotool mousemove "$1" "$2" click 1
}
finish() { /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap finish EXIT

# The Wine server and its desktop stay up for the whole demo, apart from our output.
/usr/lib/wine/wineserver -p
"$WINELOADER" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null

echo "Installing Tavrin Fold Keyboard with the cabinet installer, from build/bin"
rm -f "$windows/KeybdR410.log"
"$WINELOADER" "$bin/cab-installer.exe" install "Z:$(echo "$bin" | tr / '\\')" \
  >"$out/install.log" 2>&1 </dev/null &
installer=$!
if ! probe wait " " 20000 >/dev/null; then
  echo "The installer's message did not appear" >&2
  exit 1
fi
if [ "$DEMO_HEADLESS" = 0 ]; then
  echo "The installer's message is showing: press OK."
else
  sleep 1
  screenshot installed.png
  echo "Pressing OK"
  click " " 1
fi
status=0
wait "$installer" || status=$?
tr -d '\r' <"$out/install.log" | sed 's/^/  /'
echo "The installer ended with exit code $status"

echo "Starting the keyboard service"
"$WINELOADER" 'C:\Windows\KeybdR410.exe' >"$out/service.log" 2>&1 </dev/null &
probe wait KeybdR410 10000 >/dev/null
echo "Starting Tavrin Fold Keyboard"
"$WINELOADER" 'C:\Windows\Tavrin Fold Keyboard.exe' >"$out/settings.log" 2>&1 </dev/null &
settings=$!

sheet="Tavrin R412 Keyboard"
if ! probe wait "$sheet" 20000 >/dev/null; then
  echo "The settings sheet did not appear" >&2
  exit 1
fi

if [ "$DEMO_HEADLESS" = 0 ]; then
  echo "The settings sheet is open: close it with OK when you are done."
  wait "$settings" || true
else
  sleep 1
  screenshot settings.png
  probe page "$sheet" 1 >/dev/null
  sleep 1
  screenshot info.png
  probe page "$sheet" 0 >/dev/null
  echo "Pressing OK"
  click "$sheet" 1
  status=0
  wait "$settings" || status=$?
  echo "Tavrin Fold Keyboard ended with exit code $status"
fi

probe close KeybdR410 >/dev/null || true
echo "The keyboard service's record (C:\\Windows\\KeybdR410.log):"
sed 's/^/  /' "$windows/KeybdR410.log" | tr -d '\r'

# --- The resume notifier: one power cycle under a device-manager host -------
echo
echo "Installing the resume notifier into C:\\Windows; a device-manager host loads it,"
echo "registers its window, powers down and resumes once (the host's transcript):"
cp "$bin/RSN.dll" "$windows/"
"$WINELOADER" "$bin/device-manager.exe" 'C:\Windows\RSN.dll' RSN get cycle "wait 2000" get quit \
  2>/dev/null </dev/null | tr -d '\r' | sed 's/^/  /'
echo

if [ "$DEMO_HEADLESS" = 1 ]; then
  echo "The settings sheet as on a 240 x 320 handheld screen: $out/settings.png"
fi
