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

finish
