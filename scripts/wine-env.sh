# Sourced by the scripts that run Windows programs: the 64-bit loader, a quiet
# console, no Mono/Gecko prompts and no desktop menu entries.
WINELOADER=/usr/lib/wine/wine64
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINELOADER WINEDEBUG WINEDLLOVERRIDES
