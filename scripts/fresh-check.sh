#!/usr/bin/env bash
# The README's commands on a machine that has nothing yet: a fresh minimal
# Debian 12 root (scripts/lib/fresh-root.sh), a clone of this checkout's committed
# HEAD in it, and a newcomer there, an ordinary user with sudo, who runs
# scripts/run.sh on a private Xvfb started outside the root. It must install,
# build and show frame-rate lines, and only those, on standard output, and
# end on a real Escape press with status 0.
#
#   scripts/fresh-check.sh           the run.sh check
#   scripts/fresh-check.sh --full    then sudo scripts/test.sh in the same root
#
# Needs root on the host (it mounts and chroots). Uncommitted changes are not
# checked. Ends with "fresh-check: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
me="fresh-check.sh"
full=0
case ${1:-} in
  --full) full=1 ;;
  "") ;;
  *) echo "usage: $me [--full]" >&2; exit 2 ;;
esac
label=fresh-check
source "$root/scripts/lib/fresh-session.sh"
"$root/scripts/lib/deps.sh" fresh || exit 1

elapsed() { echo $((SECONDS - $1)); }

# The network's own trust: where the host reaches the npm registry through a
# gateway with a certificate authority of its own (NODE_EXTRA_CA_CERTS), the
# root's Node gets the same file. It belongs to the network, not to any
# machine's packages.
network=()
if [[ -r ${NODE_EXTRA_CA_CERTS:-} ]]; then
  network=(NODE_EXTRA_CA_CERTS=/etc/ssl/network-extra-ca.crt)
fi
# As the newcomer, in the clone, with nothing of the host's environment but
# the display and the network's trust.
as_newcomer() {
  in_root runuser -u newcomer -- env -i HOME=/home/newcomer LANG=C.UTF-8 DISPLAY="$DISPLAY" \
    PATH=/usr/local/bin:/usr/bin:/bin "${network[@]}" bash -c "cd ~/vorlex && $1"
}

start=$SECONDS
"$root/scripts/lib/fresh-root.sh" make "$fresh" || { fail "making a fresh root in $fresh"; finish; }
((${#network[@]} == 0)) || cp "$NODE_EXTRA_CA_CERTS" "$fresh/etc/ssl/network-extra-ca.crt"
git -C "$root" bundle create -q "$fresh/tmp/vorlex.bundle" HEAD 2>"$work/git" ||
  { fail "bundling HEAD of $root: $(cat "$work/git")"; finish; }
if ! in_root bash -c 'useradd -m -s /bin/bash newcomer &&
       echo "newcomer ALL=(ALL) NOPASSWD: ALL" >/etc/sudoers.d/newcomer &&
       runuser -u newcomer -- git -c advice.detachedHead=false clone -q /tmp/vorlex.bundle /home/newcomer/vorlex &&
       runuser -u newcomer -- git -C /home/newcomer/vorlex switch -q -c main' >"$work/setup" 2>&1; then
  fail "setting up the newcomer's clone: $(cat "$work/setup")"
  finish
fi
echo "$me: fresh root with a clone of $(git -C "$root" rev-parse --short HEAD) ready in $(elapsed "$start") s" >&2

start_xvfb

# run.sh: installs and builds on a first start, so the first frame-rate line
# may take minutes.
start=$SECONDS
as_newcomer scripts/run.sh >"$work/out" 2>"$work/err" &
run=$!
for _ in $(seq 1800); do
  [[ -s $work/out ]] && break
  kill -0 "$run" 2>/dev/null || break
  sleep 0.5
done
first=$(elapsed "$start")
if [[ -s $work/out ]]; then
  xdotool key Escape
  for _ in $(seq 200); do
    kill -0 "$run" 2>/dev/null || break
    sleep 0.1
  done
fi
kill -0 "$run" 2>/dev/null && "$root/scripts/lib/fresh-root.sh" stop "$fresh"
wait "$run"
status=$?
if [[ ! -s $work/out ]]; then
  fail "run.sh: no frame-rate line after $first s, status $status; standard error: $(tail -n 30 "$work/err")"
elif [[ $status != 0 ]]; then
  fail "run.sh: status $status after Escape, expected 0; standard error: $(tail -n 30 "$work/err")"
elif grep -qvE '^[0-9]+$' "$work/out"; then
  fail "run.sh: standard output holds more than frame-rate lines: $(head -c 600 "$work/out")"
else
  pass "run.sh: frame-rate lines $(tr '\n' ' ' <"$work/out")after $first s, status 0 on Escape; standard error: $(tr '\n' '|' <"$work/err")"
fi

if ((full)); then
  start=$SECONDS
  # Through sudo: the Debian package's stage installs the package.
  if as_newcomer "sudo ${network[*]} scripts/test.sh" >"$work/test" 2>&1; then
    pass "test.sh in $(elapsed "$start") s: $(grep -E 'tests passed|passed, [0-9]+ failed' "$work/test" | tr '\n' '|')"
  else
    tail -n 60 "$work/test"
    fail "test.sh after $(elapsed "$start") s (its last lines above)"
  fi
fi
finish
