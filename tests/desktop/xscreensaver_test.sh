#!/usr/bin/env bash
# The demo as XScreenSaver runs it, installed: `cmake --install` into a prefix
# of the test's own, whose bin/ is on the PATH of Debian's xscreensaver daemon,
# running on the test's X display with a home of the test's own whose
# ~/.xscreensaver lists the demo as its only display mode ("GL: vorlex --root",
# as the README says). xscreensaver-settings shows it in its preview window,
# and ends it when it closes; xscreensaver-command -activate shows the whole
# picture on the screen and -deactivate ends it, leaving nothing running. The
# daemon runs no display mode for root, so a run as root runs it all as the
# user nobody.
# Usage: xscreensaver_test.sh BUILD_DIR   (needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"
source "$(dirname "$0")/../support/picture.sh"

for program in xscreensaver xscreensaver-command xscreensaver-settings \
  /usr/libexec/xscreensaver/xscreensaver-gl-visual; do
  if ! command -v "$program" >/dev/null; then
    fail "no $program: scripts/lib/deps.sh test installs xscreensaver and xscreensaver-gl"
    finish
    exit
  fi
done

as_user=()
if [[ $(id -u) == 0 ]]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # The user reaches the installed program through this run's folder.
  chmod 755 "$work"
fi
prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$work/install" 2>&1; then
  fail "cmake --install: $(tail -c 400 "$work/install")"
  finish
  exit
fi
app_folder=$prefix/share/vorlex

# The registration: the entry MATE's and Xfce's screensavers list, and
# XScreenSaver's page for the demo.
entry=$prefix/share/applications/screensavers/vorlex.desktop
report=$(desktop-file-validate "$entry" 2>&1 | grep -v ': hint: ')
exec_line=$(sed -n 's/^Exec=//p' "$entry" 2>/dev/null)
if [[ ! -f $entry || -n $report || $exec_line != "\"$prefix/bin/vorlex\" --root" ]]; then
  fail "the screensaver entry: ${report:-Exec=$exec_line}"
else
  pass "the screensaver entry is valid and runs the launcher with --root"
fi
xml=$prefix/share/xscreensaver/config/vorlex.xml
if page=$(python3 -c 'import sys, xml.etree.ElementTree as t
r = t.parse(sys.argv[1]).getroot()
print(r.tag, r.get("name"), r.find("command").get("arg"), bool(r.findtext("_description").strip()))' "$xml" 2>&1) &&
  [[ $page == "screensaver vorlex --root True" ]]; then
  pass "XScreenSaver's page for the demo names it, its --root and its description"
else
  fail "$xml: $page"
fi

home=$work/home
mkdir -p "$home/run"
chmod 700 "$home/run"
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
user=("${as_user[@]}" env HOME="$home" XDG_RUNTIME_DIR="$home/run" PATH="$prefix/bin:$PATH")

# The demos this run started: the installed program, run by the launcher
# from its folder. Prints their PIDs and command lines.
demos() {
  local pid
  for pid in $(pgrep -f '^\./Vorlex\.app/Contents/MacOS/Vorlex'); do
    [[ $(readlink "/proc/$pid/cwd") == "$app_folder" ]] && echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline")"
  done
}
# Waits up to 10 s for the demos to end.
expect_none_left() {
  for _ in $(seq 100); do
    [[ -z $(demos) ]] && { pass "$1"; return; }
    sleep 0.1
  done
  fail "$1: still running: $(demos)"
}
# Lets the demos run past their first five-second frame-rate window, whose
# line would go where their standard output goes.
outlast_rate_window() {
  local pid age
  for pid in $(demos | cut -d ' ' -f 1); do
    age=$(ps -o etimes= -p "$pid") && ((age < 6)) && sleep $((6 - age))
  done
}
log=$home/xscreensaver.log

"${user[@]}" xscreensaver --no-splash --log "$log" >/dev/null 2>&1 &
daemon=$!
cleanups+=('kill "$daemon" 2>/dev/null; wait "$daemon" 2>/dev/null')
for _ in $(seq 100); do
  "${user[@]}" xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.1
done

# The settings dialog shows the selected mode in its preview at once.
"${user[@]}" xscreensaver-settings >"$work/settings.log" 2>&1 &
settings=$!
cleanups+=('kill "$settings" 2>/dev/null; wait "$settings" 2>/dev/null')
preview=
for _ in $(seq 100); do
  preview=$(demos | sed -n 's/.* --root --window-id \(0x[0-9a-fA-F]*\) *$/\1/p')
  [[ -n $preview ]] && break
  sleep 0.1
done
if [[ -z $preview ]]; then
  fail "xscreensaver-settings: no preview ran; running: $(demos)"
else
  read -r w h < <(xwininfo -id "$preview" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
  expect_picture "the settings dialog's ${w}x${h} preview" "$w" "$h" "$preview"
  outlast_rate_window
fi
kill "$settings"
wait "$settings" 2>/dev/null
expect_none_left "closing the settings dialog ends the preview"

read -r width height < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
if "${user[@]}" xscreensaver-command -activate >/dev/null 2>&1; then
  expect_picture "xscreensaver-command -activate" "$width" "$height"
else
  fail "xscreensaver-command -activate: the daemon does not answer; its log: $(tail -c 400 "$log")"
fi
demos | grep -q -- ' --root *$' && pass "the daemon runs the demo with --root" ||
  fail "no demo running; the daemon's log: $(tail -c 400 "$log")"
outlast_rate_window
"${user[@]}" xscreensaver-command -deactivate >/dev/null 2>&1
expect_none_left "xscreensaver-command -deactivate ends the demo"

# The daemon's log takes the demo's standard output and error, and the
# settings dialog's output its preview's: every line in the log must be the
# daemon's own (its programs' lines begin with their names, its banner with a
# blank or #), and it must have seen each demo end as it ended them, by
# SIGTERM.
if strangers=$(grep -E '^[^#[:space:]]' "$log" | grep -v '^xscreensaver'); [[ -n $strangers ]]; then
  fail "the demo wrote to the daemon's log: $(head -c 400 <<<"$strangers")"
elif grep -qE '^[0-9]+$|Vorlex' "$work/settings.log"; then
  fail "the preview wrote to the settings dialog's output: $(head -c 400 "$work/settings.log")"
elif grep -q 'abnormally' "$log"; then
  fail "the daemon logged an abnormal end: $(grep 'abnormally' "$log" | head -c 400)"
else
  pass "the daemon's log holds none of the demo's lines and no abnormal end"
fi
"${user[@]}" xscreensaver-command -exit >/dev/null 2>&1
wait_for "$daemon" 10
finish
