#!/usr/bin/env bash
# The shell end to end under Xvfb: every way to quit, with real key presses
# and real signals; and the working directory of a Finder launch. The desktop
# install is in install_test.sh.
# Usage: e2e_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"
mover=
cleanups+=('[[ -n $mover ]] && kill "$mover" 2>/dev/null')

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

finish
