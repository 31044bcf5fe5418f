# Sourced by the scripts that run Windows programs (each sets `here` to its
# own folder first): the 64-bit loader, a quiet console, no Mono/Gecko prompts
# and no desktop menu entries, and the helpers below.
WINELOADER=/usr/lib/wine/wine64
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINELOADER WINEDEBUG WINEDLLOVERRIDES
# Wine names Unix files in the locale's character set: the handheld's folder
# names ("Menu Démarrer") need UTF-8, which a fresh system's POSIX locale lacks.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  LC_ALL=C.UTF-8
  export LC_ALL
fi

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
