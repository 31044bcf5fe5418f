# Sourced by the scripts that run Windows programs: the 64-bit loader, a quiet
# console, no Mono/Gecko prompts and no desktop menu entries.
WINELOADER=/usr/lib/wine/wine64
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINELOADER WINEDEBUG WINEDLLOVERRIDES

# Keeps the prefix's Wine server up until `wineserver -k` (a cold start costs
# each program about two seconds) and starts its system programs and desktop
# now, apart from any program whose output someone reads: they would inherit
# it and hold it open.
start_wine_session() {
  /usr/lib/wine/wineserver -p
  "$WINELOADER" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null
}
