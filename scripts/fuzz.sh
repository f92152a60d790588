#!/usr/bin/env bash
# Builds the image fuzzer with clang and runs it for SECONDS (default 60) from
# a corpus seeded with the program's own images, after replaying every input
# that once crashed it (tests/fuzz/regressions). A crash it finds is saved
# under build-fuzz/crashes/; add it to tests/fuzz/regressions and fix it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLEX_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-60}
"$root/scripts/lib/deps.sh" build fuzz
# Without llvm-symbolizer a crash's stack shows addresses, not functions.
symbolizer=$(clang++ -print-prog-name=llvm-symbolizer)
if [[ ! -x $symbolizer ]]; then
  echo "fuzz.sh: clang finds no llvm-symbolizer (looked for \"$symbolizer\"); scripts/lib/deps.sh fuzz installs it" >&2
  exit 1
fi
export ASAN_SYMBOLIZER_PATH=$symbolizer
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVORLEX_FUZZ=ON -DVORLEX_TESTS=OFF -DVORLEX_BENCH=OFF \
  -DVORLEX_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target image_fuzz

mkdir -p "$build/corpus" "$build/crashes"
cp "$root"/resources/*.{bmp,gif,png} "$build/corpus/"
regressions=("$root"/tests/fuzz/regressions/*)
if [[ -e ${regressions[0]} ]]; then
  "$build/image_fuzz" "${regressions[@]}"
fi
"$build/image_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$build/crashes/" "$build/corpus"
