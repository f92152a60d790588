#!/usr/bin/env bash
# Full screen on one X screen of two monitors (Xephyr's Xinerama heads of
# 1024x768 and 1280x768 side by side, as a desktop with two monitors has):
# the window covers one head whole, the primary or the one
# SDL_VIDEO_FULLSCREEN_DISPLAY names, with the 4:3 picture letterboxed in it,
# and nothing of it shows on the other; without a window manager and under
# openbox.
# Usage: heads_test.sh BUILD_DIR   (needs DISPLAY, for Xephyr's window)
set -u
source "$(dirname "$0")/../support/e2e.sh"

Xephyr -displayfd 3 +xinerama -screen 1024x768 -screen 1280x768 -nolisten tcp -noreset \
  3>"$work/display" >"$work/xephyr.log" 2>&1 &
xephyr=$!
cleanups+=("kill $xephyr 2>/dev/null; wait $xephyr 2>/dev/null")
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
heads=([0]="1024 768 0 0" [1]="1280 768 1024 0")

# Runs full screen on head $2 (SDL_VIDEO_FULLSCREEN_DISPLAY=$3 when given)
# and checks the window's place and the crosshair's span until they are
# right or 20 tries have passed.
check_head() {
  local what=$1 w h x y window="" box="" placed=no
  read -r w h x y <<<"${heads[$2]}"
  local s pw ph px py
  read -r pw ph px py s < <(awk -v w="$w" -v h="$h" -v x="$x" -v y="$y" 'BEGIN {
    s = w / 640 < h / 480 ? w / 640 : h / 480
    printf "%d %d %d %d %d\n", 640 * s, 480 * s, x + (w - 640 * s) / 2, y + (h - 480 * s) / 2, 2 * s + 1 }')
  (cd "$build" && exec env ${3+SDL_VIDEO_FULLSCREEN_DISPLAY=$3} "$runner" >"$work/out" 2>"$work/err") &
  local pid=$!
  timeout 20 xdotool search --sync --name '^OpenGL Test Window$' >/dev/null 2>&1
  for _ in $(seq 20); do
    sleep 0.5
    window=$(xwininfo -name 'OpenGL Test Window' 2>/dev/null |
      awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} /Width/ {w = $2} /Height/ {h = $2}
           END {print w "x" h "+" x "+" y}')
    import -window root "$work/shot.png" 2>/dev/null || continue
    box=$(convert "$work/shot.png" -fuzz 20% -fill black +opaque blue -format '%@' info: 2>/dev/null)
    [[ $window == "${w}x${h}+${x}+${y}" && $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || continue
    local near=yes d
    for d in $((BASH_REMATCH[1] - pw)) $((BASH_REMATCH[2] - ph)) $((BASH_REMATCH[3] - px)) $((BASH_REMATCH[4] - py)); do
      ((${d#-} <= s)) || near=no
    done
    [[ $near == yes ]] && placed=yes && break
  done
  xdotool key Escape
  wait_for "$pid" 10
  if [[ $placed == yes ]]; then
    pass "$what: the window over head $2 ($window), the crosshair across $box"
  else
    fail "$what: expected the window at ${w}x${h}+${x}+${y} and the crosshair across ${pw}x${ph}+${px}+${py}; saw ${window:-no window} and ${box:-nothing}"
  fi
  [[ $status == 0 && ! -s $work/err ]] || fail "$what: Escape gave status $status, stderr: $(head -c 300 "$work/err")"
}

check_head "no window manager" 0
check_head "no window manager, SDL_VIDEO_FULLSCREEN_DISPLAY=1" 1 1
start_openbox || { finish; exit; }
check_head "openbox" 0
check_head "openbox, SDL_VIDEO_FULLSCREEN_DISPLAY=1" 1 1

finish
