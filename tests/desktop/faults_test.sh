#!/usr/bin/env bash
# Every broken start a user or a broken install can produce through the files
# the program reads, on the real program under Xvfb: each must end promptly
# with exactly one line on standard error that names the file or the cause,
# status 1, no crash, no hang, and nothing left running. Then standard output
# that takes nothing, and the stop sequences of real systems. The display's
# and the GL's refusals are in faults_display_test.sh.
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

finish
