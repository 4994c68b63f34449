#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a user gets it from the package: unpacked into a throw-away root whose program folder
# cannot be written, started from bin/pagelux on a virtual screen with a simulated camera. The page must
# show, and the settings must go to the user's own configuration folder.
# Usage: install.sh PACKAGE_DIR
set -euo pipefail
package=$(ls -t "$1"/pagelux_*.deb | head -n 1)  # the newest, should older ones lie beside it
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
dpkg -x "$package" "$work/root"
# ldconfig runs through the package's trigger, and no maintainer script calls it a second time.
scripts=$(dpkg-deb --ctrl-tarfile "$package" | tar -t | grep -E 'post(inst|rm)$' || true)
[[ -z $scripts ]] || { echo "FAIL: maintainer scripts beside the ldconfig trigger: $scripts"; exit 1; }
chmod -R a-w "$work/root"
program=$work/root/usr/lib/pagelux/pagelux
fail() { echo "FAIL: $*"; [[ -f $work/pagelux.log ]] && tail -n 30 "$work/pagelux.log"; exit 1; }

# The camera library comes from the unpacked root, through the program's RPATH.
# (Not through grep -q, which stops reading early: under pipefail ldd's broken pipe would fail the check.)
libraries=$(ldd "$program")
[[ $libraries == *"libOptigrab.so.1 => $work/root/"* ]] || fail "libOptigrab.so.1 not found in the root: $libraries"

export HOME=$work/home XDG_CONFIG_HOME=$work/config LANG=C.UTF-8 OPTIGRAB_SIMULATED_CAMERAS=1
unset OPTIGRAB_SIMULATED_CONTROL LD_LIBRARY_PATH
mkdir -p "$HOME"
xvfb-run -a -s '-screen 0 1920x1080x24' bash -c '
  work=$1
  "$work/root/usr/bin/pagelux" > "$work/pagelux.log" 2>&1 &
  app=$!
  # The page under the simulated camera is bright: wait for the middle of the screen to be.
  for _ in $(seq 1 60); do
    sleep 0.5
    import -window root "$work/shot.ppm"  # uncompressed: a PNG of the page takes long on a busy machine
    mean=$(convert "$work/shot.ppm" -crop 400x300+760+390 -colorspace Gray -format "%[fx:mean]" info:)
    awk -v m="$mean" "BEGIN{exit !(m > 0.6)}" && break
  done
  kill $app; wait $app || true
  echo "$mean" > "$work/mean"
' _ "$work"
awk -v m="$(cat "$work/mean")" 'BEGIN{exit !(m > 0.6)}' || fail "no picture: mean brightness $(cat "$work/mean")"
settings=$XDG_CONFIG_HOME/pagelux/lastsetting.xml
[[ -s $settings ]] || fail "no settings file at $settings"
grep -q "<devName>" "$settings" || fail "the settings file lacks its layout"
grep -q "configuPath=$settings" "$work/pagelux.log" || fail "the log does not name $settings"
# The lines a missing file gives are followed, once, by what they mean on a first start.
first_start=$(grep -A1 -F "Failed to load config, using defaults." "$work/pagelux.log" | tail -n 1)
[[ $first_start == "(A first start: there are no settings yet. They are written now.)" ]] ||
  fail "no first-start line after the failed load: \"$first_start\""
[[ $(grep -c "A first start" "$work/pagelux.log") == 1 ]] || fail "the first-start line comes more than once"
[[ ! -e $work/root/usr/lib/pagelux/Configuration ]] || fail "a Configuration folder appeared in the program folder"
echo "installed program: picture shown, settings in $settings"
