#!/usr/bin/env bash
# Every broken start a user or a broken install can produce, on the real
# program under Xvfb: each must end promptly with exactly one line on standard
# error that names the file or the cause, status 1, no crash, no hang, and
# nothing left running.
# Usage: faults_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"
resources=$build/Vorlex.app/Contents/Resources

files=(image.bmp image.gif image.png img72.bmp img48.gif img24.png
       fontA06.gif fontA12.gif fontB06.gif fontB12.gif)

# Headers that declare a w x h picture and hold nothing after it.
bmp_header() { perl -e 'my ($w, $h) = @ARGV; print "BM", pack("VVV", 0, 0, 54), pack("VllvvVVllVV", 40, $w, $h, 1, 24, 0, 0, 2835, 2835, 0, 0);' "$1" "$2"; }
gif_header() { perl -e 'my ($w, $h) = @ARGV; print "GIF89a", pack("vvCCC", 1, 1, 0x80, 0, 0), "\0" x 6, ",", pack("vvvvC", 0, 0, $w, $h, 0), "\x02\x02\x44\x01\x00;";' "$1" "$2"; }
png_header() { perl -e 'use Compress::Zlib; my ($w, $h) = @ARGV; sub chunk { my ($t, $d) = @_; pack("N", length $d) . $t . $d . pack("N", crc32($t . $d)) } print "\x89PNG\r\n\x1a\n", chunk("IHDR", pack("NNCCCCC", $w, $h, 8, 6, 0, 0, 0)), chunk("IDAT", compress("\0" x 16)), chunk("IEND", "");' "$1" "$2"; }
header_for() { # file width height
  case $1 in
    *.bmp) bmp_header "$2" "$3" ;;
    *.gif) gif_header "$2" "$3" ;;
    *.png) png_header "$2" "$3" ;;
  esac
}

# Breaks file $2 of the bundle's resources in folder $1 in way $3.
break_file() {
  local target=$1/$2 original=$resources/$2
  case $3 in
    missing) rm "$target" ;;
    empty) : >"$target" ;;
    cut-short) head -c $(($(stat -c %s "$original") / 2)) "$original" >"$target" ;;
    random-bytes) perl -e 'srand(shift); print map { chr int rand 256 } 1 .. 4096' "${#2}" >"$target" ;;
    zero-sized) header_for "$2" 0 0 >"$target" ;;
    absurd-size) header_for "$2" 65535 65535 >"$target" ;;
    not-an-image) head -c 8192 /bin/sh >"$target" ;;
    folder) rm "$target" && mkdir "$target" ;;
  esac
}

faults=(missing empty cut-short random-bytes zero-sized absurd-size not-an-image folder)
for file in "${files[@]}"; do
  for fault in "${faults[@]}"; do
    break_file "$(fresh_bundle)" "$file" "$fault"
    expect_failure "$work/run" "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/$file\" \\(working directory $work/run\\): .+$" \
      "$file $fault"
  done
done

# An image larger than the GL can hold: a real one, which decodes fine.
res=$(fresh_bundle)
largest=16384  # Mesa's llvmpipe
perl -e 'my $w = shift; my $row = "\x80" x (3 * $w); $row .= "\0" x ((4 - length($row) % 4) % 4); print "BM", pack("VVV", 54 + length $row, 0, 54), pack("VllvvVVllVV", 40, $w, 1, 1, 24, 0, length $row, 2835, 2835, 0, 0), $row;' $((largest + 1)) \
  >"$res/img72.bmp"
expect_failure "$work/run" "^Vorlex: cannot load \"Vorlex.app/Contents/Resources/img72.bmp\" .*: the image is $((largest + 1))x1, larger than the largest texture this OpenGL can hold \\($largest on a side\\)$" \
  "an image wider than the GL's largest rectangle texture"

# A GIF whose header is sound but whose picture data keeps the decoder busy.
res=$(fresh_bundle)
cp "$(dirname "$0")/../fuzz/regressions/gif-picture-data-that-never-ends.gif" "$res/img48.gif"
expect_failure "$work/run" '^Vorlex: cannot load "Vorlex.app/Contents/Resources/img48.gif" .*: the image decoder did not finish within 5 seconds$' \
  "a GIF the decoder never finishes"

expect_failure "$build" '^Vorlex: cannot draw rectangle textures: the OpenGL renderer ".+" lacks the GL_ARB_texture_rectangle extension$' \
  "a GL without rectangle textures" MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_rectangle
expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not set' \
  "no display" -u DISPLAY
expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not reachable' \
  "a display that is not there" DISPLAY=:9999
expect_failure / '^Vorlex: cannot load "Vorlex.app/Contents/Resources/image.bmp" \(working directory /\): .*; start the program from the folder that holds Vorlex.app$' \
  "started from another folder"

# What surrounds the program: the files it reads being no image files at all.
declare -A surroundings=(
  [a FIFO]='mkfifo "$target"'
  [a device]='ln -s /dev/zero "$target"'
  [a link loop]='ln -s "$(basename "$target")" "$target"'
  [a dangling link]='ln -s missing.png "$target"'
  [unreadable]='ln -s /proc/self/mem "$target"'  # root reads any file; this one fails with EIO
  [a 2 GB hole after a GIF header]='head -c 13 "$resources/image.gif" >"$target" && truncate -s 2G "$target"'
  [16384 pixels wide]='gif_header 16384 1 >"$target"'
  [over the pixel budget]='gif_header 16383 16383 >"$target"'
)
for what in "${!surroundings[@]}"; do
  target=$(fresh_bundle)/image.gif
  rm "$target"
  eval "${surroundings[$what]}"
  expect_failure "$work/run" '^Vorlex: cannot load "Vorlex.app/Contents/Resources/image.gif" \(working directory [^)]+\): [^;]+$' \
    "image.gif as $what"
done

# Info.plist, which the shell reads for the application's name.
declare -A plists=(
  [a folder]='mkdir "$plist"'
  [a device]='ln -s /dev/zero "$plist"'
  [a FIFO]='mkfifo "$plist"'
  [huge]='truncate -s 1G "$plist"'
)
for what in "${!plists[@]}"; do
  fresh_bundle >/dev/null
  mkdir -p "$work/run/Vorlex.app/Contents/MacOS"
  cp "$app" "$work/run/Vorlex.app/Contents/MacOS/"
  plist=$work/run/Vorlex.app/Contents/Info.plist
  eval "${plists[$what]}"
  (cd "$work/run" && exec ./Vorlex.app/Contents/MacOS/Vorlex >"$work/out" 2>"$work/err") &
  wait_for $! 20
  if [[ $status == 1 && $(wc -l <"$work/err") == 1 ]] && grep -q "^Vorlex: cannot read \"$plist\": " "$work/err"; then
    pass "Info.plist as $what: $(cat "$work/err")"
  else
    fail "Info.plist as $what: status $status; stderr: $(head -c 300 "$work/err")"
  fi
done

expect_failure "$build" '^Vorlex: cannot arm the image decoding time limit: .+$' \
  "no signals may be queued (ulimit -i 0)" prlimit --sigpending=0 --
expect_failure "$build" '^Vorlex: cannot open the display: .*\(ulimit -n\): Too many open files$' \
  "six open files at most (ulimit -n 6)" prlimit --nofile=6 --
expect_failure "$build" '^Vorlex: cannot open the display: no display to show it on \(DISPLAY is not set' \
  "no display, no XDG_RUNTIME_DIR" -u DISPLAY -u XDG_RUNTIME_DIR

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
# Standard output closed, to a pipe whose reader left, or to a pipe nobody
# reads that is full: the frame-rate line after 5 s is dropped, the program
# goes on, and SIGTERM ends it cleanly.
mkfifo "$work/full"
exec 7<>"$work/full"
perl -e 'use Fcntl; fcntl(STDOUT, F_SETFL, O_NONBLOCK); 1 while syswrite(STDOUT, "x" x 4096);' >&7 2>/dev/null
expect_run '>&-' 'sleep 6; kill -TERM $pid' 0 '' "standard output closed"
expect_run '> >(head -c 0)' 'sleep 6; kill -TERM $pid' 0 '' "standard output to a pipe whose reader left"
expect_run '>"$work/full"' 'sleep 6; kill -TERM $pid' 0 '' "standard output to a full pipe"
exec 7>&-
# The stop sequences of real systems end the program cleanly.
expect_run '>/dev/null' 'kill -TERM $pid; kill -HUP $pid' 0 '' "TERM then HUP"
expect_run '>/dev/null' 'kill -TERM $pid; sleep 0.005; kill -TERM $pid' 0 '' "two TERMs 5 ms apart"
expect_run '>/dev/null' 'kill -INT $pid; kill -TERM $pid' 0 '' "INT then TERM"

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
expect_failure "$build" "^Vorlex: cannot open the display $xdisplay: the X server refused the connection: Maximum number of clients reached\$" \
  "a server with no client slot left" DISPLAY="$xdisplay"
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
