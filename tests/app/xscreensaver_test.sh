#!/usr/bin/env bash
# The demo as XScreenSaver runs it: Debian's xscreensaver daemon on the test's
# X display, with a home of the test's own whose ~/.xscreensaver lists the demo
# as its only display mode ("GL: vorlex --root", as the README says).
# xscreensaver-command -activate blanks the screen and a screenshot shows the
# whole picture in the daemon's window; -deactivate ends the demo, leaving
# nothing running. The daemon runs no display mode as root, so a run as root
# runs it as the user nobody.
# Usage: xscreensaver_test.sh BUILD_DIR   (needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"
source "$(dirname "$0")/../support/picture.sh"

for program in xscreensaver xscreensaver-command /usr/libexec/xscreensaver/xscreensaver-gl-visual; do
  if ! command -v "$program" >/dev/null; then
    fail "no $program: scripts/deps.sh test installs xscreensaver and xscreensaver-gl"
    finish
    exit
  fi
done

as_user=()
if [[ $(id -u) == 0 ]]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # The user reaches the program through this run's folder.
  chmod 755 "$work"
fi
home=$work/home
mkdir -p "$home/bin" "$home/run"
chmod 700 "$home/run"
# "vorlex" on the PATH, as the launcher is after an install.
printf '#!/bin/sh\ncd "%s" && exec "%s" "$@"\n' "$build" "$runner" >"$home/bin/vorlex"
chmod 755 "$home/bin/vorlex"
cat >"$home/.xscreensaver" <<'END'
mode:		one
selected:	0
timeout:	1:00:00
cycle:		0:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
programs:	GL: vorlex --root \n\

END
[[ -z ${as_user[*]} ]] || chown -R nobody:nogroup "$home"
user() {
  "${as_user[@]}" env HOME="$home" XDG_RUNTIME_DIR="$home/run" PATH="$home/bin:$PATH" "$@"
}
if ! user test -x "$home/bin/vorlex" -a -r "$build/Vorlex.app/Contents/Resources/image.bmp"; then
  fail "the user ${as_user[*]:+nobody }cannot run the program in $build"
  finish
  exit
fi

user xscreensaver --no-splash --log "$home/xscreensaver.log" >/dev/null 2>&1 &
daemon=$!
cleanups+=('kill "$daemon" 2>/dev/null; wait "$daemon" 2>/dev/null')
for _ in $(seq 100); do
  user xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.1
done

read -r width height < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
if user xscreensaver-command -activate >/dev/null 2>&1; then
  expect_picture "xscreensaver-command -activate" "$width" "$height"
else
  fail "xscreensaver-command -activate: the daemon does not answer; its log: $(tail -c 400 "$home/xscreensaver.log")"
fi
pgrep -f "^$runner --root" >/dev/null && pass "the daemon runs the demo with --root" ||
  fail "no demo running; the daemon's log: $(tail -c 400 "$home/xscreensaver.log")"

user xscreensaver-command -deactivate >/dev/null 2>&1
left=yes
for _ in $(seq 100); do
  pgrep -f "^$runner" >/dev/null || { left=no; break; }
  sleep 0.1
done
[[ $left == no ]] && pass "xscreensaver-command -deactivate ends the demo" ||
  fail "the demo is still running after -deactivate"
if grep -q 'Vorlex' "$home/xscreensaver.log"; then
  fail "the demo wrote to the daemon's log: $(grep 'Vorlex' "$home/xscreensaver.log" | head -c 400)"
fi

user xscreensaver-command -exit >/dev/null 2>&1
wait_for "$daemon" 10
finish
