# The picture on the screen, for the end-to-end scripts; sourced after
# e2e.sh, whose work, pass and fail it uses. Needs ImageMagick.

# The crosshair's extent, WxH+X+Y, in a screenshot of the window $1 (the
# screen's root window by default).
crosshair() {
  import -window "${1:-root}" "$work/shot.png" 2>/dev/null &&
    convert "$work/shot.png" -fuzz 20% -fill black +opaque blue -format '%@' info: 2>/dev/null
}

# Expects the crosshair across the picture letterboxed into a window of
# $2 x $3, within two picture pixels, for up to 10 s: in the window $4, or at
# the screen's top left, or at $5,$6 of it.
expect_picture() {
  local what=$1 box="" pw ph px py slack d off
  read -r pw ph px py slack < <(awk -v w="$2" -v h="$3" -v x="${5:-0}" -v y="${6:-0}" 'BEGIN {
    s = w / 640 < h / 480 ? w / 640 : h / 480
    printf "%d %d %d %d %d\n", 640 * s, 480 * s, x + (w - 640 * s) / 2, y + (h - 480 * s) / 2, 2 * s + 1 }')
  for _ in $(seq 20); do
    sleep 0.5
    box=$(crosshair "${4:-root}") || continue
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || continue
    off=0
    for d in $((BASH_REMATCH[1] - pw)) $((BASH_REMATCH[2] - ph)) $((BASH_REMATCH[3] - px)) \
      $((BASH_REMATCH[4] - py)); do
      ((${d#-} <= slack)) || off=1
    done
    ((off == 0)) && { pass "$what: crosshair across $box"; return; }
  done
  fail "$what: expected the crosshair across ${pw}x${ph}+${px}+${py}, saw it across ${box:-nothing}"
}

# The crosshair's two lines in a screenshot of the 4:3 window $1: prints the
# share of the picture's height that its bluest column holds, and of its width
# for the bluest row. A line scaled down may be dim, but blue outweighs red
# and green along it.
crosshair_lines() {
  import -window "$1" "$work/lines.png" 2>/dev/null &&
    convert "$work/lines.png" -fx 'b > r + 0.1 && b > g + 0.1' "$work/mask.png" 2>/dev/null &&
    convert "$work/mask.png" \( +clone -scale 'x1!' -format '%[fx:maxima.r] ' -write info: +delete \) \
      -scale '1x!' -format '%[fx:maxima.r]\n' info: 2>/dev/null
}
