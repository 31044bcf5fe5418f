#!/bin/sh
# Fails when a source of the deliverables or of the handheld layer could mean
# something else to another compiler: C and C++ sources must be pure ASCII,
# with other characters as hex escapes of their UTF-16 units (\x00e9), never
# as universal-character names (\u00e9), which the handheld SDK's compilers
# don't read, nor as an escape that a hex digit follows and so lengthens; and
# a resource script must declare an ANSI code page its bytes are written in
# (or be pure ASCII), since the handheld SDK's resource compiler reads no UTF-8:
#   scripts/gates/charset.sh
set -eu
cd "$(dirname "$0")/../.."
folders="settings setup driver platform service-interface"
failed=0

sources=$(git ls-files $folders | grep -E '\.(c|cpp|h)$')
for file in $sources; do
  if LC_ALL=C grep -qP '[^\x00-\x7F]' "$file"; then
    LC_ALL=C grep -nP '[^\x00-\x7F]' "$file" | cut -d: -f1 |
      sed "s|^|  non-ASCII byte: $file:|"
    failed=1
  fi
  # An odd run of backslashes escapes: \\u is a backslash and a letter.
  escape='(?<!\\)(\\\\)*\\'
  if LC_ALL=C grep -qP "$escape([uU]|x[0-9A-Fa-f]{5})" "$file"; then
    LC_ALL=C grep -nP "$escape[uU]" "$file" | cut -d: -f1 |
      sed "s|^|  universal-character name: $file:|"
    LC_ALL=C grep -nP "${escape}x[0-9A-Fa-f]{5}" "$file" | cut -d: -f1 |
      sed "s|^|  hex escape run on by a hex digit: $file:|"
    failed=1
  fi
done

scripts=$(git ls-files $folders | grep -E '\.rc$')
for file in $scripts; do
  page=$(sed -n 's/^#pragma code_page(\([0-9]*\)).*/\1/p' "$file" | head -n 1)
  if ! LC_ALL=C grep -qP '[^\x00-\x7F]' "$file"; then
    continue
  elif [ -z "$page" ]; then
    echo "  $file: non-ASCII text without a code page"
    failed=1
  elif [ "$page" = 65001 ]; then
    echo "  $file: declares UTF-8, which the handheld's resource compiler does not read"
    failed=1
  elif ! iconv -f "CP$page" -t UTF-16LE "$file" >/dev/null 2>&1; then
    echo "  $file: bytes that code page $page does not have"
    failed=1
  elif iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1; then
    echo "  $file: UTF-8 text declared as code page $page"
    failed=1
  fi
done

count=$(printf '%s\n' $sources $scripts | grep -c .)
if [ $failed -ne 0 ]; then
  echo "charset: $count files checked, some would read differently elsewhere"
  exit 1
fi
echo "charset: $count files, C/C++ sources ASCII with hex escapes, resource scripts in their code page"
