#!/usr/bin/env bash
# Runs a command on a private Xvfb screen, 640x480x24 unless --screen names
# another, and passes on its status.
# Xvfb picks a free display number itself, so several of these may run at once.
# Usage: with_xvfb.sh [--screen WxHxDEPTH] COMMAND...
set -u

screen=640x480x24
if [[ ${1-} == --screen ]]; then
  screen=$2
  shift 2
fi

work=$(mktemp -d)
chmod 700 "$work"
# -noreset: by default the server resets whenever its last client leaves, and
# a client that connects during the reset (the next test's xdotool or
# program, right after the last one ended) is refused.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

for _ in $(seq 200); do
  [[ -s $work/display ]] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.05
done
if [[ ! -s $work/display ]]; then
  echo "with_xvfb: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

export DISPLAY=":$(head -n 1 "$work/display")"
export XDG_RUNTIME_DIR=$work
unset SDL_VIDEODRIVER
"$@"
