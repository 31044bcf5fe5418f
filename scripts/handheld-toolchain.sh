#!/bin/sh
# Builds the handheld's assembler, linker and binary tools (the arm-mingw32ce
# target of GNU binutils) from Debian's binutils-source, once, and prints the
# folder that holds them (its bin/ has arm-mingw32ce-as, -ld, -dlltool, ...).
#
# The folder is in the user's cache, named for the binutils version, so it
# outlives `make clean` and every checkout of the project shares it; it is
# built again when missing or when Debian's binutils-source changes version.
# Building takes about 4 minutes on 2 cores.
set -eu

source_tarball=$(ls /usr/src/binutils/binutils-*.tar.xz 2>/dev/null | head -n 1)
[ -n "$source_tarball" ] || { echo "binutils-source is not installed (scripts/prereqs.sh)" >&2; exit 1; }
version=$(basename "$source_tarball" .tar.xz)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tavrin-fold-keyboard
prefix=$cache/arm-mingw32ce-$version
target=arm-mingw32ce

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
# One build at a time, whoever asks: a second caller waits and then finds it made.
exec 9>"$cache/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

echo "Building the handheld's binutils ($version, $target) into $prefix" >&2
work=$(mktemp -d "$cache/build.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM
tar -xJf "$source_tarball" -C "$work"
rm -rf "$prefix"
mkdir -p "$work/build"
(
  cd "$work/build"
  # clang is the host compiler: the prerequisites install it, and no other.
  CC=clang CXX=clang++ "../$version/configure" --target=$target --prefix="$prefix" \
    --disable-nls --disable-werror --disable-gdb --disable-gdbserver --disable-sim \
    --disable-gprof --disable-gprofng --disable-gold MAKEINFO=true >configure.log 2>&1 ||
    { tail -n 30 configure.log >&2; exit 1; }
  make -j"${JOBS:-2}" all-gas all-ld all-binutils MAKEINFO=true >make.log 2>&1 ||
    { tail -n 30 make.log >&2; exit 1; }
  make install-gas install-ld install-binutils MAKEINFO=true >install.log 2>&1 ||
    { tail -n 30 install.log >&2; exit 1; }
)
touch "$prefix/.complete"
echo "$prefix"
