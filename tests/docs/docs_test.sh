#!/usr/bin/env bash
# The pictures in docs/ still show what the code draws: every
# docs/frame-NNNN.png is frame NNNN drawn again headless as
# scripts/pictures.sh draws it, and docs/preview-1.png to -3.png the frames
# scripts/preview.sh takes them from, by default, with its modelled clock.
# Each is compared pixel for pixel; headless drawing on llvmpipe is exact.
# docs/preview.gif is not compared frame by frame: its stills are, and the
# same renderer draws both.
# Usage: docs_test.sh DOCS_CHECK   (from the folder that holds Vorlex.app;
# needs DISPLAY)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
check=$1
failures=0
passed=0

pictures=()
for file in "$root"/docs/frame-*.png; do
  [[ -e $file ]] || continue
  name=${file##*/frame-}
  pictures+=("$((10#${name%.png}))" "$file")
done
stills=()
while read -r quarter frame; do
  stills+=("$frame" "$root/docs/preview-$quarter.png")
done < <("$root/scripts/preview.sh" --stills)

compare() {
  local output
  output=$("$check" "$@")
  local status=$?
  echo "$output"
  passed=$((passed + $(grep -c '^same: ' <<<"$output")))
  ((status == 0)) || failures=$((failures + 1))
}
if ((${#pictures[@]} == 0 || ${#stills[@]} == 0)); then
  echo "FAIL: no docs/frame-NNNN.png, or no preview stills named by scripts/preview.sh --stills"
  failures=$((failures + 1))
fi
compare "${pictures[@]}"
compare --modelled-clock "${stills[@]}"
((failures == 0)) || echo "Redraw them with scripts/pictures.sh and scripts/preview.sh if the change was meant."
echo "$passed passed, $failures failed"
((failures == 0))
