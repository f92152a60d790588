#!/usr/bin/env bash
# Installs what is missing, builds, and starts the demo on your display.
# The program opens its images relative to the folder that holds Vorlex.app,
# so it is started from there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
cd "${VORLEX_BUILD:-$root/build}"
exec ./Vorlex.app/Contents/MacOS/Vorlex
