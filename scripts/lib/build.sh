#!/usr/bin/env bash
# Configures and builds Vorlex into build/ (or $VORLEX_BUILD).
#
#   scripts/lib/build.sh [--quiet] [--target NAME]... [CMAKE_ARG...]
#
# CMAKE_ARGs (e.g. -DVORLEX_SANITIZE=ON) go to the configure step, which runs
# when there are any or the folder is not configured yet; otherwise the build
# reconfigures by itself when a CMakeLists.txt changed. --quiet writes nothing
# but one line on standard error when something is built, and the whole
# output when configuring or building fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VORLEX_BUILD:-$root/build}
me=build.sh

quiet=0
targets=()
names=()
while (($#)); do
  case $1 in
    --quiet) quiet=1; shift ;;
    --target) (($# >= 2)) || { echo "$me: --target needs a NAME" >&2; exit 2; }
              targets+=(--target "$2"); names+=("$2"); shift 2 ;;
    *) break ;;
  esac
done

# A configure step that failed leaves a cache but no build files.
configured() { [[ -f $build/Makefile || -f $build/build.ninja ]]; }

if ((quiet == 0)); then
  if (($#)) || ! configured; then
    cmake -S "$root" -B "$build" -DVORLEX_WERROR=ON "$@" >/dev/null
  fi
  exec cmake --build "$build" -j "$(nproc)" "${targets[@]}"
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
show_log() { cat "$log" >&2; echo "$me: $1 failed in $build" >&2; exit 1; }
if (($#)) || ! configured; then
  cmake -S "$root" -B "$build" -DVORLEX_WERROR=ON "$@" >"$log" 2>&1 || show_log "configuring"
fi
# The first line that compiles, links or copies says so once; a build with
# nothing to do says nothing.
cmake --build "$build" -j "$(nproc)" "${targets[@]}" 2>&1 |
  awk -v out="$log" -v say="$me: building ${names[*]:-everything} in $build" '
    { print >> out; fflush(out) }
    !said && /Building|Linking|Bundling|Generating/ { print say > "/dev/stderr"; said = 1 }' ||
  show_log "building"
