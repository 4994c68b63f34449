#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The camera library as another program uses it: the example the development package ships built
# against the unpacked packages only, once through pkg-config and once through find_package(Optigrab),
# and run.
# Usage: library.sh PACKAGE_DIR [SANITIZERS]
# SANITIZERS (address,undefined or thread): the packages come from a sanitizer build, whose library
# needs its runtime loaded first; the example is built with the same sanitizers, as a program using
# such a library would be.
set -euo pipefail
packages=$1
sanitize=${2:+-fsanitize=$2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in pagelux liboptigrab-dev; do
  dpkg -x "$(ls -t "$packages/${name}"_*.deb | head -n 1)" "$work/root"
done
pc=$(find "$work/root" -name optigrab.pc)
example=$work/root/usr/share/doc/liboptigrab-dev/examples/still
[[ -f $example/still.c && -f $example/CMakeLists.txt ]] || { echo "FAIL: no example in the development package"; exit 1; }
libdir=$(dirname "$(dirname "$pc")")
# Only the unpacked files: pkg-config looks nowhere else, the program finds the library there.
export PKG_CONFIG_LIBDIR=$libdir/pkgconfig LD_LIBRARY_PATH=$libdir OPTIGRAB_SIMULATED_CAMERAS=0
unset OPTIGRAB_SIMULATED_CONTROL PKG_CONFIG_PATH PKG_CONFIG_SYSROOT_DIR
# Installed, the file names the system's own folders, as the system's other libraries' files do.
flags=$(pkg-config --cflags --libs optigrab)
[[ $flags == "-lOptigrab " || $flags == "-lOptigrab" ]] || { echo "FAIL: pkg-config gives \"$flags\", not -lOptigrab"; exit 1; }
# Unpacked elsewhere, the same folders below that root.
export PKG_CONFIG_SYSROOT_DIR=$work/root

cc -Wall -Werror $sanitize "$example/still.c" $(pkg-config --cflags --libs optigrab) -o "$work/still-pkgconfig"
cmake -S "$example" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/root/usr" -DCMAKE_C_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$work/build" >/dev/null

for program in "$work/still-pkgconfig" "$work/build/still"; do
  # (grep -q would stop reading early: under pipefail ldd's broken pipe would fail the check)
  libraries=$(ldd "$program")
  [[ $libraries == *"libOptigrab.so.1 => $work/root/"* ]] || { echo "FAIL: $program does not use the unpacked library:"; echo "$libraries"; exit 1; }
  "$program" "$work/still.jpg"
  [[ $(head -c 3 "$work/still.jpg" | od -An -tx1 | tr -d ' ') == ffd8ff ]] || { echo "FAIL: $program wrote no JPEG"; exit 1; }
  rm "$work/still.jpg"
done
echo "the example builds both ways against the packages and takes a still"
