#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real pagelux on a virtual 1920x1080 X screen with one simulated camera and checks what a
# user would see: the page full screen, the bars and popups, the prompt after unplugging, the page
# again after plugging.
# Usage: smoke.sh BIN_DIR [SCREENSHOT] [DESKTOP]
#   SCREENSHOT  where the live page's picture is kept (1280x720); "" for none
#   DESKTOP     bare (the X server alone, the default), openbox (a window manager on the X server: the
#               view must ask it for full screen) or weston (a Wayland compositor drawing on the X
#               server, which hands it xdotool's input; the program runs as its Wayland client).
#               Min must then hide the view. Exits with 77 when the desktop is not installed.
set -euo pipefail
bin_dir=$1
screenshot=${2:-}
desktop=${3:-bare}
case $desktop in
  bare) ;;
  openbox | weston)
    command -v "$desktop" >/dev/null || { echo "SKIP: $desktop is not installed (scripts/deps test)"; exit 77; } ;;
  *) echo "Unknown desktop: $desktop (bare, openbox or weston)" >&2; exit 2 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A copy of the program with its own Configuration folder, so the build's settings stay untouched.
mkdir -p "$work/app/Configuration"
cp -a "$bin_dir/pagelux" "$bin_dir"/libOptigrab.so* "$work/app/"
cp -a "$bin_dir/translations" "$work/app/"
export HOME=$work/home LANG=C.UTF-8
mkdir -p "$HOME"
control=$work/control
export OPTIGRAB_SIMULATED_CAMERAS=1 OPTIGRAB_SIMULATED_CONTROL=$control

xvfb-run -a -s '-screen 0 1920x1080x24' bash -c '
  set -euo pipefail
  work=$1; control=$2; desktop=$3
  # Ended with the script: openbox goes with the X server, but weston stays behind, spinning.
  desktop_pid=
  trap '"'"'[[ -z $desktop_pid ]] || kill $desktop_pid 2>/dev/null || true'"'"' EXIT
  case $desktop in
    openbox)
      openbox > "$work/desktop.log" 2>&1 &
      desktop_pid=$!
      for _ in $(seq 1 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.2; done ;;
    weston)
      export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=pagelux-smoke QT_QPA_PLATFORM=wayland
      mkdir -m 700 "$XDG_RUNTIME_DIR"
      # No screen lock after idle time: a busy machine can take minutes.
      weston --backend=x11-backend.so --use-pixman --width=1920 --height=1080 --idle-time=0 \
        --socket=$WAYLAND_DISPLAY > "$work/desktop.log" 2>&1 &
      desktop_pid=$!
      for _ in $(seq 1 100); do [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break; sleep 0.2; done
      # Weston moves its pointer by the X pointer'"'"'s steps, stopping at the screen'"'"'s edges, so
      # the two drift apart from the start; a sweep from corner to corner pins both to the same place.
      sleep 1
      xdotool mousemove 0 0 sleep 0.3 mousemove 1919 1079 sleep 0.3 mousemove 0 0 sleep 0.3 ;;
  esac
  "$work/app/pagelux" > "$work/pagelux.log" 2>&1 &
  app=$!
  shot() { import -window root "$work/$1.ppm"; }  # uncompressed: quick to write and read
  # Mean brightness (0..1) of a region WxH+X+Y of a screenshot.
  mean() { convert "$work/$1.ppm" -crop "$2" -colorspace Gray -format "%[fx:mean]" info:; }
  fail() { echo "FAIL: $*"; tail -n 40 "$work/pagelux.log"; kill $app; exit 1; }
  # A busy machine may take seconds to show the outcome of an action: the screen is looked at again
  # until it does, for half a minute at most.
  expect() {  # expect NAME MESSAGE CONDITION: shots NAME until CONDITION (a command line) holds
    for look in $(seq 1 60); do
      sleep 0.5; shot "$1"
      eval "$3" && echo "$(date +%T) $1: seen at look $look" && return 0
    done
    fail "$1: $2"
  }
  is() { awk -v m="$1" -v v="$3" "BEGIN{exit !(m $2 v)}"; }  # is VALUE CMP LIMIT
  waitfor() {  # waitfor NAME REGION CMP VALUE
    expect "$1" "mean of $2 is not $3 $4" "is \$(mean $1 $2) \"$3\" $4"
  }

  waitfor live 400x300+760+390 ">" 0.6           # the page fills the screen
  [[ -p $control ]] || fail "no control FIFO"
  # Full screen: no panel of the desktop over the page'"'"'s light top margin.
  waitfor live 1000x30+460+0 ">" 0.6
  if [[ $desktop == openbox ]]; then
    xprop -id "$(xdotool search --onlyvisible --class pagelux | head -n 1)" _NET_WM_STATE |
      grep -q _NET_WM_STATE_FULLSCREEN || fail "the view did not ask the window manager for full screen"
  fi
  awk -v m="$(mean live 40x40+10+10)" "BEGIN{exit !(m < 0.9)}" || fail "corner icon missing"
  # The bottom tool bar: five 66 px buttons centred between the side bars (208 px at the left, 228 px
  # at the right: 10 px left of the screen centre), Move checked (blue) at start.
  blue() { convert "$work/$1.ppm" -crop "$2" -format "%[fx:mean.b-mean.r]" info:; }
  awk -v m="$(blue live 60x8+788+1016)" "BEGIN{exit !(m > 0.8)}" || fail "Move is not checked at the left end of the bar"
  awk -v m="$(blue live 60x8+854+1016)" "BEGIN{exit !(m < 0.1)}" || fail "Annotation checked at start"
  # Annotation takes the check and opens the pen popup above itself, red swatch first chosen.
  # The pointer rests over the bar first: a compositor hands a click to the surface the pointer entered.
  # A busy compositor may still lose that first click: it is given again while the check has not
  # moved after ten seconds (a click that arrives late would show within them).
  for try in 1 2 3; do
    xdotool mousemove 884 1030 sleep 0.5 mousemove 884 1047 sleep 0.3 click 1
    checked=
    for look in $(seq 1 20); do
      sleep 0.5; shot pen
      if is "$(blue pen 60x8+854+1016)" ">" 0.8; then checked=yes; break; fi
    done
    [[ -n $checked ]] && { echo "$(date +%T) pen: checked after click $try"; break; }
  done
  [[ -n $checked ]] || fail "pen: Annotation not checked after its click"
  expect pen "Move still checked" "is \$(blue pen 60x8+788+1016) \"<\" 0.1"
  # The blue swatch tells the popup: the page shows no blue, but its moving red mark may pass the red one.
  expect pen "no pen popup above the Annotation button" "is \$(blue pen 6x6+1027+903) \">\" 0.8"
  # A press elsewhere closes it.
  xdotool mousemove 400 400 click 1
  expect closed "pen popup still open after a press outside it" "is \$(blue closed 6x6+1027+903) \"<\" 0.3"
  # The pen draws red in the page'"'"'s empty top margin; Ctrl+Z takes the stroke away again.
  redness() { convert "$work/$1.ppm" -crop "$2" -format "%[fx:mean.r-mean.g]" info:; }
  xdotool mousemove 200 70 mousedown 1
  for x in $(seq 220 20 700); do xdotool mousemove "$x" 70; done
  xdotool mouseup 1
  expect drawn "no red stroke where the pen went" "is \$(redness drawn 400x2+250+69) \">\" 0.5"
  xdotool key ctrl+z
  expect undone "Ctrl+Z left the stroke" "is \$(redness undone 400x2+250+69) \"<\" 0.1"
  # Space freezes the picture through the Freeze button, which shows checked; Space again thaws it.
  # On a busy machine a frame already on its way may still land, and a thawed picture may take a
  # while to move: each state is given a few looks.
  same() { [[ $(compare -metric AE "$work/$1.ppm" "$work/$2.ppm" null: 2>&1) == 0 ]]; }
  xdotool key space
  for _ in $(seq 1 10); do
    sleep 0.5; shot frozen1; sleep 1; shot frozen2
    same frozen1 frozen2 && break
  done
  same frozen1 frozen2 || fail "the picture moves while frozen"
  expect frozen2 "Freeze not checked after Space" "is \$(blue frozen2 60x8+986+1016) \">\" 0.8"
  xdotool key space
  for _ in $(seq 1 10); do
    sleep 0.5; shot thawed1; sleep 1; shot thawed2
    same thawed1 thawed2 || break
  done
  same thawed1 thawed2 && fail "the picture stays frozen"
  # Menu, then About: a light panel with dark text in the middle of the screen; a press on the
  # picture closes both. Menu, then the language entry: the chooser beside the menu, light with text.
  darkest() { convert "$work/$1.ppm" -crop "$2" -colorspace Gray -format "%[fx:minima]" info:; }
  xdotool mousemove 62 1045 click 1
  sleep 1
  xdotool mousemove 100 880 click 1
  waitfor about 380x230+770+425 ">" 0.7
  awk -v m="$(darkest about 380x230+770+425)" "BEGIN{exit !(m < 0.3)}" || fail "About shows no text"
  xdotool mousemove 400 400 click 1
  sleep 1
  xdotool mousemove 62 1045 click 1
  sleep 1
  xdotool mousemove 100 932 click 1
  waitfor chooser 100x70+257+872 ">" 0.7
  awk -v m="$(darkest chooser 100x70+257+872)" "BEGIN{exit !(m < 0.3)}" || fail "the language chooser shows no text"
  xdotool mousemove 400 400 click 1
  # Setting, its General tab (right of Video; a third tab comes only with all tools shown): the file
  # name prefix takes what is typed (a row of Ms has more ink than "image"), also on Wayland, where
  # the compositor keeps the keyboard on the view.
  xdotool mousemove 121 1045 click 1
  sleep 1
  xdotool mousemove 378 617 click 1
  sleep 1
  xdotool mousemove 131 851 click 1
  waitfor prefix 140x20+192+841 "<" 0.985
  darker=$(awk -v m="$(mean prefix 140x20+192+841)" "BEGIN{print m - 0.02}")
  xdotool mousemove 263 851 click 1 sleep 0.5 key ctrl+a type MMMMMMMMMM
  # Darker, but still a light field: the desktop behind a program that went away is darker too.
  expect typed "the prefix field did not take the keys" \
    "kill -0 \$app && is \$(mean typed 140x20+192+841) \"<\" $darker && is \$(mean typed 140x20+192+841) \">\" 0.8"
  xdotool mousemove 400 400 click 1
  echo "unplug 0" > "$control"
  waitfor unplugged 400x300+760+390 "<" 0.1      # black screen
  awk -v m="$(mean unplugged 700x30+610+565)" "BEGIN{exit !(m > 0.02)}" || fail "prompt text missing"
  awk -v m="$(mean unplugged 60x60+930+495)" "BEGIN{exit !(m > 0.02)}" || fail "prompt icon missing"
  echo "plug" > "$control"
  waitfor replugged 400x300+760+390 ">" 0.6
  if [[ $desktop != bare ]]; then  # Min hides the view: the desktop shows instead of the page.
    xdotool mousemove 181 1045 click 1
    waitfor minimised 400x300+760+390 "<" 0.55
  fi
  kill $app; wait $app || true
  ! grep -m 3 "^qt\.qpa\." "$work/pagelux.log" || { echo "FAIL: warnings of the windowing system"; exit 1; }
  echo "smoke: page shown, tool bar and pen popup, a stroke drawn and undone, freeze and thaw, About and the language chooser, the prefix typed, prompt on unplug, page again on plug"
' smoke "$work" "$control" "$desktop"
if [[ -n $screenshot ]]; then
  mkdir -p "$(dirname "$screenshot")"
  # 32 colours keep the page and bars as they look at a third of the size of 256.
  convert "$work/live.ppm" -resize 1280x720 -colors 32 -define png:compression-level=9 "PNG8:$screenshot"
fi
