#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that
# need a display start their own Xvfb.
#
#   scripts/test.sh            everything: the suite, the sanitizer run, the
#                              web page, the fuzzer, the Debian package, for
#                              this machine and for arm64 under qemu-user,
#                              and Windows under Wine (about half an hour
#                              on two cores; the packages need root)
#   scripts/test.sh ARGS...    only the suite, with ARGS passed to ctest,
#                              e.g. -L unit, or -R soak with SOAK_SECONDS=600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLEX_BUILD:-$root/build}
"$root/scripts/lib/deps.sh" build run test

echo "== The suite"
# Asked for, so that a missing package stops the configure step instead of
# leaving the tests out.
VORLEX_BUILD=$build "$root/scripts/lib/build.sh" -DVORLEX_TESTS=ON -DVORLEX_BENCH=ON
(cd "$build" && ctest --output-on-failure -j "$(nproc)" "$@")
(($# == 0)) || exit 0

echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
VORLEX_BUILD=$build-sanitize "$root/scripts/lib/build.sh" -DVORLEX_SANITIZE=ON -DVORLEX_TESTS=ON
cd "$build-sanitize"
ctest --output-on-failure -j "$(nproc)" -L "unit|calls"
# Mesa's driver is unloaded before LeakSanitizer reports at exit, so what it
# still holds shows up under no module name and cannot be told from a leak
# of ours by a suppression. The tests that run the real GL therefore check
# for memory errors and undefined behaviour only; the same code of ours runs
# with leak checking in the unit and call-sequence tests above.
ASAN_OPTIONS=detect_leaks=0:strict_string_checks=1 \
  ctest --output-on-failure -j "$(nproc)" -R "_render$|^desktop_e2e$|^desktop_foreign_window$"
cd "$root"
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

echo "== The web page"
VORLEX_BUILD=$build "$root/scripts/web.sh" test

echo "== The image fuzzer"
"$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-60}"

echo "== The Debian package, installed on a fresh Debian 12"
"$root/tests/package/package_test.sh"

echo "== The Debian package for arm64, built and run in arm64 roots under qemu-user"
"$root/tests/package/package_test.sh" arm64

echo "== Windows, cross-built and run under Wine"
"$root/scripts/windows.sh" test

echo "stages: 7 passed, 0 failed"
