#!/usr/bin/env bash
# Renders the demo's first SECONDS seconds (default 8) on a private Xvfb,
# frame by frame with no timing involved, and writes the animated preview
# docs/preview.gif and three stills from it, docs/preview-1.png to -3.png, at
# a quarter, half and three quarters of the way. Installs what is missing
# (ImageMagick too) and builds first. Run by hand after changing what the
# scenes draw, and commit the files; the test run does not make them, but
# checks the stills against the code (tests/docs). --stills only prints the
# frame each still is taken from.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLEX_BUILD:-$root/build}
stills_only=
if [[ ${1:-} == --stills ]]; then
  stills_only=1
  shift
fi
seconds=${1:-8}
if [[ ! $seconds =~ ^[1-9][0-9]*$ ]] || ((seconds > 120)); then
  echo "preview.sh: SECONDS must be a whole number from 1 to 120, not \"$seconds\"" >&2
  exit 2
fi

# The frame loop paces frames to 16 ms: 62.5 of them a second. Every third
# frame is kept, 48 ms apart, shown for 5 hundredths of a second (a GIF
# counts in those), so the preview plays 4% slower than the demo.
frames=$((seconds * 1000 / 16))
step=3
# The still of a quarter: the kept frame nearest below it (kept frames are
# 1, 1 + step, ...).
still() { echo $(( (frames * $1 / 4 - 1) / step * step + 1 )); }
if [[ $stills_only ]]; then
  # For the test that checks docs/: each quarter and its frame, nothing made.
  for quarter in 1 2 3; do echo "$quarter $(still "$quarter")"; done
  exit 0
fi

"$root/scripts/lib/deps.sh" build run test pictures
"$root/scripts/lib/build.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# From the folder that holds Vorlex.app, where the images resolve.
(cd "$build" && "$root/tests/support/with_xvfb.sh" ./tools/vorlex_preview "$work" "$frames" "$step")

mkdir -p "$root/docs"
# One palette for the whole animation and no dithering: flat colours stay
# flat, and unchanged areas compress to nothing between frames.
convert -delay 5 -loop 0 "$work"/frame-*.ppm +dither -layers Optimize "$root/docs/preview.gif"
echo "docs/preview.gif ($(( (frames - 1) / step + 1 )) frames of $frames, $(du -k "$root/docs/preview.gif" | cut -f1) KiB)"
for quarter in 1 2 3; do
  n=$(still "$quarter")
  # -strip leaves out the time stamps, so the same frame gives the same file.
  convert "$work/$(printf 'frame-%05d' "$n").ppm" -strip "$root/docs/preview-$quarter.png"
  echo "docs/preview-$quarter.png (frame $n)"
done
