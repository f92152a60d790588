#!/usr/bin/env bash
# The Debian package on a machine that has nothing yet: scripts/package.sh
# builds and lints it, apt installs it with its dependencies in a fresh
# minimal Debian 12 root (scripts/lib/fresh-root.sh), the desktop entry's command
# runs it on a private Xvfb started outside the root, where a screenshot shows
# the whole picture, until a real Escape press, the screensaver's entry names
# its command and that command runs until SIGTERM, and apt purge leaves
# nothing of it behind. Needs root on the host.
#
#   tests/package/package_test.sh          the host's package
#   tests/package/package_test.sh arm64    the arm64 one, built and run in arm64
#                                          roots under qemu-user; its first
#                                          window runs with --window
#
# Ends with "package: N passed, N failed" ("package-arm64: ...").
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
me=package_test.sh
arch=${1:-$(dpkg --print-architecture)}
label=package${1:+-$1}
source "$root/scripts/lib/fresh-session.sh"
source "$root/tests/support/picture.sh"
source "$root/tests/support/icons.sh"

if ! "$root/scripts/package.sh" "$@" >"$work/package.log" 2>&1; then
  fail "scripts/package.sh${*:+ $*}: $(tail -n 20 "$work/package.log")"
  finish
fi
pass "scripts/package.sh${*:+ $*} builds the package; lintian and appstreamcli find nothing"
debs=("$root"/dist/vorlex_*_"$arch".deb)
((${#debs[@]} == 1)) || { fail "expected one $arch package in dist/, found: ${debs[*]}"; finish; }
deb=${debs[0]##*/}

"$root/scripts/lib/deps.sh" fresh pictures >/dev/null || { fail "cannot install what the fresh root needs"; finish; }
"$root/scripts/lib/fresh-root.sh" make "$fresh" "$arch" || { fail "cannot make a fresh $arch root"; finish; }
mkdir -p "$fresh/root/dist"
cp "${debs[0]}" "$fresh/root/dist/"
if in_root sh -c "cd /root && apt-get -qq update && DEBIAN_FRONTEND=noninteractive \
    apt-get -y -o DPkg::Lock::Timeout=900 install ./dist/$deb" >"$work/install.log" 2>&1; then
  pass "apt-get install ./dist/$deb on a fresh Debian 12"
else
  fail "apt-get install ./dist/$deb: $(tail -n 20 "$work/install.log")"
  finish
fi
rm -rf "$fresh/root/dist"
icons=$(icon_problems "$fresh/usr")
[[ -z $icons ]] && pass "the icon in every size icon themes look up, and as SVG" || fail "the package's icons: $icons"

# The main entry's Exec holds the launcher's path as one quoted argument.
entry=$(ls "$fresh"/usr/share/applications/*.desktop 2>/dev/null)
exec_line=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry" 2>/dev/null)
command=${exec_line#\"}
command=${command%\"}
if [[ $command != /* || ! -x $fresh$command ]]; then
  fail "the desktop entry's Exec=$exec_line is not an installed program"
  finish
fi

# The package's launcher passes options through.
expected="Vorlex $(sed -n 's/^set(VORLEX_VERSION \(.*\))$/\1/p' "$root/cmake/version.cmake")"
said=$(in_root "$command" --version 2>&1)
if [[ $said == "$expected" ]]; then
  pass "vorlex --version says $said"
else
  fail "vorlex --version says '$said', expected '$expected'"
fi

start_xvfb

# A desktop starts it from the user's home folder; the emulated one in a
# window, as a user tries a package first.
window=()
[[ -z ${1:-} ]] || window=(--window)
what="Exec=$exec_line${window[*]:+ ${window[*]}}"
: >"$work/out"
in_root sh -c 'cd /root && exec "$0" "$@"' "$command" "${window[@]}" >"$work/out" 2>"$work/err" &
run=$!
# Two lines: the first one's window holds the start-up as well.
rates() { grep -E '^[0-9]+$' "$work/out" | tr '\n' ' '; }
for _ in $(seq 900); do
  (($(grep -cE '^[0-9]+$' "$work/out") >= 2)) && break
  kill -0 "$run" 2>/dev/null || break
  sleep 0.1
done
if (($(grep -cE '^[0-9]+$' "$work/out") >= 2)); then
  pass "$what shows frame-rate lines: $(rates)frames a second"
else
  fail "$what: not two frame-rate lines in 90 s (saw: $(rates)); stderr: $(head -c 400 "$work/err")"
fi
expect_picture "$what" 640 480
xdotool key Escape
status=hung
for _ in $(seq 100); do
  kill -0 "$run" 2>/dev/null || { wait "$run"; status=$?; break; }
  sleep 0.1
done
if [[ $status == 0 && ! -s $work/err ]]; then
  pass "Escape ends it with status 0"
else
  fail "after Escape: status $status, expected 0; stderr: $(head -c 400 "$work/err")"
fi

# Debian's CI runs debian/tests; here Debian's autopkgtest runs them on the
# installed package in the root, which installs their Depends itself. The
# host's X sockets are hidden from it: the X server its test starts must not
# take a display number the host's servers hold. Emulated, it would take
# minutes, so the amd64 package's run alone has it.
if [[ -z ${1:-} ]]; then
  mkdir -p "$fresh/root/src"
  cp -r "$root/debian" "$fresh/root/src/"
  : >"$work/autopkgtest.log"
  SECONDS=0
  if in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get -y -o DPkg::Lock::Timeout=900 \
        install --no-install-recommends autopkgtest' >>"$work/autopkgtest.log" 2>&1 &&
     unshare -m --propagation private sh -c 'mount -t tmpfs tmpfs /tmp/.X11-unix &&
        exec "$0" run "$1" autopkgtest -B /root/src -- null' "$root/scripts/lib/fresh-root.sh" "$fresh" \
        >>"$work/autopkgtest.log" 2>&1; then
    pass "autopkgtest runs debian/tests in ${SECONDS} s: $(grep -E '^(frame-rate lines|command1 )' "$work/autopkgtest.log" | awk '!seen[$0]++' | tr -s ' \n' ' ')"
  else
    fail "autopkgtest on debian/tests: $(tail -n 20 "$work/autopkgtest.log")"
  fi
  rm -rf "$fresh/root/src"
fi

# The screensaver's registration, and what its entry runs: the demo on the
# screen's root window (no daemon here to name a window), past its first
# five-second frame-rate window without a line, until SIGTERM, as a daemon
# ends it, which ends it by that signal.
saver_exec=$(sed -n 's/^Exec=//p' "$fresh/usr/share/applications/screensavers/vorlex.desktop" 2>/dev/null)
saver_name=$(sed -n 's/.*<screensaver name="\([^"]*\)".*/\1/p' \
  "$fresh/usr/share/xscreensaver/config/vorlex.xml" 2>/dev/null)
if [[ $saver_exec != '"/usr/bin/vorlex" --root' || $saver_name != vorlex ]]; then
  fail "the screensaver's entry has Exec=$saver_exec; XScreenSaver's page names \"$saver_name\""
else
  pass "the screensaver's entry runs \"/usr/bin/vorlex\" --root; XScreenSaver's page names vorlex"
  # The demo's own output is kept inside the root: the script that enters
  # the root waits for it, and says "Terminated" of a child SIGTERM ended.
  in_root sh -c 'cd /root && exec /usr/bin/vorlex --root >saver.out 2>saver.err' >/dev/null 2>&1 &
  run=$!
  demo=
  for _ in $(seq 600); do
    # Under qemu-user the command line starts with qemu's own path.
    for pid in $(pgrep -f '(^| )\./Vorlex\.app/Contents/MacOS/Vorlex --root$'); do
      [[ $(readlink "/proc/$pid/root") == "$fresh" ]] && demo=$pid
    done
    [[ -n $demo ]] && age=$(ps -o etimes= -p "$demo") && ((age >= 6)) && break
    kill -0 "$run" 2>/dev/null || break
    sleep 0.1
  done
  [[ -n $demo ]] && kill -TERM "$demo"
  status=hung
  for _ in $(seq 100); do
    kill -0 "$run" 2>/dev/null || { wait "$run"; status=$?; break; }
    sleep 0.1
  done
  if [[ -n $demo && $status == 143 && -f $fresh/root/saver.err && ! -s $fresh/root/saver.err &&
        -f $fresh/root/saver.out && ! -s $fresh/root/saver.out ]]; then
    pass "vorlex --root draws on the root window, silent, until SIGTERM ends it"
  else
    fail "vorlex --root: ${demo:+pid $demo, }status $status; stdout: $(head -c 100 "$fresh/root/saver.out" 2>&1); stderr: $(head -c 400 "$fresh/root/saver.err" 2>&1)"
  fi
fi

if ! in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get -y -o DPkg::Lock::Timeout=900 purge vorlex' \
    >"$work/purge.log" 2>&1; then
  fail "apt-get purge vorlex: $(tail -n 20 "$work/purge.log")"
else
  # The screensaver's folders belong to no package of a fresh root.
  left=$(find "$fresh" -xdev \( -iname '*vorlex*' -o -path "$fresh/usr/share/xscreensaver" \
    -o -path "$fresh/usr/share/applications/screensavers" \) | sed "s|^$fresh||")
  if [[ -n $left ]]; then
    fail "apt-get purge vorlex leaves: $(echo $left)"
  else
    pass "apt-get purge vorlex leaves nothing behind"
  fi
fi
finish
