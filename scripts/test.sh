#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that
# need a display start their own Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
cd "${VORLEX_BUILD:-$root/build}"
ctest --output-on-failure -j "$(nproc)" "$@"
