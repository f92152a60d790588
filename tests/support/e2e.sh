# What the end-to-end scripts share; sourced, with the folder that holds
# Vorlex.app as $1 of the script. Sets build, app, work (a scratch folder,
# removed at exit) and the pass and fail counts that finish reports.
build=$(cd "$1" && pwd)
app=$build/Vorlex.app/Contents/MacOS/Vorlex
work=$(mktemp -d)
cleanups=('rm -rf "$work"')
trap 'for c in "${cleanups[@]}"; do eval "$c"; done' EXIT
failures=0
passed=0
# The program under a name of this run's own, so that a look for what is left
# running sees this script's processes and not those of a test beside it.
runner=$work/vorlex-under-test
ln -s "$app" "$runner"

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passed=$((passed + 1)); }

# Waits up to $2 seconds for process $1 to end and sets status to its exit
# status, or to "hung" after killing it.
wait_for() {
  local pid=$1 limit=$2
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=hung
}

# Runs the program from folder $1 with the environment settings after $3 and
# expects it to fail as promised: within 20 s, status 1, exactly one line on
# standard error matching $2, nothing on standard output, nothing left running.
expect_failure() {
  local folder=$1 pattern=$2 what=$3
  shift 3
  (cd "$folder" && exec env "$@" "$runner" >"$work/out" 2>"$work/err") &
  wait_for $! 20
  local lines
  lines=$(wc -l <"$work/err")
  if [[ $status != 1 ]]; then
    fail "$what: status $status, expected 1; stderr: $(head -c 400 "$work/err")"
  elif [[ $lines != 1 ]] || ! grep -qE "$pattern" "$work/err"; then
    fail "$what: expected one line matching /$pattern/, got $lines: $(head -c 400 "$work/err")"
  elif [[ -s $work/out ]]; then
    fail "$what: wrote to standard output: $(head -c 200 "$work/out")"
  elif pgrep -f "^$runner" >/dev/null; then
    fail "$what: a Vorlex process is left running"
  else
    pass "$what: $(cat "$work/err")"
  fi
}

# A fresh copy of the bundle's resources under $work/run, in which a file can
# be broken; prints the resource folder.
fresh_bundle() {
  rm -rf "$work/run"
  mkdir -p "$work/run/Vorlex.app/Contents"
  cp -r "$build/Vorlex.app/Contents/Resources" "$work/run/Vorlex.app/Contents/"
  echo "$work/run/Vorlex.app/Contents/Resources"
}

# The closing line, and the script's status.
finish() {
  echo "$passed passed, $failures failed"
  [[ $failures == 0 ]]
}
