#!/usr/bin/env bash
# A fresh, minimal Debian 12 root, as a newcomer's machine starts out:
# debootstrap --variant=minbase bookworm plus ca-certificates, sudo and git.
#
#   scripts/lib/fresh-root.sh make DIR [ARCH]   DIR becomes such a root, of the
#                                               Debian architecture ARCH (arm64)
#                                               under qemu-user if not the host's
#   scripts/lib/fresh-root.sh run DIR CMD...    runs CMD as root inside DIR
#   scripts/lib/fresh-root.sh stop DIR          ends every process running in DIR
#   scripts/lib/fresh-root.sh remove DIR        stops, unmounts what is left, deletes DIR
#
# The first make bootstraps the root once and keeps it as a tarball in
# $VORLEX_FRESH_CACHE (default /var/cache/vorlex-fresh), outside any clone;
# later ones only unpack it. A root of another architecture runs its programs
# through binfmt_misc and qemu-user-static (scripts/lib/deps.sh arm64), which
# make and run register when that is not done yet. The root uses the host's
# Debian sources, since the host's mirror is the one the network is known to
# reach.
#
# Downloaded packages: make hard-links the host's apt archive and the cache's
# own store into DIR's /var/cache/apt/archives, and remove keeps in the store
# what DIR downloaded, so a warm root installs without downloading. Links
# rather than a bind mount of the host's archive: the root's apt then never
# waits for, or fights over, the lock of an apt running on the host.
set -euo pipefail

cache=${VORLEX_FRESH_CACHE:-/var/cache/vorlex-fresh}
suite=bookworm
host_arch=$(dpkg --print-architecture)
store=$cache/debs
me=fresh-root.sh

die() { echo "$me: $*" >&2; exit 1; }
usage() { die "usage: scripts/lib/$me make DIR [ARCH] | run DIR CMD... | stop DIR | remove DIR"; }

# The host's apt source files that serve the suite itself ("bookworm",
# "bookworm-updates", "bookworm/updates"), not third-party ones whose keys the
# root lacks.
debian_sources() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] && grep -Eq "^[^#]*[[:space:]]$suite([-/][a-z]+)?([[:space:]]|$)" "$f" && echo "$f"
  done
  return 0
}

# The first mirror URI that serves the suite, in one-line or deb822 form.
debian_mirror() {
  local f
  for f in $(debian_sources); do
    awk -v suite="$suite" '
      /^[[:space:]]*#/ { next }
      $1 == "deb" { sub(/\[[^]]*\][[:space:]]*/, ""); if ($3 == suite) { print $2; exit } }
      /^URIs:/ { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite && uri != "") { print uri; exit } }
      /^[[:space:]]*$/ { uri = "" }' "$f"
  done | head -n 1
}

# The host's kernel runs ARCH's programs through qemu-user: binfmt_misc
# mounted, and qemu's entry for ARCH registered with it. qemu-user-static
# registers with fix_binary, so no copy of qemu has to be in the root.
emulate() {
  local arch=$1 cpu entry
  [[ $arch != "$host_arch" ]] || return 0
  case $arch in
    arm64) cpu=aarch64 ;;
    armhf | armel) cpu=arm ;;
    *) die "no qemu-user emulation is known for the architecture \"$arch\"" ;;
  esac
  entry=/proc/sys/fs/binfmt_misc/qemu-$cpu
  [[ $(head -n 1 "$entry" 2>/dev/null) != enabled ]] || return 0
  if [[ ! -f /usr/share/binfmts/qemu-$cpu ]] || ! command -v update-binfmts >/dev/null; then
    die "qemu-user-static and binfmt-support are not installed (scripts/lib/deps.sh arm64)"
  fi
  if [[ ! -e /proc/sys/fs/binfmt_misc/register ]]; then
    echo "$me: mounting binfmt_misc on /proc/sys/fs/binfmt_misc" >&2
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null ||
      die "cannot mount binfmt_misc, so this machine cannot run $arch programs under qemu-user"
  fi
  echo "$me: registering qemu-$cpu with binfmt_misc, to run $arch programs" >&2
  update-binfmts --enable "qemu-$cpu" >/dev/null 2>&1 || true
  [[ $(head -n 1 "$entry" 2>/dev/null) == enabled ]] ||
    die "cannot register qemu-$cpu with binfmt_misc, so this machine cannot run $arch programs"
}

# The architecture of a root made here, which make records (in a file named
# without "vorlex", as the package test looks for any such file left).
root_arch() { cat "$1/etc/fresh-root-arch" 2>/dev/null || echo "$host_arch"; }

# Mount points under DIR, deepest first.
mounts_under() {
  local dir=$1
  awk -v d="$dir" '$2 == d || index($2, d "/") == 1 { print $2 }' /proc/self/mounts | sort -r
}

unmount_all() {
  local dir=$1 m
  for m in $(mounts_under "$dir"); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
}

bootstrap() {
  local mirror
  mirror=$(debian_mirror)
  [[ -n $mirror ]] || die "no apt source for $suite in /etc/apt/sources.list*"
  command -v debootstrap >/dev/null || die "debootstrap is not installed (apt-get install debootstrap)"
  mkdir -p "$cache"
  work=$(mktemp -d "$cache/bootstrap.XXXXXX")  # global: the EXIT trap reads it
  trap 'unmount_all "$work"; rm -rf --one-file-system "$work"' EXIT
  echo "$me: bootstrapping $suite for $arch from $mirror into $tarball (once, a few minutes)" >&2
  local options=(--variant=minbase "--include=ca-certificates,sudo,git")
  # Another architecture's packages are unpacked here and set up by its own
  # programs, under qemu-user, in a second stage.
  if [[ $arch == "$host_arch" ]]; then
    debootstrap "${options[@]}" "$suite" "$work/root" "$mirror" >"$work/log" 2>&1
  else
    debootstrap --arch="$arch" --foreign "${options[@]}" "$suite" "$work/root" "$mirror" >"$work/log" 2>&1 &&
      chroot "$work/root" /debootstrap/debootstrap --second-stage >>"$work/log" 2>&1
  fi || {
    tail -n 20 "$work/log" >&2
    die "debootstrap failed (full log above, last 20 lines)"
  }
  rm -f "$work/root/etc/apt/sources.list"
  local f
  for f in $(debian_sources); do
    cp "$f" "$work/root$f"
  done
  rm -rf "$work/root"/var/cache/apt/archives/*.deb "$work/root"/var/lib/apt/lists/*
  tar -C "$work/root" -cf "$work/root.tar" .
  mv "$work/root.tar" "$tarball"
  unmount_all "$work"
  rm -rf --one-file-system "$work"
  trap - EXIT
}

make_root() {
  local dir=$1
  arch=${2:-$host_arch}  # global, as is tarball: bootstrap reads them
  # The host's keeps the name it has always had, and so its cache.
  tarball=$cache/$suite-minbase-git-sudo.tar
  [[ $arch == "$host_arch" ]] || tarball=$cache/$suite-$arch-minbase-git-sudo.tar
  [[ ! -e $dir ]] || [[ -z $(ls -A "$dir") ]] || die "$dir exists and is not empty"
  emulate "$arch"
  [[ -f $tarball ]] || bootstrap
  mkdir -p "$dir"
  tar -C "$dir" -xf "$tarball" || die "cannot unpack $tarball into $dir"
  [[ $arch == "$host_arch" ]] || echo "$arch" >"$dir/etc/fresh-root-arch"
  # dpkg syncs every file it unpacks; a root that lives for one check needs
  # none of that, and installs in a fraction of the time without it.
  # Named without "vorlex": the package test looks for any such file left.
  echo force-unsafe-io >"$dir/etc/dpkg/dpkg.cfg.d/throwaway-unsafe-io"
  # Links only: on another file system apt downloads instead.
  local archives=$dir/var/cache/apt/archives from
  mkdir -p "$archives" "$store"
  for from in /var/cache/apt/archives "$store"; do
    find "$from" -maxdepth 1 -name '*.deb' -exec cp -l -n -t "$archives" {} + 2>/dev/null || true
  done
}

run_in() {
  local dir=$1
  shift
  (($#)) || usage
  [[ -x $dir/bin/sh ]] || die "$dir is not a root made by 'scripts/lib/$me make'"
  [[ -z $(mounts_under "$dir") ]] || die "$dir is in use: something is still mounted under it"
  emulate "$(root_arch "$dir")"
  trap 'unmount_all "$dir"' EXIT
  mount -t proc proc "$dir/proc"
  mount -t sysfs sysfs "$dir/sys"
  mount --bind /dev "$dir/dev"
  mount --bind /dev/pts "$dir/dev/pts"
  mkdir -p "$dir/tmp/.X11-unix"
  [[ ! -d /tmp/.X11-unix ]] || mount --bind /tmp/.X11-unix "$dir/tmp/.X11-unix"
  # Name lookups as on the host: the mirror's, and sudo's of the host name.
  local f
  for f in /etc/resolv.conf /etc/hosts /etc/hostname; do
    cp -L "$f" "$dir$f" 2>/dev/null || true
  done
  local env=(HOME=/root LANG=C.UTF-8 PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
  [[ -z ${DISPLAY:-} ]] || env+=(DISPLAY="$DISPLAY")
  [[ -z ${TERM:-} ]] || env+=(TERM="$TERM")
  local status=0
  chroot "$dir" /usr/bin/env -i "${env[@]}" "$@" || status=$?
  unmount_all "$dir"
  trap - EXIT
  return "$status"
}

# Whatever still runs inside the root (a hung program, a daemon an install
# started): exactly the processes whose root directory it is.
stop_root() {
  local dir=$1 p
  for p in /proc/[0-9]*; do
    [[ $(readlink "$p/root" 2>/dev/null) == "$dir" ]] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  return 0
}

remove_root() {
  local dir=$1
  [[ -e $dir ]] || return 0
  stop_root "$dir"
  unmount_all "$dir"
  [[ -z $(mounts_under "$dir") ]] || die "cannot unmount everything under $dir; not deleting it"
  # Keep what the root downloaded for the next one: the files with one link,
  # which were not linked in by make.
  mkdir -p "$store"
  find "$dir/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -links 1 \
    -exec cp -l -n -t "$store" {} + 2>/dev/null ||
    find "$dir/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -links 1 -exec cp -n -t "$store" {} +
  rm -rf --one-file-system "$dir"
}

(($# >= 2)) || usage
[[ $(id -u) == 0 ]] || die "must run as root (it mounts and chroots)"
command=$1
dir=$(realpath -m "$2")
shift 2
[[ $dir != / ]] || die "refusing to use / as the root"
case $command in
  make) (($# <= 1)) || usage; make_root "$dir" "$@" ;;
  run) run_in "$dir" "$@" ;;
  stop) (($# == 0)) || usage; stop_root "$dir" ;;
  remove) (($# == 0)) || usage; remove_root "$dir" ;;
  *) usage ;;
esac
