#!/usr/bin/env bash
# Renders frames of the demo on a private Xvfb, with no timing involved, and
# writes them as docs/frame-NNNN.png: by default frames 1, 100 and 1000, the
# pictures the README shows. Run by hand after changing what the scenes draw,
# and commit the pictures; the test run does not make them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLEX_BUILD:-$root/build}
frames=("$@")
((${#frames[@]})) || frames=(1 100 1000)

"$root/scripts/lib/deps.sh" build run test pictures
"$root/scripts/lib/build.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# From the folder that holds Vorlex.app, where the images resolve.
(cd "$build" && "$root/tests/support/with_xvfb.sh" ./tests/scenes_pictures "$work" "${frames[@]}")

mkdir -p "$root/docs"
for n in "${frames[@]}"; do
  name=$(printf 'frame-%04d' "$n")
  # -strip leaves out the time stamps, so the same frame gives the same file.
  convert "$work/$name.ppm" -strip "$root/docs/$name.png"
  echo "docs/$name.png"
done
