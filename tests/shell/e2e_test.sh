#!/usr/bin/env bash
# The shell end to end under Xvfb: every way to quit, with real key presses
# and real signals; the working directory of a Finder launch; and the desktop
# install, whose launcher starts the demo from any folder.
# Usage: e2e_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"
mover=
cleanups+=('[[ -n $mover ]] && kill "$mover" 2>/dev/null')

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

# Expects the program started last still to run a second after $1.
expect_running() {
  sleep 1
  if kill -0 "$pid" 2>/dev/null; then
    pass "$1 does not end the program"
  else
    wait "$pid"
    fail "$1 ended the program with status $?"
  fi
}

# Makes folder $1 into a copy of the bundle's folder: Vorlex.app with the
# program, its Info.plist and its images.
copy_bundle() {
  mkdir -p "$1/Vorlex.app"
  cp -r "$build/Vorlex.app/Contents" "$1/Vorlex.app/"
}

# Prints a new folder under $work whose path is exactly $1 bytes long, made
# of components short enough for any file system.
folder_of_length() {
  local path=$work/deep$1 filler
  filler=$(printf 'd%.0s' $(seq 200))
  while (($1 - ${#path} > 201)); do
    path=$path/${filler:0:100}
  done
  path=$path/${filler:0:$(($1 - ${#path} - 1))}
  mkdir -p "$path"
  echo "$path"
}

# The options a user tries, of the program started from folder $2 as $3...:
# --help and
# --version answer on standard output with no display, a mistake is one line
# and status 2, and --window shows the picture in a 640x480 window.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
check_options() {
  local what=$1 folder=$2
  shift 2
  local option expected
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

check_options "the build's program" "$build" "$app"

# 1. Key equivalents: Ctrl+Q quits; a plain q, Ctrl+Shift+Q and the other
#    menu keys do not.
if start "$build" "$app"; then
  xdotool key q ctrl+shift+q alt+q ctrl+alt+h ctrl+h ctrl+m
  expect_running "q, Ctrl+Shift+Q, Alt+Q, Ctrl+Alt+H, Ctrl+H and Ctrl+M"
  xdotool key ctrl+q
  expect_clean_exit "Ctrl+Q"
fi

# 2. Termination signals.
for signal in TERM INT HUP; do
  if start "$build" "$app"; then
    kill -s "$signal" "$pid"
    expect_clean_exit "SIG$signal"
  fi
done

# 3. A signal ignored when the program starts (as under nohup) stays ignored.
if start "$build" bash -c "trap '' HUP; exec '$app'"; then
  kill -s HUP "$pid"
  expect_running "SIGHUP, ignored at start,"
  kill -s TERM "$pid"
  expect_clean_exit "SIGTERM after an ignored SIGHUP"
fi

# 4. Escape after seconds of continuous mouse movement, faster than the
#    frame loop takes events.
if start "$build" "$app"; then
  (while kill -0 "$pid" 2>/dev/null; do
     xdotool mousemove_relative 9 9 mousemove_relative -- -9 -9 mousemove_relative 5 0 mousemove_relative -- -5 0
   done) >/dev/null 2>&1 &
  mover=$!
  sleep 4
  xdotool key Escape
  expect_clean_exit "Escape while the mouse moves"
  kill "$mover" 2>/dev/null
  wait "$mover" 2>/dev/null
  mover=
fi

# 5. A Finder launch makes the folder that holds the bundle the working
#    directory: started from /, the program still finds its images.
if start / "$app" -psn_0_4711 --ignored; then
  kill -s TERM "$pid"
  expect_clean_exit "a Finder launch from / runs, and SIGTERM"
fi

# 6. The folder's path goes through a buffer of 1024 bytes: a path of 1023
#    bytes is used, one of 1024 cannot be: one line says so, status 1.
fits=$(folder_of_length 1023)
copy_bundle "$fits"
if start / "$fits/Vorlex.app/Contents/MacOS/Vorlex" -psn_0_1; then
  kill -s TERM "$pid"
  expect_clean_exit "a Finder launch from a folder of 1023 bytes runs, and SIGTERM"
fi
long=$(folder_of_length 1024)
copy_bundle "$long"
(cd / && exec "$long/Vorlex.app/Contents/MacOS/Vorlex" -psn_0_1 >"$work/out" 2>"$work/err") &
wait_for $! 20
if [[ $status == 1 && $(wc -l <"$work/err") == 1 ]] &&
   grep -qE '^Vorlex: cannot make the folder that holds the bundle \(/.+\) the working directory: its path is 1024 bytes, and a folder change takes fewer than 1024$' "$work/err"; then
  pass "a Finder launch from a folder of 1024 bytes says it cannot change to it"
else
  fail "a folder of 1024 bytes: status $status, expected 1 and one line; stderr: $(cat "$work/err")"
fi

# 7. A working directory that cannot be changed, because the folder that held
#    the bundle is gone, is a failed assertion and an abort.
copy_bundle "$work/gone"
exec 3<"$work/gone/Vorlex.app/Contents/MacOS/Vorlex"
rm -rf "$work/gone"
(cd / && ulimit -c 0 && exec /proc/self/fd/3 -psn_0_1 >"$work/out" 2>"$work/err") &
wait_for $! 20
exec 3<&-
if [[ $status == 134 && $(cat "$work/err") == "SDLMain:93: failed assertion \`chdir (parentdir) == 0'" ]]; then
  pass "a bundle folder that is gone: the assertion line, then abort"
else
  fail "a bundle folder that is gone: status $status, expected 134 (SIGABRT); stderr: $(cat "$work/err")"
fi

# 8. The desktop install, into a prefix with a space in it.
prefix="$work/desktop prefix"
# A folder that was there before the install, with something of another's.
mkdir -p "$prefix/share/applications"
: >"$prefix/share/applications/other.desktop"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install" 2>&1; then
  fail "cmake --install: $(cat "$work/install")"
else
  entry=$prefix/share/applications/invalid.vorlex.vorlex.desktop
  missing=
  for file in bin/vorlex share/vorlex/Vorlex.app/Contents/MacOS/Vorlex \
              share/vorlex/Vorlex.app/Contents/Info.plist share/icons/hicolor/*/apps/vorlex.png \
              share/applications/invalid.vorlex.vorlex.desktop; do
    # shellcheck disable=SC2086  # the icon's size folder is a pattern
    ls "$prefix"/$file >/dev/null 2>&1 || missing="$missing $file"
  done
  resources=$(ls "$prefix/share/vorlex/Vorlex.app/Contents/Resources" | wc -l)
  if [[ -n $missing || $resources != 10 || ! -x $prefix/bin/vorlex ]]; then
    fail "installed files: missing:${missing:- none}; $resources images, expected 10"
  else
    pass "installs the bundle with its 10 images, the launcher, the icon and the entry"
  fi
  if ! report=$(desktop-file-validate "$entry" 2>&1) || [[ -n $report ]]; then
    fail "desktop-file-validate: $report"
  else
    pass "the desktop entry is valid"
  fi
  # Exec holds the launcher's path as one quoted argument.
  exec_line=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry")
  launcher=${exec_line#\"}
  launcher=${launcher%\"}
  if [[ $launcher != "$prefix/bin/vorlex" ]] || ! grep -qx 'Icon=vorlex' "$entry"; then
    fail "the entry's Exec=$exec_line, Icon=$(sed -n 's/^Icon=//p' "$entry")"
  fi

  # The launcher starts the demo from any working directory, also through a link.
  mkdir -p "$work/elsewhere"
  if start "$work/elsewhere" "$launcher"; then
    xdotool key ctrl+q
    expect_clean_exit "the installed launcher, run from another folder, and Ctrl+Q"
  fi
  check_options "the installed launcher" / "$launcher"
  # The desktop entry's second action: the demo in a window.
  action=$(sed -n '/^\[Desktop Action window\]/,/^\[/s/^Exec=//p' "$entry")
  if [[ $action != "$exec_line --window" ]]; then
    fail "the entry's window action: Exec=$action, expected $exec_line --window"
  fi
  ln -s "$launcher" "$work/elsewhere/vorlex-link"
  if start / "$work/elsewhere/vorlex-link"; then
    kill -s INT "$pid"
    expect_clean_exit "a link to the launcher, run from /, and SIGINT"
  fi
  rm "$work/elsewhere/vorlex-link"

  # Uninstalling removes every file and folder the install made, and
  # nothing that was there before.
  if ! cmake --build "$build" --target uninstall >"$work/uninstall" 2>&1; then
    fail "the uninstall target: $(tail -n 5 "$work/uninstall")"
  else
    left=$(cd "$prefix" && find . | sort | tr '\n' ' ')
    if [[ $left == ". ./share ./share/applications ./share/applications/other.desktop " ]]; then
      pass "the uninstall target leaves only what was there before"
    else
      fail "the uninstall target leaves: $left"
    fi
  fi
fi

finish
