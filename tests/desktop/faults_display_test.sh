#!/usr/bin/env bash
# Every way the display or its GL can refuse the real program under Xvfb:
# each must end promptly with exactly one line on standard error that names
# the cause, status 1, no crash, no hang, and nothing left running.
# Usage: faults_display_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"

expect_failure "$build" '^Vorlex: cannot draw rectangle textures: the OpenGL renderer ".+" lacks the GL_ARB_texture_rectangle extension$' \
  "a GL without rectangle textures" MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_rectangle
expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not set' \
  "no display" -u DISPLAY
# A screensaver's modes fail as a window of the program's own does; at any
# limit on open files, what the libraries say is held back.
for mode in "" --root "--window-id 0x200001"; do
  read -ra options <<<"$mode"
  expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not reachable' \
    "a display that is not there${mode:+, $mode}" DISPLAY=:9999
  for files in 6 5; do
    expect_failure "$build" '^Vorlex: cannot open the display: .*\(ulimit -n\).*: Too many open files$' \
      "$files open files at most${mode:+, $mode}" -u XDG_RUNTIME_DIR prlimit --nofile=$files --
  done
done
options=()
expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not set' \
  "no display, no XDG_RUNTIME_DIR" -u DISPLAY -u XDG_RUNTIME_DIR

# X servers of a case's own, each a way the display or its GL can be refused.
# Starts one with the Xvfb arguments given; sets xvfb (its process) and
# xdisplay (its name).
own_xvfb() {
  rm -f "$work/display"
  Xvfb -displayfd 8 -nolisten tcp -noreset "$@" 8>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  cleanups+=("kill -9 $xvfb 2>/dev/null")
  for _ in $(seq 200); do [[ -s $work/display ]] && break; sleep 0.05; done
  xdisplay=:$(head -n 1 "$work/display")
}
end_xvfb() { kill -9 "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
opening='^Vorlex: cannot open the 640x480 full-screen OpenGL display: '

# Mesa's variables, on the suite's own display.
expect_failure "$build" "${opening}the X server refused GLX's X_GLXCreateContext: .+; LIBGL_ALWAYS_INDIRECT .+: unset it$" \
  "indirect GLX (LIBGL_ALWAYS_INDIRECT=1)" LIBGL_ALWAYS_INDIRECT=1
expect_failure "$build" "${opening}.+ \\(libGL error: .+; libGL error: failed to load driver: swrast\\)$" \
  "no GL driver where Mesa looks (LIBGL_DRIVERS_PATH=/nonexistent)" LIBGL_DRIVERS_PATH=/nonexistent
# A driver name that is no driver: Mesa's software rasteriser, which Xvfb
# needs, is not looked up by it, and the demo runs.
MESA_LOADER_DRIVER_OVERRIDE=nonexistent expect_run '>/dev/null' 'kill -TERM $pid' 0 '' \
  "MESA_LOADER_DRIVER_OVERRIDE=nonexistent"

own_xvfb -screen 0 640x480x24 -extension GLX
expect_failure "$build" "${opening}GLX is not supported" "a server without GLX" DISPLAY="$xdisplay"
end_xvfb

# Xlib's note that RandR is missing is no failure: nothing on standard error.
own_xvfb -screen 0 640x480x24 -extension RANDR
DISPLAY=$xdisplay expect_run '>/dev/null' 'kill -TERM $pid' 0 '' "a server without RandR"
end_xvfb

# A server that holds the connection and never answers: one line, and a
# signal meanwhile ends the program at once, with status 0, not the limit's 1.
own_xvfb -screen 0 640x480x24
kill -STOP "$xvfb"
expect_failure "$build" '^Vorlex: the X display :[0-9]+ does not answer: .+$' "a stopped X server" DISPLAY="$xdisplay"
for signal in INT TERM HUP; do
  # A job of a script starts with SIGINT ignored; the program leaves such a one be.
  (cd "$build" && trap - INT && exec env DISPLAY="$xdisplay" "$runner" >/dev/null 2>"$work/err") &
  pid=$!
  for _ in $(seq 100); do
    ls -l "/proc/$pid/fd" 2>/dev/null | grep -q 'socket:' && break
    sleep 0.05
  done
  kill -s "$signal" "$pid"
  wait_for "$pid" 20
  if [[ $status == 0 && ! -s $work/err ]]; then
    pass "SIG$signal while a stopped X server keeps start-up waiting"
  else
    fail "SIG$signal while a stopped X server keeps start-up waiting: status $status, expected 0; stderr: $(head -c 300 "$work/err")"
  fi
done
end_xvfb

# A server that asks for a cookie: a wrong one, and none at all.
# An authority file holds entries of family, address, display number, name
# and data, each length-prefixed; family 65535 matches any address.
authority() { perl -e 'print pack("n n/a* n/a* n/a* n/a*", 65535, "", "", "MIT-MAGIC-COOKIE-1", pack("H*", $ARGV[0]))' "$1"; }
authority 0123456789abcdef0123456789abcdef >"$work/server-auth"
authority fedcba9876543210fedcba9876543210 >"$work/wrong-auth"
own_xvfb -screen 0 640x480x24 -auth "$work/server-auth"
expect_failure "$build" "^Vorlex: cannot open the display $xdisplay: the X server refused authorisation \\(Invalid MIT-MAGIC-COOKIE-1 key\\): the authority file $work/wrong-auth holds no key it accepts; set XAUTHORITY .+\$" \
  "a wrong X cookie" DISPLAY="$xdisplay" XAUTHORITY="$work/wrong-auth"
expect_failure "$build" "^Vorlex: cannot open the display $xdisplay: the X server refused authorisation \\(.+\\): there is no authority file $work/none; set XAUTHORITY .+\$" \
  "no X cookie" DISPLAY="$xdisplay" XAUTHORITY="$work/none"
end_xvfb

# A server that refuses for another reason: all its client slots taken.
own_xvfb -screen 0 640x480x24 -maxclients 64
perl -MIO::Socket::UNIX -e 'my @held; while (my $c = IO::Socket::UNIX->new(Peer => $ARGV[0])) { push @held, $c; last if @held > 64 } print "full\n"; sleep 60' \
  "/tmp/.X11-unix/X${xdisplay#:}" >"$work/slots" &
holder=$!
for _ in $(seq 100); do [[ -s $work/slots ]] && break; sleep 0.05; done
for mode in "" --root "--window-id 0x200001"; do
  read -ra options <<<"$mode"
  expect_failure "$build" "^Vorlex: cannot open the display $xdisplay: the X server refused the connection: Maximum number of clients reached\$" \
    "a server with no client slot left${mode:+, $mode}" DISPLAY="$xdisplay"
done
options=()
kill "$holder"
wait "$holder" 2>/dev/null
end_xvfb

# The second screen of a server of two: the picture covers it (1024x768 is
# 4:3), full screen and in a window; where SDL is told to place windows by
# RandR, it cannot, and says so.
own_xvfb -screen 0 800x600x24 -screen 1 1024x768x24
for args in "" "--window"; do
  (cd "$build" && exec env DISPLAY="$xdisplay.1" "$runner" $args >/dev/null 2>"$work/err") &
  pid=$!
  expected=$([[ -n $args ]] && echo '640x480+192+144' || echo '1024x768+0+0')
  seen=
  for _ in $(seq 100); do
    seen=$(DISPLAY=$xdisplay.1 xwininfo -root -children 2>/dev/null | sed -n 's/.*"OpenGL Test Window": ([^)]*) *\([0-9x+]*\) .*/\1/p')
    [[ $seen == "$expected" ]] && break
    sleep 0.1
  done
  kill -TERM "$pid"
  wait_for "$pid" 20
  if [[ $seen == "$expected" && $status == 0 && ! -s $work/err ]]; then
    pass "screen 1 of two${args:+, $args}: the window at $seen on its root"
  else
    fail "screen 1 of two${args:+, $args}: window at '${seen}' on screen 1, expected $expected; status $status; stderr: $(head -c 300 "$work/err")"
  fi
done
expect_failure "$build" "^Vorlex: cannot show the picture on the X screen $xdisplay\\.1: SDL put its window on screen 0, .+\$" \
  "screen 1 of two, SDL placing windows by RandR" DISPLAY="$xdisplay.1" SDL_VIDEO_X11_XRANDR=1
end_xvfb

# The X server going away mid-run: a display of this case's own.
Xvfb -displayfd 8 -screen 0 640x480x24 -nolisten tcp -noreset 8>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
DISPLAY=:$(head -n 1 "$work/display") expect_run '>/dev/null' 'kill -9 $xvfb' 1 '^Vorlex: lost the display :[0-9]+: .+$' "the display killed mid-run"
wait "$xvfb" 2>/dev/null
[[ $(wc -l <"$work/err") == 1 ]] || fail "the display killed mid-run: more than one line: $(cat "$work/err")"

finish
