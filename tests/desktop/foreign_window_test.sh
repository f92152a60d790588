#!/usr/bin/env bash
# The demo in a window another program made, as a screensaver daemon hands it
# over: a window of the test's helper (host_window), and the root window.
# A screenshot shows the crosshair across the whole picture, letterboxed into
# the window, also after the window's size changes; 320x240 and 200x150
# previews and a 240x150 one keep both of its lines, scaled down, letterboxed. SIGTERM ends it by that
# signal; SIGHUP with status 0, as does the window's end, at any moment; an ID
# that names no window is one line and status 1.
# Usage: foreign_window_test.sh BUILD_DIR HOST_WINDOW   (needs DISPLAY, 1024x768)
set -u
source "$(dirname "$0")/../support/e2e.sh"
source "$(dirname "$0")/../support/picture.sh"
host_window=$2

# A host window of $1 x $2 at the root's top left corner: sets host_id.
start_host() {
  coproc HOST { "$host_window" "$1" "$2"; }
  read -r host_id <&"${HOST[0]}"
}
# Has the host carry out a command and waits until the X server has.
host_do() {
  echo "$*" >&"${HOST[1]}"
  read -r _ <&"${HOST[0]}"
}
stop_host() {
  exec {HOST[1]}>&-
  wait "$HOST_PID" 2>/dev/null
}

# Starts the program with the arguments given, environment settings first.
start() {
  (cd "$build" && exec env "$@" >"$work/out" 2>"$work/err") &
  pid=$!
}

# Expects the program to end within 10 s with status $2, nothing on standard
# error, and nothing left running.
expect_end() {
  local what=$1 expected=$2
  wait_for "$pid" 10
  if [[ $status != "$expected" ]] || [[ -s $work/err ]]; then
    fail "$what: status $status, expected $expected; stderr: $(head -c 300 "$work/err")"
  elif pgrep -f "^$runner" >/dev/null; then
    fail "$what: a Vorlex process is left running"
  else
    pass "$what: status $status"
  fi
}

# Expects exactly one line matching $2 on standard error and status 1.
expect_line() {
  local what=$1 pattern=$2
  wait_for "$pid" 20
  if [[ $status != 1 || $(wc -l <"$work/err") != 1 ]] || ! grep -qE "$pattern" "$work/err"; then
    fail "$what: status $status, expected 1 and one line matching /$pattern/; stderr: $(head -c 300 "$work/err")"
  else
    pass "$what: $(cat "$work/err")"
  fi
}

read -r width height < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')

start_host 800 500
start "$runner" --window-id "$host_id"
expect_picture "--window-id, an 800x500 window" 800 500
host_do resize 1000 700
expect_picture "the window made 1000x700" 1000 700
name=$(xprop -id "$host_id" WM_NAME)
[[ $name == *'"host window"' ]] && pass "the window keeps its title" || fail "the window's title became: $name"
# A screensaver daemon takes any other end of SIGTERM for a failure.
kill -TERM "$pid"
expect_end "SIGTERM, by which it ends" 143
stop_host

# Settings dialogs' previews, the daemon's variable naming the window: both
# of the crosshair's lines are still there, each across most of the picture,
# whose blue spans the 4:3 picture letterboxed into the window, to a pixel.
both_lines() { awk -v s="$1" 'BEGIN {split(s, a, " "); exit !(a[1] >= 0.5 && a[2] >= 0.5)}'; }
letterboxed() {
  awk -v w="$1" -v h="$2" -v box="$3" 'BEGIN {
    s = w / 640 < h / 480 ? w / 640 : h / 480
    split(640 * s " " 480 * s " " (w - 640 * s) / 2 " " (h - 480 * s) / 2, want, " ")
    if (split(box, got, /[x+]/) != 4) exit 1
    for (i = 1; i <= 4; i++) if (got[i] - want[i] > 1 || want[i] - got[i] > 1) exit 1 }'
}
for size in "320 240" "200 150" "240 150"; do
  start_host $size
  start XSCREENSAVER_WINDOW="$host_id" "$runner" --root
  shares=
  for _ in $(seq 20); do
    sleep 0.5
    shares=$(crosshair_lines "$host_id") && both_lines "$shares" && break
  done
  both_lines "$shares" &&
    pass "a ${size/ /x} preview: both of the crosshair's lines (down, across: $shares)" ||
    fail "a ${size/ /x} preview: the crosshair's lines cross ${shares:-nothing} of the picture, expected half"
  box=$(convert "$work/mask.png" -format '%@' info: 2>/dev/null)
  # shellcheck disable=SC2086  # the size is two words
  letterboxed $size "$box" && pass "a ${size/ /x} preview: the picture's blue spans $box" ||
    fail "a ${size/ /x} preview: the picture's blue spans ${box:-nothing}, not the letterboxed 4:3 picture"
  host_do destroy
  expect_end "the ${size/ /x} preview's window destroyed" 0
  stop_host
done

start -u XSCREENSAVER_WINDOW "$runner" --root
expect_picture "--root, the root window" "$width" "$height"
kill -HUP "$pid"
expect_end "SIGHUP" 0

# The window's end at any moment of the start: it is over, quietly, or the
# window was gone before the program looked, which one line says.
for delay in 0 0.05 0.1 0.2 0.4; do
  start_host 200 150
  start "$runner" --window-id "$host_id"
  sleep "$delay"
  host_do destroy
  wait_for "$pid" 20
  if [[ $status == 0 && ! -s $work/err ]] ||
    { [[ $status == 1 && $(wc -l <"$work/err") == 1 ]] && grep -q 'no such window' "$work/err"; }; then
    pass "destroyed ${delay} s after the start: status $status $(cat "$work/err")"
  else
    fail "destroyed ${delay} s after the start: status $status; stderr: $(head -c 300 "$work/err")"
  fi
  stop_host
done

start "$runner" --window-id 0x1fffffff
expect_line "an ID that names no window" '^Vorlex: cannot draw into the window 0x1fffffff: no such window'
start XSCREENSAVER_WINDOW=0x1ffffffe "$runner" --root
expect_line "XSCREENSAVER_WINDOW names no window" \
  '^Vorlex: cannot draw into the screensaver.s window 0x1ffffffe \(XSCREENSAVER_WINDOW\): no such window'
start XSCREENSAVER_WINDOW=root "$runner" --root
expect_line "XSCREENSAVER_WINDOW is no ID" '^Vorlex: cannot find the screensaver.s window: XSCREENSAVER_WINDOW is "root"'

finish
