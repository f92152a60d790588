#!/usr/bin/env bash
# Installs what is missing, builds, and runs the benchmark on a private Xvfb
# (640x480x24, Mesa's llvmpipe; the paced runs start servers of their own,
# 640x480 and 1920x1080): Google Benchmark's tables, then each goal with pass
# or fail. Exits 1 when a goal is missed. Extra arguments go to Google
# Benchmark (e.g. --benchmark_filter=frame). Takes about ten minutes; run it
# on a machine that is otherwise idle for steadier figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLEX_BUILD:-$root/build}
"$root/scripts/lib/deps.sh" build run test
"$root/scripts/lib/build.sh"
# From the folder that holds Vorlex.app, where the images resolve.
cd "$build"
status=0
"$root/tests/support/with_xvfb.sh" ./bench/vorlex_bench "$@" || status=1
# The web page's figures, in the same table format: its size and first frame,
# then what a frame costs it against a plain-WebGL replay of its own frames.
"$root/scripts/web.sh" figures || status=1
node "$root/bench/web/cost.js" "${VORLEX_WEB_PAGE:-$root/dist/web}" || status=1
# Lighthouse's scores, reported, never judged: its Performance follows the load.
"$root/scripts/web.sh" audit || status=1
exit $status
