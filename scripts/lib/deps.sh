#!/usr/bin/env bash
# Installs, from Debian's packages, what each PURPOSE named needs and is not
# there yet; safe to run again. The lists below are the whole of what the
# scripts install:
#
#   scripts/lib/deps.sh PURPOSE...          e.g. scripts/lib/deps.sh build run
#   scripts/lib/deps.sh --list PURPOSE...   prints their packages, one a line
set -euo pipefail
declare -A packages=(
  # SDL_opengl.h includes GL/glu.h, which only the GLU headers provide; the
  # display code calls Xlib and Xinerama itself.
  [build]="cmake g++ make pkg-config libsdl1.2-compat-dev libsdl-image1.2-dev libgl-dev libglu1-mesa-dev libx11-dev libxinerama-dev"
  # Mesa's drivers, llvmpipe among them.
  [run]="libgl1-mesa-dri"
  # The end-to-end scripts write broken images with perl and look for
  # leftovers with pgrep (procps); the resources' check runs their generator
  # (python3-pil); the screen test starts a window manager (openbox) and reads
  # screenshots (imagemagick); CI builds the benchmark too. The screensaver
  # test runs the xscreensaver daemon, whose "GL:" display modes need the
  # visual helper of xscreensaver-gl. The session test listens on a session
  # bus of its own (dbus-daemon's dbus-run-session, dbus-bin's dbus-monitor)
  # and reads the X idle time (xprintidle); the two-monitor test runs Xephyr.
  [test]="libgtest-dev libbenchmark-dev xvfb xauth x11-utils xdotool desktop-file-utils perl procps python3 python3-pil openbox imagemagick xscreensaver xscreensaver-gl dbus-daemon dbus-bin xprintidle xserver-xephyr"
  # llvm-14 brings llvm-symbolizer, which names the functions in a crash.
  [fuzz]="clang libclang-rt-14-dev llvm-14"
  [pictures]="imagemagick"
  # scripts/package.sh: building the Debian package and checking it.
  [package]="build-essential debhelper lintian appstream"
  # scripts/package.sh arm64: what builds the package inside the arm64 root,
  # with ccache, which keeps its compiles under emulation for the next run.
  [package-root]="build-essential debhelper ccache"
  # scripts/web.sh; the page decodes its images with stb_image (libstb-dev,
  # which reads 16-bit PNG); a Node that brings its own npm conflicts with Debian's.
  # The page is tested in Chromium, Firefox ESR and WebKit (webkit2gtk-driver
  # brings WebKitGTK's MiniBrowser; it runs on an Xvfb screen).
  [web]="emscripten libstb-dev cmake make nodejs chromium firefox-esr webkit2gtk-driver xvfb xauth imagemagick$(command -v npm >/dev/null || echo ' npm')"
  # scripts/windows.sh: the cross compiler and what SDL's source needs to be
  # fetched (dpkg-dev) and built; Wine with what its X11 and OpenGL drivers
  # load at run time, which Debian only recommends, and the fonts of its
  # message boxes; the test's screen, keys and screenshots, and gdb, which
  # tells Wine's own deadlock on Ctrl+C from a hang of the program's. NSIS
  # builds the installer; icoutils' wrestool lists the programs' resources.
  [windows]="gdb cmake make g++-mingw-w64-x86-64-posix dpkg-dev libstb-dev zip unzip nsis icoutils wine64 libgl1 libgl1-mesa-dri libxrandr2 libxcursor1 libxi6 libxrender1 libxfixes3 libxcomposite1 libxinerama1 libxxf86vm1 fonts-wine xvfb xauth x11-utils xdotool openbox imagemagick procps"
  # scripts/package.sh arm64: an arm64 Debian root, run under qemu-user
  # through binfmt_misc.
  [arm64]="qemu-user-static binfmt-support debootstrap"
  # scripts/fresh-check.sh: the fresh root, on the host.
  [fresh]="debootstrap git xvfb xdotool"
)

me=deps.sh
list=0
[[ ${1:-} != --list ]] || { list=1; shift; }
if (($# == 0)); then
  echo "usage: scripts/lib/$me PURPOSE... (any of: ${!packages[*]})" >&2
  exit 2
fi
wanted=()
for purpose in "$@"; do
  if [[ -z ${packages[$purpose]+set} ]]; then
    echo "$me: no such purpose \"$purpose\" (any of: ${!packages[*]})" >&2
    exit 2
  fi
  read -ra names <<<"${packages[$purpose]}"
  wanted+=("${names[@]}")
done
if ((list)); then
  printf '%s\n' "${wanted[@]}"
  exit 0
fi

missing=()
for p in "${wanted[@]}"; do
  [[ " ${missing[*]} " != *" $p "* ]] || continue
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo=()
if [[ $(id -u) != 0 ]]; then
  command -v sudo >/dev/null || { echo "$me: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
echo "$me: installing ${missing[*]}" >&2
# dpkg reports every package it unpacks and sets up on standard output; that
# goes to a log, shown only when the install fails. Errors and warnings come
# on standard error and are shown, but for debconf's notice that it has no
# apt-utils, which a minimal system always gives. Another apt may hold the
# lock: wait for it.
log=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$log" "$errors"' EXIT
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -qq -o DPkg::Lock::Timeout=900)
status=0
{ "${apt[@]}" update && "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; } >"$log" 2>"$errors" ||
  status=$?
((status == 0)) || cat "$log" >&2
grep -v '^debconf: delaying package configuration, since apt-utils is not installed' "$errors" >&2 || true
((status == 0)) || { echo "$me: installing ${missing[*]} failed" >&2; exit 1; }
