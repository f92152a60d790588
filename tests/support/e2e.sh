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
# the options in the array options, and expects it to fail as promised: within
# 20 s, status 1, exactly one line on standard error matching $2, nothing on
# standard output, nothing left running.
options=()
expect_failure() {
  local folder=$1 pattern=$2 what=$3
  shift 3
  (cd "$folder" && exec env "$@" "$runner" "${options[@]}" >"$work/out" 2>"$work/err") &
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

# Runs the program from the build folder with standard output as given by $1
# (a redirection), waits for its window, then runs $2 with $pid set; expects
# status $3 and standard error to match $4 (empty: nothing).
expect_run() {
  local redirect=$1 action=$2 expected=$3 pattern=$4 what=$5
  (cd "$build" && eval "exec \"\$runner\" $redirect 2>\"\$work/err\"") &
  pid=$!
  timeout 20 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null 2>&1 || sleep 3
  eval "$action"
  wait_for "$pid" 20
  if [[ $status != "$expected" ]]; then
    fail "$what: status $status, expected $expected; stderr: $(head -c 300 "$work/err")"
  elif [[ -z $pattern && -s $work/err ]] || [[ -n $pattern ]] && ! grep -qE "$pattern" "$work/err"; then
    fail "$what: stderr: $(head -c 300 "$work/err")"
  else
    pass "$what"
  fi
}

# Starts openbox for the rest of the script and waits until it has carried
# out a request: it names itself on the root before it reads its
# configuration and theme, and maps windows only once its event loop runs,
# on a loaded machine many seconds later.
start_openbox() {
  XDG_CONFIG_HOME=$work openbox --sm-disable >"$work/openbox.log" 2>&1 &
  cleanups+=("kill $! 2>/dev/null; wait $! 2>/dev/null")
  local count asked=""
  for _ in $(seq 600); do
    count=$(xprop -root _NET_NUMBER_OF_DESKTOPS 2>/dev/null | awk '{print $NF}')
    [[ -n $asked && $count == "$asked" ]] && return 0
    [[ -z $asked && $count =~ ^[0-9]+$ ]] && asked=$((count + 1)) && xdotool set_num_desktops "$asked"
    sleep 0.1
  done
  fail "openbox carried out no request: $(head -c 300 "$work/openbox.log")"
  return 1
}

# Starts a command from folder $1 and waits for the program's window; sets
# pid. Standard output and error go to $work/out and $work/err.
start() {
  local folder=$1
  shift
  (cd "$folder" && exec "$@" >"$work/out" 2>"$work/err") &
  pid=$!
  if ! timeout 20 xdotool search --sync --onlyvisible --name '^OpenGL Test Window$' >/dev/null 2>&1; then
    fail "$*: no window appeared; stderr: $(cat "$work/err")"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 1
  fi
}

# Expects the program started last to end within 10 seconds with status 0
# and nothing on standard error.
expect_clean_exit() {
  local what=$1
  wait_for "$pid" 10
  if [[ $status != 0 ]]; then
    fail "$what: status $status, expected 0; stderr: $(cat "$work/err")"
  elif [[ -s $work/err ]]; then
    fail "$what: wrote to standard error: $(head -c 300 "$work/err")"
  else
    pass "$what ends the program with status 0"
  fi
}

# The options a user tries, of the program started from folder $2 as $3...:
# --help and --version answer on standard output with no display, a mistake
# is one line and status 2, and --window shows the picture in a 640x480 window.
check_options() {
  local what=$1 folder=$2
  shift 2
  local option expected version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  for option in --help --version; do
    expected=$([[ $option == --help ]] && echo '^Usage: vorlex ' || echo "^Vorlex $version\$")
    (cd / && exec env -u DISPLAY "$@" $option >"$work/out" 2>"$work/err") &
    wait_for $! 20
    if [[ $status == 0 && ! -s $work/err ]] && head -n 1 "$work/out" | grep -qE "$expected"; then
      pass "$what $option: $(head -n 1 "$work/out")"
    else
      fail "$what $option: status $status; stdout: $(head -c 200 "$work/out"); stderr: $(head -c 200 "$work/err")"
    fi
  done
  (cd / && exec "$@" --frobnicate >"$work/out" 2>"$work/err") &
  wait_for $! 20
  if [[ $status == 2 && ! -s $work/out ]] &&
     [[ $(cat "$work/err") == 'Vorlex: unknown option "--frobnicate" (--help lists the options)' ]]; then
    pass "$what --frobnicate: status 2, one line"
  else
    fail "$what --frobnicate: status $status; stderr: $(head -c 200 "$work/err")"
  fi
  if start "$folder" "$@" --window; then
    local size
    size=$(xwininfo -name 'OpenGL Test Window' | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    [[ $size == 640x480 ]] || fail "$what --window: a window of $size, expected 640x480"
    kill -s TERM "$pid"
    expect_clean_exit "$what --window, a ${size} window, and SIGTERM"
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
