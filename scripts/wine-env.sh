# Sourced by the scripts that run Windows programs (each sets `here` to its
# own folder first): the 64-bit loader, a quiet console, no Mono/Gecko prompts
# and no desktop menu entries, and the helpers below.
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

# Ends the Wine server of WINEPREFIX, if one runs.
end_wine_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}

# The project's Wine prefix NAME: build/wine/NAME beside the sources.
project_prefix() {
  echo "$(cd "$here/.." && pwd)/build/wine/$1"
}

# The Windows name of a Unix path: Wine shows the Unix root as drive Z:.
windows_path() {
  echo "Z:$1" | tr / '\\'
}
