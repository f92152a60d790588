#!/usr/bin/env bash
# What the scripts install and what the plain build needs: deps.sh refuses an
# unknown purpose in one line and lists only packages Debian has; configure
# without the test packages leaves the tests and the benchmark out and says so
# in one line, and asking for them makes the missing package an error.
# Usage: gating_test.sh SOURCE_DIR
set -u
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passed=$((passed + 1)); }

# deps.sh ARGS: expected status, and the one line expected on standard error.
while IFS='|' read -r args want pattern; do
  # shellcheck disable=SC2086  # ARGS are words
  "$src/scripts/lib/deps.sh" $args >"$work/out" 2>"$work/err"
  got=$?
  if [[ $got != "$want" || $(wc -l <"$work/err") != 1 ]] || ! grep -qE "$pattern" "$work/err"; then
    fail "deps.sh $args: status $got, expected $want and one line /$pattern/; got: $(cat "$work/err")"
  else
    pass "deps.sh $args: $(cat "$work/err")"
  fi
done <<'CASES'
|2|^usage: scripts/lib/deps.sh PURPOSE
build nothing|2|^deps.sh: no such purpose "nothing"
CASES

purposes=$(sed -n 's/.*(any of: \(.*\))$/\1/p' "$work/err")
# shellcheck disable=SC2086  # one word per purpose
mapfile -t listed < <("$src/scripts/lib/deps.sh" --list $purposes | sort -u)
# One look-up for them all: apt reads its whole cache for each call, which
# for every package one by one takes minutes on a busy machine. It passes
# over a name it does not know.
known=$(apt-cache show --no-all-versions "${listed[@]}" 2>/dev/null | sed -n 's/^Package: //p' | sort -u)
unknown=()
for p in "${listed[@]}"; do
  grep -qxF "$p" <<<"$known" || unknown+=("$p")
done
if [[ -z $purposes ]] || ((${#unknown[@]})); then
  fail "packages of \"$purposes\" that apt does not know: ${unknown[*]}"
else
  pass "every package of $purposes is one apt knows"
fi

# Configure ARGS: expected status (ok or error), what the output must show
# (empty: no "skipping" line), and whether the tests are built.
while IFS='|' read -r args want pattern tests; do
  rm -rf "$work/build"
  # shellcheck disable=SC2086
  if cmake -S "$src" -B "$work/build" $args >"$work/out" 2>&1; then got=ok; else got=error; fi
  has=no
  [[ ! -f $work/build/tests/CTestTestfile.cmake ]] || has=yes
  skips=$(grep -c 'Vorlex: skipping' "$work/out")
  if [[ -n $pattern ]]; then shown=$(grep -cE "$pattern" "$work/out"); else shown=$((skips == 0)); fi
  if [[ $got != "$want" || $shown == 0 || $skips -gt 1 || $has != "$tests" ]]; then
    fail "configure $args: $got (expected $want), tests built: $has (expected $tests), /$pattern/ shown $shown times, $skips skipping lines: $(tail -n 8 "$work/out")"
  else
    pass "configure $args: $got, tests built: $has"
  fi
done <<'CASES'
-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON|ok|^-- Vorlex: skipping VORLEX_TESTS: GoogleTest .* not found; VORLEX_BENCH: Google Benchmark .* not found|no
-DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DVORLEX_SANITIZE=ON|ok||yes
-DVORLEX_TESTS=ON -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON|error|GTest.*REQUIRED|no
-DVORLEX_BENCH=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON|error|benchmark.*REQUIRED|no
CASES

echo "$passed passed, $failures failed"
[[ $failures == 0 ]]
