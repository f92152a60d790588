#!/usr/bin/env bash
# Full screen on one X screen of two monitors, Xephyr's Xinerama heads of
# 1024x768 and 1280x768 side by side: the picture covers one head, the primary
# or the one SDL_VIDEO_FULLSCREEN_DISPLAY names, whole and 4:3, and nothing of
# it shows on the other; without a window manager and under openbox.
# Usage: heads_test.sh BUILD_DIR   (needs DISPLAY, for Xephyr's window)
set -u
source "$(dirname "$0")/../support/e2e.sh"
source "$(dirname "$0")/../support/picture.sh"

Xephyr -displayfd 3 +xinerama -screen 1024x768 -screen 1280x768 -nolisten tcp -noreset \
  3>"$work/display" >"$work/xephyr.log" 2>&1 &
cleanups+=("kill $! 2>/dev/null; wait $! 2>/dev/null")
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
heads=("1024 768 root 0 0" "1280 768 root 1024 0")

# Runs full screen, with the environment settings after $2, and expects the
# picture over head $1 alone.
check_head() {
  local head=$1 what="head $1${2:+, $2}${wm:+, $wm}"
  shift
  start "$build" env "$@" "$runner" || return
  # shellcheck disable=SC2086  # the head's size, window and place
  expect_picture "$what" ${heads[head]}
  xdotool key Escape
  expect_clean_exit "$what: Escape"
}

wm=""
check_head 0
check_head 1 SDL_VIDEO_FULLSCREEN_DISPLAY=1
start_openbox || { finish; exit; }
wm=openbox
check_head 0
check_head 1 SDL_VIDEO_FULLSCREEN_DISPLAY=1

finish
