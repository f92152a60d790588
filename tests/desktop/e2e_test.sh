#!/usr/bin/env bash
# The real program under Xvfb, driven from outside: it runs, prints whole-number
# frame-rate lines, ends on a real Escape key press, and answers every broken
# start with exactly one line on standard error and status 1.
# Usage: e2e_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"

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

finish
