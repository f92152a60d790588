#!/usr/bin/env bash
# Installs what building and running Vorlex need, builds the program and its
# bundle, and starts it on your display. Standard output is the program's
# alone: what is installed and built is said briefly on standard error, and
# a start with nothing to install or rebuild goes straight to the program.
# The program opens its images relative to the folder that holds Vorlex.app,
# so it is started from there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/lib/deps.sh" build run >&2
"$root/scripts/lib/build.sh" --quiet --target Vorlex >&2
cd "${VORLEX_BUILD:-$root/build}"
exec ./Vorlex.app/Contents/MacOS/Vorlex
