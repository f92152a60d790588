#!/usr/bin/env bash
# What the desktop session hears of the demo on a session bus of the test's
# own (dbus-run-session), read by dbus-monitor: full screen keeps the
# screensaver off under the demo's own name; --root and --window-id, side by
# side past SDL's 30-second beat, ask for no inhibit, simulate no activity and
# leave the X idle timer counting.
# Usage: session_test.sh BUILD_DIR HOST_WINDOW   (needs DISPLAY and a session bus)
set -u
host_window=$2
source "$(dirname "$0")/../support/e2e.sh"

dbus-monitor --session >"$work/bus" 2>&1 &
cleanups+=("kill $! 2>/dev/null")
for _ in $(seq 100); do grep -q NameAcquired "$work/bus" && break; sleep 0.1; done
# The inhibits asked for, each with its two strings.
inhibits() { grep -A 2 -E 'member=Inhibit$' "$work/bus" | grep -oE 'member=\w+|string ".*"' | tr '\n' ' '; }

if start "$build" "$runner"; then
  for _ in $(seq 50); do [[ -n $(inhibits) ]] && break; sleep 0.1; done
  said=$(inhibits)
  xdotool key Escape
  expect_clean_exit "full screen, then Escape,"
  [[ $said == 'member=Inhibit string "Vorlex" string "Running the demo" ' ]] &&
    pass "full screen keeps the screensaver off as \"Vorlex\", \"Running the demo\"" ||
    fail "full screen: expected one Inhibit(\"Vorlex\", \"Running the demo\"), the bus saw: ${said:-nothing}"
fi

heard=$(wc -l <"$work/bus")
coproc HOST { "$host_window" 320 240; }
read -r host_id <&"${HOST[0]}"
(cd "$build" && exec "$runner" --root >"$work/out" 2>"$work/err") &
root=$!
(cd "$build" && exec "$runner" --window-id "$host_id" >>"$work/out" 2>>"$work/err") &
id=$!
began=$(date +%s%N)
sleep 33
idle_ms=$(xprintidle)
elapsed_ms=$((($(date +%s%N) - began) / 1000000))
kill -s INT "$root" "$id"
wait_for "$id" 10
id_status=$status
wait_for "$root" 10
exec {HOST[1]}>&-
said=$(tail -n +$((heard + 1)) "$work/bus" | grep -oE 'member=(Inhibit|SimulateUserActivity)$' | sort | uniq -c | tr -s ' \n' ' ')
[[ $status == 0 && $id_status == 0 && ! -s $work/err ]] ||
  fail "--root and --window-id: status $status and $id_status; stderr: $(head -c 300 "$work/err")"
[[ -z $said ]] && pass "--root and --window-id asked for no inhibit and simulated no activity" ||
  fail "--root and --window-id called screensavers over the bus:$said"
# Without a reset the X server counts from before the two started.
((idle_ms + 1000 >= elapsed_ms)) && pass "--root and --window-id left the X idle timer counting: ${idle_ms} ms" ||
  fail "--root and --window-id reset the X idle timer: idle for ${idle_ms} ms after ${elapsed_ms} ms of running"

finish
