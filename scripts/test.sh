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

if (($# > 0)); then
  VORLEX_BUILD=$build "$root/scripts/lib/build.sh" -DVORLEX_TESTS=ON -DVORLEX_BENCH=ON
  cd "$build" && exec ctest --output-on-failure -j "$(nproc)" "$@"
fi

suite() {
  # Asked for, so that a missing package stops the configure step instead of
  # leaving the tests out.
  VORLEX_BUILD=$build "$root/scripts/lib/build.sh" -DVORLEX_TESTS=ON -DVORLEX_BENCH=ON
  cd "$build"
  ctest --output-on-failure -j "$(nproc)"
}

sanitized() {
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
}

# Every stage runs, whatever an earlier one gave, so one run shows every
# failure; the script fails when any stage did.
passed=0 failed=()
stage() {
  local title=$1
  shift
  echo "== $title"
  # A subshell, so that a stage's cd and exports stay its own and its first
  # failing command ends it (a test in an "if" would not).
  set +e
  (set -e; "$@")
  local status=$?
  set -e
  if ((status == 0)); then
    passed=$((passed + 1))
  else
    failed+=("$title")
    echo "== failed: $title (status $status)" >&2
  fi
}

stage "The suite" suite
# The web stage tests against the desktop build the suite made.
stage "The suite under AddressSanitizer and UndefinedBehaviorSanitizer" sanitized
stage "The web page" env VORLEX_BUILD="$build" "$root/scripts/web.sh" test
stage "The image fuzzer" "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-60}"
stage "The Debian package, installed on a fresh Debian 12" "$root/tests/package/package_test.sh"
stage "The Debian package for arm64, built and run in arm64 roots under qemu-user" \
  "$root/tests/package/package_test.sh" arm64
stage "Windows, cross-built and run under Wine" "$root/scripts/windows.sh" test

echo "stages: $passed passed, ${#failed[@]} failed"
((${#failed[@]} == 0)) || { printf 'failed: %s\n' "${failed[@]}" >&2; exit 1; }
