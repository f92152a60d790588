# What the checks on a fresh Debian 12 root share (scripts/fresh-check.sh,
# tests/package/package_test.sh); sourced, with root, me and label set. Sets
# fresh (where the check's root goes, made by the check), work (a scratch
# folder), the pass and fail counts with finish, which closes on "LABEL: N
# passed, N failed", in_root and start_xvfb. At exit the Xvfb ends and the
# root and the scratch folder are removed, whatever still runs in the root
# with them.
[[ $(id -u) == 0 ]] || { echo "$me: must run as root (it mounts and chroots)" >&2; exit 1; }

passed=0
failed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
finish() { echo "$label: $passed passed, $failed failed"; exit $((failed > 0)); }

fresh=$(mktemp -d "/var/tmp/vorlex-$label.XXXXXX")
rmdir "$fresh"
work=$(mktemp -d)
xvfb=
cleanup() {
  [[ -z $xvfb ]] || { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
  "$root/scripts/lib/fresh-root.sh" remove "$fresh"
  rm -rf "$work"
}
trap cleanup EXIT
in_root() { "$root/scripts/lib/fresh-root.sh" run "$fresh" "$@"; }

# A private Xvfb outside the root, whose socket the root sees; exports
# DISPLAY. -noreset: a server that resets when its last client leaves
# refuses whoever connects meanwhile.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 200); do
    [[ -s $work/display ]] && break
    sleep 0.05
  done
  [[ -s $work/display ]] || { fail "Xvfb did not start: $(cat "$work/xvfb.log")"; finish; }
  DISPLAY=":$(head -n 1 "$work/display")"
  export DISPLAY
}
