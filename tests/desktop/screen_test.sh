#!/usr/bin/env bash
# The whole picture on a screen of any size, without a window manager and
# with one: a screenshot shows the blue crosshair spanning a 4:3 picture
# that covers the screen's height (or width), centred, and the frame-rate text
# in the picture's lower right corner. A real Escape press then ends the run.
# Before each run the probe asks the display what the program asks it: only a
# screen of the picture's own size turns sdl12-compat's scaling pass off.
# Usage: screen_test.sh BUILD_DIR PROBE   (needs DISPLAY, a screen of any size)
set -u
probe=$2
source "$(dirname "$0")/../support/e2e.sh"

read -r width height < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
# The picture as sdl12-compat letterboxes it, and how far an edge may stray:
# two picture pixels, for the scaling's rounding.
read -r pw ph px py slack < <(awk -v w="$width" -v h="$height" 'BEGIN {
  s = w / 640 < h / 480 ? w / 640 : h / 480
  printf "%d %d %d %d %d\n", 640 * s, 480 * s, (w - 640 * s) / 2, (h - 480 * s) / 2, 2 * s + 1 }')

near() { (( ${1#-} <= slack )); }

if [[ ${width}x$height == 640x480 ]]; then scaling=0; else scaling=unset; fi
check_scaling() {
  local got
  got=$(env -u SDL12COMPAT_OPENGL_SCALING "$probe" 2>&1)
  if [[ $got == "$scaling" ]]; then
    pass "$1: sdl12-compat's scaling $got on ${width}x$height"
  else
    fail "$1: expected sdl12-compat's scaling $scaling on ${width}x$height, the fit chose $got"
  fi
}

# Runs the program with the options after $1, screenshots the screen until
# the picture is in place (it may take a few frames) or 20 tries have passed,
# and checks the last one: the picture pw x ph at px,py ("any" where a
# window manager places it).
check_picture() {
  local what=$1 box="" text=0 placed=no
  shift
  (cd "$build" && exec "$runner" "$@" >"$work/out" 2>"$work/err") &
  local pid=$!
  if ! timeout 20 xdotool search --sync --name '^OpenGL Test Window$' >/dev/null 2>&1; then
    fail "$what: no window titled \"OpenGL Test Window\" appeared"
  fi
  for _ in $(seq 20); do
    sleep 0.5
    import -window root "$work/shot.png" 2>/dev/null || continue
    # The crosshair's blue spans the picture, one line across, one down.
    box=$(convert "$work/shot.png" -fuzz 20% -fill black +opaque blue -format '%@' info:)
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || continue
    near $((BASH_REMATCH[1] - pw)) && near $((BASH_REMATCH[2] - ph)) || continue
    if [[ $px == any ]]; then
      px=${BASH_REMATCH[3]} py=${BASH_REMATCH[4]}
    else
      near $((BASH_REMATCH[3] - px)) && near $((BASH_REMATCH[4] - py)) || continue
    fi
    placed=yes
    # Light pixels in the picture's bottom tenth of width, twenty-fifth of height.
    text=$(convert "$work/shot.png" -crop "$((pw / 10))x$((ph / 25))+$((px + pw - pw / 10))+$((py + ph - ph / 25))" \
      +repage -fuzz 30% -fill black +opaque white -format '%[fx:round(mean * w * h)]' info:)
    ((text > 0)) && break
  done
  xdotool key Escape
  wait_for "$pid" 10
  if [[ $placed == no ]]; then
    fail "$what: expected the crosshair across ${pw}x${ph}+${px}+${py}, saw it across ${box:-nothing}"
  elif ((text == 0)); then
    fail "$what: no frame-rate text in the picture's lower right corner (crosshair across $box)"
  else
    pass "$what: crosshair across $box on ${width}x${height}, frame-rate text in its corner"
  fi
  if [[ $status != 0 ]] || [[ -s $work/err ]]; then
    fail "$what: Escape gave status $status, stderr: $(head -c 300 "$work/err")"
  fi
}

check_scaling "no window manager"
# The whole covering picture, however the driver is named.
check_picture "no window manager"
SDL_VIDEODRIVER=X11 check_picture "no window manager, SDL_VIDEODRIVER=X11"
SDL_VIDEODRIVER=x11,offscreen check_picture "no window manager, SDL_VIDEODRIVER=x11,offscreen"
covering=("$pw" "$ph" "$px" "$py" "$slack")
# A window is the picture's own size, unscaled, in the middle of the screen.
pw=640 ph=480 px=$(((width - 640) / 2)) py=$(((height - 480) / 2)) slack=2
check_picture "--window, no window manager" --window

# A window manager that announces itself the EWMH way, started for this case.
start_openbox || { finish; exit; }
read -r pw ph px py slack <<<"${covering[*]}"
check_scaling "openbox"
check_picture "openbox"
# A decorated window fits whole only on a screen larger than the picture.
if ((height > 480)); then
  pw=640 ph=480 px=any slack=2
  check_picture "--window, openbox" --window
fi

finish
