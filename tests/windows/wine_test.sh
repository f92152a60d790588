#!/usr/bin/env bash
# Vorlex for Windows under Wine, on the X display this runs on (with_xvfb.sh,
# 800x600): the zip $1 unpacked as a user would, Wine's prefix kept in folder
# $2 between runs, and the installer beside the zip; $3 holds a second build
# of both. Wine's OpenGL is Mesa's, as on the desktop. The program writes
# text as Windows does, lines ending in CR LF.
set -u
zip=$1
cache=$2
again=$3
unpacked=$(mktemp -d)
name=$(basename "$zip" .zip)
unzip -q "$zip" -d "$unpacked" || { echo "FAIL: cannot unzip $zip"; rm -rf "$unpacked"; exit 1; }
here=$(dirname "$0")
# shellcheck source=../support/e2e.sh
source "$here/../support/e2e.sh" "$unpacked/$name"
# shellcheck source=../support/picture.sh
source "$here/../support/picture.sh"
cleanups+=('rm -rf "$unpacked"')
program=$build/vorlex.exe
version=${name#vorlex-}
version=${version%-win64}

# No debugger that waits for a user when a program crashes, and no offer to
# install Wine's .NET or browser engine into a new prefix; nothing of Wine's
# own on standard error.
export WINEPREFIX=$cache/wine WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='winedbg.exe=d;mscoree=d;mshtml=d'
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
# One run at a time in the prefix; its server goes with the run, before the
# X display does.
exec 9>"$cache/wine.lock"
flock 9
cleanups=('"$wineserver" -k 2>/dev/null; "$wineserver" -w 2>/dev/null' "${cleanups[@]}")
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Making Wine's prefix in $WINEPREFIX (once)"
  timeout 300 "$wine" wineboot --init >"$work/wineboot.log" 2>&1 ||
    { echo "FAIL: Wine's prefix: $(tail -n 5 "$work/wineboot.log")"; exit 1; }
fi
"$wineserver" -w

# Starts $program (vorlex.exe unless the caller says) from folder / with the
# options given and waits for its window; sets pid. Twice in some twenty runs
# of this test on a busy machine, Wine showed no window for a start and went
# on waiting, which could not be made to happen again on its own: such a
# start is shown (the main thread, as gdb sees it) and tried once more.
start_program() {
  for _ in 1 2; do
    (cd / && exec "$wine" "$program" "$@" >"$work/out" 2>"$work/err") &
    pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name '^OpenGL Test Window$' >/dev/null 2>&1 && return 0
    echo "note: ${program##*/} $*: no window within 30 s; its main thread:"
    timeout 60 gdb -p "$pid" -batch -ex 'thread 1' -ex 'bt 20' 2>/dev/null | grep '^#'
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  fail "${program##*/} $*: no window appeared, twice; stderr: $(head -c 300 "$work/err")"
  return 1
}

# Gives the program's window the keyboard and presses key $1 there.
press() {
  local window
  window=$(xdotool search --onlyvisible --name '^OpenGL Test Window$' | head -n 1)
  xdotool mousemove 320 240 windowfocus --sync "$window" key "$1" 2>/dev/null
}

# Waits up to 15 s for a frame-rate line on standard output.
expect_rate_line() {
  for _ in $(seq 30); do
    grep -qE $'^[0-9]+\r$' "$work/out" && { pass "$1: frame-rate line $(head -n 1 "$work/out")"; return; }
    sleep 0.5
  done
  fail "$1: no frame-rate line on standard output: $(head -c 200 "$work/out")"
}

echo "== Options"
(cd / && exec "$wine" "$program" --version >"$work/out" 2>"$work/err") &
wait_for $! 60
if [[ $status == 0 && $(cat "$work/out") == "Vorlex $version"$'\r' && ! -s $work/err ]]; then
  pass "--version: Vorlex $version"
else
  fail "--version: status $status; stdout: $(head -c 200 "$work/out"); stderr: $(head -c 200 "$work/err")"
fi
(cd / && exec "$wine" "$program" --root >"$work/out" 2>"$work/err") &
wait_for $! 30
if [[ $status == 2 && $(cat "$work/err") == 'Vorlex: unknown option "--root" (--help lists the options)'$'\r' ]]; then
  pass "--root, which only X has: status 2, one line"
else
  fail "--root: status $status; stderr: $(head -c 200 "$work/err")"
fi

echo "== The picture, the frame rate and the quit keys"
if start_program --window; then
  expect_rate_line "--window"
  expect_picture "--window" 640 480 "$(xdotool search --onlyvisible --name '^OpenGL Test Window$' | head -n 1)"
  press Escape
  expect_clean_exit "Escape"
fi
# Wine on Xvfb stands in for the switch to 640x480 by scaling the picture to
# the screen, as a monitor shows a 640x480 mode.
if start_program; then
  expect_picture "full screen" 800 600
  press alt+F4
  expect_clean_exit "full screen, Alt+F4"
fi
if start_program --window; then
  press ctrl+q
  expect_clean_exit "Ctrl+Q"
fi
# Wine hands a SIGINT to a console program as the console's Ctrl+C, by
# creating a thread from within its signal handler. That deadlocks when the
# signal lands while the program's thread holds the C library's heap lock
# (Mesa allocates every frame), as gdb shows it: the handler's
# pthread_create waiting in calloc. Windows creates that thread from outside
# the process. A run lost so is tried again, twice at most; any other hang
# fails.
lost_to_wine() {
  timeout 60 gdb -p "$1" -batch -ex 'thread 1' -ex 'bt 16' 2>/dev/null |
    awk '/calloc/ {heap = 1} /pthread_create/ {thread = 1} END {exit !(heap && thread)}'
}
lost=0
for _ in 1 2 3; do
  start_program --window || break
  kill -s INT "$pid"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null && lost_to_wine "$pid"; then
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    lost=$((lost + 1))
    continue
  fi
  expect_clean_exit "Ctrl+C$( ((lost)) && echo " (after $lost run(s) lost to Wine's SIGINT deadlock)")"
  break
done
((lost < 3)) || fail "Ctrl+C: every run lost to Wine's SIGINT deadlock"
# Under a window manager, Alt+F4 is its close button.
XDG_CONFIG_HOME=$work openbox --sm-disable >"$work/openbox.log" 2>&1 &
manager=$!
cleanups=('kill "$manager" 2>/dev/null' "${cleanups[@]}")
# A window mapped while openbox takes over the screen may stay unmapped.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
if start_program --window; then
  press alt+F4
  expect_clean_exit "closing the window"
fi
kill "$manager" 2>/dev/null
wait "$manager" 2>/dev/null

# As a double-click starts it: in a console of its own, which the program
# lets go, so that only the demo shows.
if start / "$wine" start /wait /unix "$program"; then
  sleep 1
  shown=$(xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r id; do xdotool getwindowname "$id"; done)
  [[ $shown == "OpenGL Test Window" ]] && pass "started as by a double-click: only the demo shows" ||
    fail "started as by a double-click: windows shown: $shown"
  press Escape
  expect_clean_exit "Escape, started as by a double-click,"
fi

echo "== The screensaver"
saver=$build/vorlex.scr
# What Windows passes, in the forms Windows and other saver hosts write, and
# mistakes: the status, and what the one line on standard error says (none
# with status 0). Handle 1 names no window.
while IFS='|' read -r expected says arguments; do
  read -ra argv <<<"$arguments"
  (cd / && exec "$wine" "$saver" "${argv[@]}" >"$work/out" 2>"$work/err") &
  wait_for $! 30
  if [[ $status == "$expected" && $(wc -l <"$work/err") == $((expected != 0)) ]] &&
     { [[ -z $says ]] || grep -q "^Vorlex: .*$says" "$work/err"; }; then
    pass "vorlex.scr $arguments: status $status$([[ -s $work/err ]] && echo ", $(tr -d '\r' <"$work/err")")"
  else
    fail "vorlex.scr $arguments: status $status, expected $expected; stderr: $(head -c 300 "$work/err")"
  fi
done <<'CASES'
1|in window 1: no window has that handle|/P:1
1|in window 1: no window has that handle|-p 1
2|needs the handle|/p
2|"x1" is not a window handle|/p x1
2|unknown argument "/x"|/x
2|unexpected argument "7"|/s 7
0||/a 5
CASES
# The settings, as Windows asks for them and as a double-click does.
for arguments in /c ""; do
  (cd / && exec "$wine" "$saver" $arguments >"$work/out" 2>"$work/err") &
  pid=$!
  if timeout 30 xdotool search --sync --onlyvisible --name '^Vorlex$' >/dev/null 2>&1; then
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Vorlex$' | head -n 1)" key Return 2>/dev/null
    expect_clean_exit "vorlex.scr ${arguments:-with no argument}: a box titled Vorlex, then Return"
  else
    fail "vorlex.scr ${arguments:-with no argument}: no message box titled Vorlex"
    kill -9 "$pid" 2>/dev/null
  fi
done
# Full screen: a mouse nudged by a few pixels leaves it running; a key, or
# the mouse moved further, ends it.
for ending in "key a" "mousemove_relative 60 40"; do
  xdotool mousemove 400 300
  program=$saver start_program /s || continue
  sleep 1
  xdotool mousemove_relative 3 2
  sleep 2
  if kill -0 "$pid" 2>/dev/null; then
    xdotool $ending
    expect_clean_exit "vorlex.scr /s, nudged 3 px, then $ending,"
  else
    fail "vorlex.scr /s: ended on a mouse nudged by 3 px"
  fi
done
# The preview, in another program's window the size of a small settings
# screen: the whole picture, letterboxed; the host's status is the saver's
# once the host has closed its window. Wine 8 finds no X drawable for what a
# process draws in a child of another process's window, so none of it
# reaches the screen (Windows shows it); it renders the child's OpenGL into
# an offscreen X window of the child's size, unnamed, which is read instead.
x86_64-w64-mingw32-gcc-posix -o "$work/preview_host.exe" "$here/preview_host.c" -lgdi32
("$wine" "$work/preview_host.exe" "Z:${saver//\//\\}" 200 120 >"$work/out" 2>"$work/err") &
pid=$!
host=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vorlex preview host$' 2>/dev/null | head -n 1)
if [[ -n $host ]]; then
  for _ in $(seq 30); do
    preview=$(xwininfo -root -tree | awk '/\(has no name\): \(\)  200x120\+0\+0/ {print $1; exit}')
    [[ -n $preview && $(crosshair "$preview") == *x* ]] && break
    sleep 1
  done
  expect_picture "vorlex.scr /p, in a 200x120 window" 200 120 "${preview:-$host}"
  xdotool windowfocus --sync "$host" key Escape 2>/dev/null
  wait_for "$pid" 40
  [[ $status == 0 ]] && pass "vorlex.scr /p: ends with status 0 once its window goes" ||
    fail "vorlex.scr /p: the host's window closed, then status $status; $(head -c 300 "$work/err")"
else
  fail "vorlex.scr /p: the host's window did not appear; $(head -c 300 "$work/err")"
  kill -9 "$pid" 2>/dev/null
fi

echo "== Failures"
mv "$build/Vorlex.app/Contents/Resources/img48.gif" "$work/img48.gif"
(cd / && exec "$wine" "$program" --window >"$work/out" 2>"$work/err") &
wait_for $! 60
expected=$'^Vorlex: cannot load "Vorlex.app/Contents/Resources/img48.gif" \\(working directory .*\\): No such file or directory\r$'
if [[ $status == 1 && $(wc -l <"$work/err") == 1 && ! -s $work/out ]] && grep -qE "$expected" "$work/err"; then
  pass "a missing image: $(cat "$work/err")"
else
  fail "a missing image: status $status; stderr: $(head -c 300 "$work/err")"
fi
# Started as by a double-click, the program's console closes with it: the
# line is shown in a message box too. expect_message_box WHAT PROGRAM:
# the box comes, Return closes it, and the program ends with status 1.
expect_message_box() {
  ("$wine" start /wait /unix "$2" >"$work/out" 2>"$work/err") &
  local pid=$!
  if timeout 30 xdotool search --sync --onlyvisible --name '^Vorlex$' >/dev/null 2>&1; then
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Vorlex$' | head -n 1)" key Return 2>/dev/null
    wait_for "$pid" 30
    [[ $status == 1 ]] && pass "$1, started as by a double-click: a message box, status 1" ||
      fail "$1, started as by a double-click: status $status"
  else
    fail "$1, started as by a double-click: no message box"
    kill -9 "$pid" 2>/dev/null
  fi
}
expect_message_box "a missing image" "$program"
mv "$work/img48.gif" "$build/Vorlex.app/Contents/Resources/img48.gif"

# A program that crashes ends with an error status and leaves nothing
# waiting: no debugger holds it.
x86_64-w64-mingw32-gcc-posix -o "$work/crash.exe" "$here/crash.c"
("$wine" "$work/crash.exe" >"$work/out" 2>"$work/err") &
wait_for $! 60
if [[ $status != hung && $status != 0 ]]; then
  pass "a crash ends at once, status $status"
else
  fail "a crash: status $status"
fi

# shellcheck source=installer_test.sh
source "$here/installer_test.sh"

echo "$passed passed, $failures failed"
((failures == 0))
