#!/usr/bin/env bash
# Installs what building, running and testing Vorlex need, from Debian's
# packages, and nothing that is already there. Safe to run again. Packages
# named as arguments are installed too (scripts/pictures.sh asks for
# imagemagick).
set -euo pipefail
# scripts/package.sh: building the Debian package and checking it.
[[ ${1:-} != package ]] || set -- build-essential debhelper lintian appstream

# scripts/web.sh; a Node that brings its own npm conflicts with Debian's.
[[ ${1:-} != web ]] || set -- emscripten cmake make nodejs $(command -v npm >/dev/null || echo npm) chromium imagemagick

packages=(
  cmake g++ make pkg-config
  libsdl1.2-compat-dev libsdl-image1.2-dev libgl-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool desktop-file-utils
  perl procps  # the end-to-end scripts write broken images with perl, look for leftovers with pgrep
  openbox imagemagick  # the screen test: a window manager to start, screenshots to read
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo=()
if [[ $(id -u) != 0 ]]; then
  command -v sudo >/dev/null || { echo "deps.sh: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
echo "deps.sh: installing ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
