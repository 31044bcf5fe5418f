#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# The handheld build takes clang, and binutils-source with flex, bison and m4
# to build its assembler and linker (scripts/handheld-toolchain.sh); its driver
# test runs on python3-unicorn.
set -eu

packages="cmake make
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  clang-format clang-tidy cppcheck
  wine wine64 fonts-wine
  xvfb xauth imagemagick xdotool
  googletest cabextract
  clang binutils-source xz-utils flex bison m4 python3-unicorn"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
