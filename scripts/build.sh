#!/usr/bin/env bash
# Configures and builds Vorlex into build/ (or $VORLEX_BUILD).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLEX_BUILD:-$root/build}
cmake -S "$root" -B "$build" -DVORLEX_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
