#!/usr/bin/env bash
# What the desktop session hears and sees of the demo, on a session bus of
# the test's own (dbus-run-session) watched by dbus-monitor. Full screen keeps
# the screensaver off under the demo's own name. As a screensaver, --root and
# --window-id side by side, past SDL's 30-second beat, ask for no inhibit,
# simulate no activity and leave the X idle timer to count on.
# Usage: session_test.sh BUILD_DIR HOST_WINDOW   (needs DISPLAY and a session bus)
set -u
host_window=$2
source "$(dirname "$0")/../support/e2e.sh"

dbus-monitor --session >"$work/bus" 2>&1 &
monitor=$!
cleanups+=('kill "$monitor" 2>/dev/null')
# The monitor is listening once it has said so, with its own NameAcquired.
for _ in $(seq 100); do grep -q NameAcquired "$work/bus" && break; sleep 0.1; done
# The inhibits asked for, each with the two strings it passes.
inhibits() { grep -A 2 -E 'member=Inhibit$' "$work/bus" | grep -oE 'member=\w+|string ".*"' | tr '\n' ' '; }
# The X server's idle time in milliseconds, which an X idle-timer reset zeroes.
idle() {
  python3 - <<'PY'
import ctypes
x, xss = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXss.so.1")
class Info(ctypes.Structure):
    _fields_ = [("window", ctypes.c_ulong), ("state", ctypes.c_int), ("kind", ctypes.c_int),
                ("til_or_since", ctypes.c_ulong), ("idle", ctypes.c_ulong), ("mask", ctypes.c_ulong)]
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype, x.XDefaultRootWindow.argtypes = ctypes.c_ulong, [ctypes.c_void_p]
xss.XScreenSaverQueryInfo.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
display, info = x.XOpenDisplay(None), Info()
xss.XScreenSaverQueryInfo(display, x.XDefaultRootWindow(display), ctypes.byref(info))
print(info.idle)
PY
}

if start "$build" "$runner"; then
  for _ in $(seq 50); do [[ -n $(inhibits) ]] && break; sleep 0.1; done
  said=$(inhibits)
  xdotool key Escape
  expect_clean_exit "full screen, then Escape,"
  if [[ $said == 'member=Inhibit string "Vorlex" string "Running the demo" ' ]]; then
    pass "full screen keeps the screensaver off as \"Vorlex\", \"Running the demo\""
  else
    fail "full screen: expected one Inhibit(\"Vorlex\", \"Running the demo\"), the bus saw: ${said:-nothing}"
  fi
fi

# The two screensaver modes side by side, past SDL's 30-second beat.
heard=$(wc -l <"$work/bus")
coproc HOST { "$host_window" 320 240; }
read -r host_id <&"${HOST[0]}"
(cd "$build" && exec "$runner" --root >"$work/root.out" 2>"$work/root.err") &
root=$!
(cd "$build" && exec "$runner" --window-id "$host_id" >"$work/id.out" 2>"$work/id.err") &
id=$!
began=$(date +%s%N)
sleep 33
idle_ms=$(idle)
elapsed_ms=$((($(date +%s%N) - began) / 1000000))
kill -s INT "$root" "$id"
wait_for "$root" 10
root_status=$status
wait_for "$id" 10
exec {HOST[1]}>&-
tail -n +$((heard + 1)) "$work/bus" >"$work/bus.saver"
said=$(grep -oE 'member=(Inhibit|SimulateUserActivity)$' "$work/bus.saver" | sort | uniq -c | tr -s ' \n' ' ')
if [[ $root_status != 0 || $status != 0 || -s $work/root.err || -s $work/id.err ]]; then
  fail "--root and --window-id: status $root_status and $status; stderr: $(cat "$work/root.err" "$work/id.err" | head -c 300)"
else
  pass "--root and --window-id ran for ${elapsed_ms} ms and ended on SIGINT"
fi
if [[ -n $said ]]; then
  fail "--root and --window-id called screensavers over the bus:$said"
else
  pass "--root and --window-id asked for no inhibit and simulated no activity"
fi
# Without a reset the X server counts from before the two started.
if ((idle_ms + 1000 < elapsed_ms)); then
  fail "--root and --window-id reset the X idle timer: idle for ${idle_ms} ms after ${elapsed_ms} ms of running"
else
  pass "--root and --window-id left the X idle timer alone: idle for ${idle_ms} ms"
fi

finish
