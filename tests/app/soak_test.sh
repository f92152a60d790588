#!/usr/bin/env bash
# A long run of the real program under Xvfb: resident memory stays flat after
# the first frame-rate window, every frame-rate line lies between 55 and 63,
# and the GL reports no error on any frame.
# Usage: soak_test.sh BUILD_DIR PROGRAM   (PROGRAM: a build that checks GL
# errors each frame; SOAK_SECONDS, default 60; needs DISPLAY)
set -u
build=$(cd "$1" && pwd)
program=$2
seconds=${SOAK_SECONDS:-60}
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
passed=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passed=$((passed + 1)); }
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }

(cd "$build" && exec "$program" >"$work/rate" 2>"$work/err") &
pid=$!
for _ in $(seq 300); do
  [[ -s $work/rate ]] && break
  sleep 0.05
done
[[ -s $work/rate ]] || fail "no frame-rate line within 15 seconds"
before=$(rss)
echo "resident after the first window: $before KiB; running for $seconds s"
samples=()
for ((left = seconds; left > 0; left -= 5)); do
  sleep $((left < 5 ? left : 5))
  samples+=("$(rss)")
done
after=${samples[-1]}
echo "resident every 5 s (KiB): ${samples[*]}"
xdotool key Escape
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "still running 10 s after Escape"
else
  wait "$pid"
  status=$?
  [[ $status == 0 ]] && pass "ended with status 0 on Escape" || fail "ended with status $status"
fi

growth=$((after - before))
((growth < 1024)) && pass "resident memory grew by $growth KiB ($before to $after)" \
  || fail "resident memory grew by $growth KiB ($before to $after), 1024 allowed"

lines=$(wc -l <"$work/rate")
outside=$(awk '!/^[0-9]+$/ || $1 < 55 || $1 > 63' "$work/rate" | tr '\n' ' ')
if ((lines < seconds / 5)); then
  fail "only $lines frame-rate lines in $seconds s"
elif [[ -n $outside ]]; then
  fail "frame-rate lines outside 55 to 63: $outside(all: $(tr '\n' ' ' <"$work/rate"))"
else
  pass "$lines frame-rate lines, all between 55 and 63: $(sort -n "$work/rate" | uniq -c | tr -s ' \n' ' ')"
fi

[[ -s $work/err ]] && fail "standard error: $(head -c 300 "$work/err")" || pass "no GL error on any frame"

echo "$passed passed, $failures failed"
[[ $failures == 0 ]]
