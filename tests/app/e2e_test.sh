#!/usr/bin/env bash
# The real program under Xvfb, driven from outside: it runs, prints whole-number
# frame-rate lines, ends on a real Escape key press, and answers every broken
# start with exactly one line on standard error and status 1.
# Usage: e2e_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
build=$(cd "$1" && pwd)
app=$build/Vorlex.app/Contents/MacOS/Vorlex
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passed=$((passed + 1)); }

# Waits up to $2 seconds for process $1 to end and sets status to its exit
# status, or to "hung" after killing it.
wait_for() {
  local pid=$1 limit=$2
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=hung
}

# Runs the program from folder $1 with the rest as environment settings and
# expects status 1 and exactly one line on standard error matching $2.
expect_failure() {
  local folder=$1 pattern=$2 what=$3
  shift 3
  (cd "$folder" && env "$@" "$app" >"$work/out" 2>"$work/err") &
  wait_for $! 20
  local lines
  lines=$(wc -l <"$work/err")
  if [[ $status != 1 ]]; then
    fail "$what: status $status, expected 1; stderr: $(cat "$work/err")"
  elif [[ $lines != 1 ]] || ! grep -qE "$pattern" "$work/err"; then
    fail "$what: expected one line matching /$pattern/, got $lines: $(cat "$work/err")"
  else
    pass "$what: $(cat "$work/err")"
  fi
}

# A copy of the bundle's resources in which one file can be broken.
fresh_bundle() {
  rm -rf "$work/run"
  mkdir -p "$work/run/Vorlex.app/Contents"
  cp -r "$build/Vorlex.app/Contents/Resources" "$work/run/Vorlex.app/Contents/"
  echo "$work/run/Vorlex.app/Contents/Resources"
}

# 1. A normal run: frame-rate lines, then a real Escape press ends it with 0.
(cd "$build" && exec "$app" >"$work/rate" 2>"$work/err") &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^OpenGL Test Window$' 2>/dev/null | head -n 1)
[[ -n $window ]] || fail "no window titled \"OpenGL Test Window\" appeared"
for _ in $(seq 150); do
  [[ $(wc -l <"$work/rate") -ge 1 ]] && break
  sleep 0.1
done
xdotool key Escape
wait_for "$pid" 10
if [[ $status != 0 ]]; then
  fail "Escape: status $status, expected 0; stderr: $(cat "$work/err")"
else
  pass "Escape ends the program with status 0"
fi
if [[ ! -s $work/rate ]]; then
  fail "no frame-rate line within 15 seconds"
elif grep -qvE '^[0-9]+$' "$work/rate"; then
  fail "frame-rate lines are not whole numbers: $(head -c 200 "$work/rate")"
else
  pass "frame-rate lines: $(tr '\n' ' ' <"$work/rate")"
fi
if [[ -s $work/err ]]; then
  fail "a normal run wrote to standard error: $(head -c 300 "$work/err")"
fi

# 2. Broken starts.
res=$(fresh_bundle)
rm "$res/image.gif"
expect_failure "$work/run" '^Vorlex: cannot load "Vorlex.app/Contents/Resources/image.gif" \(working directory .*\): .*; start the program from the folder that holds Vorlex.app$' \
  "missing image"

res=$(fresh_bundle)
head -c 40 "$build/Vorlex.app/Contents/Resources/img24.png" >"$res/img24.png"
expect_failure "$work/run" '^Vorlex: cannot load "Vorlex.app/Contents/Resources/img24.png" \(working directory .*\): .+$' \
  "image cut short"

res=$(fresh_bundle)
printf 'not an image at all\n' >"$res/fontB12.gif"
expect_failure "$work/run" '^Vorlex: cannot load "Vorlex.app/Contents/Resources/fontB12.gif" .*' \
  "text under an image's name"

expect_failure / '^Vorlex: cannot load "Vorlex.app/Contents/Resources/image.bmp" \(working directory /\): .*start the program from the folder that holds Vorlex.app$' \
  "started from another folder"

expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not set' \
  "no display" -u DISPLAY

echo "$passed passed, $failures failed"
[[ $failures == 0 ]]
