#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real pagelux on a virtual 3840x2160 X screen scaled as desktops scale it: to 200 % (Xft.dpi
# 192, as GNOME and Xfce set it) and to 150 % (QT_SCREEN_SCALE_FACTORS, as Plasma sets it). Its camera
# sends 4K frames of 1-pixel stripes: they must reach the screen as stripes, not as the grey a picture
# enlarged from fewer pixels shows. The bars take their scaled places and the pen popup opens above its
# button and closes on a press outside it.
# Usage: hidpi.sh BIN_DIR. Exits with 77 when a tool it needs is not installed.
set -euo pipefail
bin_dir=$1
for tool in xvfb-run xrdb xdotool import convert; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (scripts/deps test)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app/Configuration" "$work/frames"
cp -a "$bin_dir/pagelux" "$bin_dir"/libOptigrab.so* "$bin_dir/translations" "$work/app/"
export HOME=$work/home LANG=C.UTF-8 OPTIGRAB_SIMULATED_CAMERAS=0 OPTIGRAB_SIMULATED_CONTROL=$work/control
mkdir -p "$HOME"
# Black and white columns a pixel wide; 4:2:2 like a camera's MJPEG, its brightness at full size.
convert -size 2x1 xc:black -fill white -draw 'point 1,0' -write mpr:pair +delete \
  -size 3840x1 tile:mpr:pair -scale '3840x2160!' -type TrueColor -sampling-factor 2x1 -quality 100 \
  "$work/frames/stripes.jpg"

# run SCALE: one start of the program at SCALE percent.
run() {
  local scale=$1
  # -noreset: the X server would forget the resources xrdb set as soon as xrdb disconnects.
  xvfb-run -a -s '-screen 0 3840x2160x24 -noreset' bash -c '
    set -euo pipefail
    work=$1; scale=$2
    case $scale in
      200) echo "Xft.dpi: 192" | xrdb -merge ;;
      150) export QT_SCREEN_SCALE_FACTORS=1.5 ;;
    esac
    "$work/app/pagelux" > "$work/pagelux.log" 2>&1 &
    app=$!
    fail() { echo "FAIL at $scale %: $*"; tail -n 20 "$work/pagelux.log"; kill $app; exit 1; }
    for _ in $(seq 1 100); do [[ -p $work/control ]] && break; sleep 0.2; done
    echo "plug-frames $work/frames" > "$work/control"
    shot() { import -window root "$work/shot.ppm"; }
    # Regions and points are given where they are on a 1920x1080 screen at 100 %: the bars keep their
    # distances from the bottom edge and the screen'"'"'s middle, scaled.
    px() { awk -v s="$scale" -v x="$1" "BEGIN{print int(1920 + (x - 960) * s / 100)}"; }
    py() { awk -v s="$scale" -v y="$1" "BEGIN{print int(2160 - (1080 - y) * s / 100)}"; }
    region() { awk -v s="$scale" "BEGIN{printf \"%dx%d+\", $1 * s / 100, $2 * s / 100}"; echo "$(px $3)+$(py $4)"; }
    contrast() { convert "$work/shot.ppm" -crop "$1" -colorspace Gray -format "%[fx:standard_deviation]" info:; }
    blue() { convert "$work/shot.ppm" -crop "$(region "$@")" -format "%[fx:mean.b-mean.r]" info:; }
    is() { awk -v m="$1" -v v="$3" "BEGIN{exit !(m $2 v)}"; }
    expect() {  # expect MESSAGE CONDITION: looks at the screen until CONDITION holds, a minute at most
      for _ in $(seq 1 120); do sleep 0.5; shot; eval "$2" && return 0; done
      fail "$1"
    }
    # The picture first (the prompt before it is black), then its sharpness: stripes that stay stripes
    # have a contrast near 0.5; enlarged from half the pixels they are an even grey.
    brightness() { convert "$work/shot.ppm" -crop "$1" -colorspace Gray -format "%[fx:mean]" info:; }
    expect "no camera picture on the screen" "is \$(brightness 800x400+1520+880) \">\" 0.3"
    expect "1-pixel stripes blurred: the picture is drawn from fewer pixels than the screen has" \
      "is \$(contrast 800x400+1520+880) \">\" 0.4"
    sharp=$(contrast 800x400+1520+880)
    # Move checked (blue) at the left of the bottom bar, at the scaled place.
    is "$(blue 60 8 788 1016)" ">" 0.8 || fail "Move is not at its place at the scale"
    # Annotation opens the pen popup above itself (its blue swatch), a press outside closes it.
    xdotool mousemove $(px 884) $(py 1030) sleep 0.5 mousemove $(px 884) $(py 1047) sleep 0.3 click 1
    expect "no pen popup above the Annotation button" "is \$(blue 6 6 1027 903) \">\" 0.8"
    xdotool mousemove $(px 400) $(py 400) click 1
    expect "pen popup still open after a press outside it" "is \$(blue 6 6 1027 903) \"<\" 0.3"
    kill $app; wait $app || true
    echo "hidpi $scale %: stripes at contrast $sharp, bars and pen popup in place"
  ' hidpi "$work" "$scale"
}
run 200
run 150
