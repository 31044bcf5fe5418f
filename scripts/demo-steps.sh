#!/bin/sh
# The demo's steps, run on its display by scripts/demo.sh. Every step waits
# for what it expects to see, by polling windows, files, the registry and the
# programs' records, and stops the demo with a message when it doesn't come.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
bin="$DEMO_BUILD/bin"
out="$DEMO_ROOT/build/demo"
windows="$WINEPREFIX/drive_c/windows"
description=$(windows_path "$bin/TavrinFoldKeyboard.inf")
cabinet=$(windows_path "$DEMO_BUILD/cab/TavrinFoldKeyboard.cab")
sheet="Tavrin R412 Keyboard"
began=$(date +%s)
rm -rf "$out"
mkdir -p "$out"

# --- Helpers ------------------------------------------------------------------
step=0
shots=0
step() { step=$((step + 1)); echo; echo "[$step] $*"; }
say() { echo "    $*"; }
fail() { echo "demo: $*" >&2; exit 1; }
probe() { "$WINELOADER" "$bin/ui-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# Waits up to SECONDS until the command succeeds, or stops the demo.
poll() {
  seconds=$1 what=$2
  shift 2
  deadline=$(($(date +%s) + seconds))
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "$what"
    sleep 0.2
  done
}
# A message's number, as its interface's header defines it.
message() {
  "$here/interface-numbers.sh" | awk -v name="$1" '$1 == name { print $2; found = 1 } END { exit !found }'
}
has() { [ -f "$1" ] && tr -d '\r' <"$1" | grep -q -- "$2"; }
count() { tr -d '\r' <"$1" 2>/dev/null | grep -c -- "$2" || true; }
key_exists() { "$WINELOADER" reg query "$1" >/dev/null 2>&1; }
no_key() { ! key_exists "$1"; }
# Headless: a numbered screenshot. With a display: time to look.
shot() {
  if [ "$DEMO_HEADLESS" = 1 ]; then
    shots=$((shots + 1))
    name=$(printf '%02d-%s.png' "$shots" "$1")
    import -window root "$out/$name"
    say "screenshot: build/demo/$name"
  else
    sleep 3
  fi
}
pause() { [ "$DEMO_HEADLESS" = 1 ] || sleep 2; }
# The screen position of a control ("x y"), as a person sees it.
where() { probe "$@" || fail "no control $* on the screen"; }
click() {
  set -- $(where center "$@")
  xdotool mousemove "$1" "$2" click 1
}
run() { "$WINELOADER" "$@" </dev/null >/dev/null 2>&1 & }

finish() { end_wine_session; }
trap finish EXIT

# The Wine server and its desktop stay up for the whole demo, apart from our output.
start_wine_session
rm -f "$bin/handheld-view.log"

# --- 1. The handheld of a user who upgrades ----------------------------------
step "A handheld with Tavrin Fold Keyboard V1.00, the other model's keyboard service and the state window"
for name in "Tavrin Fold Keyboard.exe" SetupR410.dll RSNR410.dll KeyTap.wav R410.inf; do
  echo "V1.00" >"$windows/$name"
done
cp "$bin/KeybdR410.exe" "$bin/KeybdR810.exe" "$bin/StateWindow.exe" "$windows/"
mkdir -p "$windows/Start Menu/Programs"
for shortcut in "Start Menu" "Start Menu/Programs"; do
  printf '35#"\\Windows\\Tavrin Fold Keyboard.exe"' >"$windows/$shortcut/Tavrin Fold Keyboard.lnk"
done
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Apps\\Tavrin Fold Keyboard V1.00]\r\n"Instl"=dword:00000001\r\n"InstlDir"="\\\\Windows"\r\n' \
  >"$WINEPREFIX/drive_c/earlier.reg"
"$WINELOADER" regedit /S 'C:\earlier.reg' >/dev/null 2>&1
rm "$WINEPREFIX/drive_c/earlier.reg"
for program in KeybdR410 KeybdR810 StateWindow; do
  run "C:\\Windows\\$program.exe"
done
run "$bin/handheld-view.exe" "$description"
for window in KeybdR410 KeybdR810 STATEWINDOW Handheld; do
  probe wait "$window" 15000 || fail "the window $window did not appear"
done
key_exists 'HKLM\Software\Apps\Tavrin Fold Keyboard V1.00' || fail "no V1.00 record"
say "V1.00's files, two Start-menu shortcuts and its record HKLM\\Software\\Apps\\Tavrin Fold Keyboard V1.00"
say "running: KeybdR410 (V1.00), KeybdR810 and the state window"
sleep 0.5
shot upgrade-start

# --- 2. The installation -------------------------------------------------------
step "Installing V1.03 from build/cab/TavrinFoldKeyboard.cab with the cabinet installer"
say "the cabinet that the cabinet maker made from setup/TavrinFoldKeyboard.inf and the built files:"
cabextract -l "$DEMO_BUILD/cab/TavrinFoldKeyboard.cab" | sed -n 's/^ *[0-9]* | [0-9.]* [0-9:]* | /      /p'
"$WINELOADER" "$bin/cab-installer.exe" install "$cabinet" >"$out/install.txt" 2>&1 </dev/null &
installer=$!
probe wait " " 20000 || fail "the installer's message did not appear"
say "the message: $(probe value " " 65535)"
probe gone KeybdR410 1 || fail "Install_Init left the keyboard service running"
probe gone STATEWINDOW 1 || fail "Install_Init left the state window open"
probe wait KeybdR810 1 || fail "the other model's service is gone"
say "Install_Init closed KeybdR410 and the state window; KeybdR810 runs on"
sleep 0.5
shot installed
pause
say "pressing OK"
click " " 1
status=0
wait "$installer" || status=$?
tr -d '\r' <"$out/install.txt" | sed 's/^/      /'
[ "$status" = 0 ] || fail "the installer ended with exit code $status"
no_key 'HKLM\Software\Apps\Tavrin Fold Keyboard V1.00' || fail "V1.00's record is still there"
key_exists 'HKLM\Software\Apps\Tavrin Fold Keyboard V1.03' || fail "no V1.03 record"
[ ! -e "$windows/R410.inf" ] || fail "V1.00's settings file is still there"
cmp -s "$bin/SETUP.DLL" "$windows/SetupR410.dll" || fail "SetupR410.dll is not the new hook library"
say "V1.00's record and settings file are gone, its files and shortcuts replaced"
sleep 0.5
shot after-install

# --- 3. The driver -------------------------------------------------------------
step "The device manager loads the driver registered under HKLM\\Drivers\\BuiltIn\\RSN"
say "as at the soft reset that the installer's message asks for"
rm -f "$out/device-manager.in"
mkfifo "$out/device-manager.in"
"$WINELOADER" "$bin/device-manager.exe" --builtin RSN \
  <"$out/device-manager.in" >"$out/device-manager.txt" 2>&1 &
host=$!
exec 3>"$out/device-manager.in"
poll 15 "the device manager did not load the driver" has "$out/device-manager.txt" "Open -> 1"
tr -d '\r' <"$out/device-manager.txt" | sed 's/^/      /'
sleep 0.5
shot driver-loaded

# --- 4. The settings program -----------------------------------------------------
step "Tavrin Fold Keyboard, started from C:\\Windows, starts its keyboard service"
run 'C:\Windows\Tavrin Fold Keyboard.exe'
probe wait "$sheet" 20000 || fail "the settings sheet did not appear"
probe wait KeybdR410 5000 || fail "the settings program did not start the keyboard service"
probe until "$sheet" 1200 1 5000 || fail "the keyboard switch does not show the service's state"
probe until "$sheet" 1201 1 5000 || fail "the sound switch does not show the service's state"
say "the service answered: keyboard on, key sound on"
pause

step "Moving the repeat-delay slider to \"Lang\", switching the key sound off and typing, as a person would"
set -- $(where thumb "$sheet" 1202)
set -- "$1" "$2" $(where center "$sheet" 1202)
xdotool mousemove "$1" "$2" mousedown 1
xdotool mousemove $(($1 + 20)) "$2"
xdotool mousemove $(($3 * 2 - $1 + 10)) "$2" mouseup 1
probe until "$sheet" 1202 4 5000 || fail "the delay slider did not move to its right end"
poll 5 "the settings file was not written" test -s "$windows/R410.inf"
delay=$(od -A n -t d4 -j 4 -N 4 "$windows/R410.inf" | tr -d ' ')
[ "$delay" = 20 ] || fail "the settings file holds the delay code $delay, not 20"
say "dragged the slider: R410.inf now holds the delay code 20"
click "$sheet" 1201
probe until "$sheet" 1201 0 5000 || fail "the sound switch did not go off"
set_sound=$(message KBSVC_SET_SOUND) || fail "no KBSVC_SET_SOUND in its header"
poll 5 "the service was not told" has "$windows/KeybdR410.log" "message $set_sound 0 0"
say "clicked \"Sound aktivieren\": the service received $set_sound with 0"
click "$sheet" 1005
xdotool type --delay 60 "Hallo Tavrin"
probe until "$sheet" 1005 "Hallo Tavrin" 5000 || fail "the test field did not take the typing"
say "typed \"Hallo Tavrin\" into the test field"
sleep 0.5
shot settings
say "pressing ok (Done) in the navigation bar"
click "$sheet" 1
probe gone "Fold Keyboard" 10000 || fail "the settings program did not end"

# --- 5. A power cycle ---------------------------------------------------------------
step "Power down and up: the driver's notice reaches its client's window"
echo "window $(probe handle Handheld)" >&3
echo "cycle" >&3
resumed=$(message RSN_MSG_RESUMED) || fail "no RSN_MSG_RESUMED in its header"
poll 5 "no notice reached the client's window" has "$bin/handheld-view.log" "message $resumed "
echo "get" >&3
poll 5 "the driver does not report the resume" has "$out/device-manager.txt" "resumed 1"
tr -d '\r' <"$out/device-manager.txt" | sed -n '/> window/,$p' | sed 's/^/      /'
sleep 0.5
shot power-cycle
echo "quit" >&3
exec 3>&-
wait "$host" || fail "the device manager ended with a failure"
say "the device manager unloaded the driver"

# --- 6. The removal ----------------------------------------------------------------
step "Removing Tavrin Fold Keyboard"
starts=$(count "$windows/KeybdR810.log" "^start")
status=0
"$WINELOADER" "$bin/cab-installer.exe" remove "$cabinet" \
  >"$out/remove.txt" 2>&1 </dev/null || status=$?
tr -d '\r' <"$out/remove.txt" | sed 's/^/      /'
[ "$status" = 0 ] || fail "the removal ended with exit code $status"
restarted() { [ "$(count "$windows/KeybdR810.log" "^start")" -gt "$starts" ]; }
poll 10 "Uninstall_Exit did not start KeybdR810 again" restarted
probe wait KeybdR810 10000 || fail "KeybdR810 has no window"
probe gone KeybdR410 1 || fail "Uninstall_Init left the keyboard service running"
no_key 'HKLM\Software\Apps\Tavrin Fold Keyboard V1.03' || fail "the record is still there"
no_key 'HKLM\Drivers\BuiltIn\RSN' || fail "the driver's registration is still there"
for name in "Tavrin Fold Keyboard.exe" KeybdR410.exe SetupR410.dll RSNR410.dll KeyTap.wav; do
  [ ! -e "$windows/$name" ] || fail "$name is still there"
done
say "Uninstall_Init closed the keyboard service, Uninstall_Exit closed KeybdR810 and"
say "started it again; the files, shortcuts, record and driver registration are gone;"
say "the settings file stays, as on the handheld"
sleep 0.5
shot removed

echo
echo "The demo took $(($(date +%s) - began)) s."
if [ "$DEMO_HEADLESS" = 1 ]; then
  echo "Screenshots, a 240 x 320 handheld screen each: $out"
fi
