# The Debian 12 root of another architecture that scripts/package.sh builds
# in, under qemu-user; sourced, with root, me and arch set. Sets broot, the
# working root: build-ARCH/root in the clone, which git ignores.
#
# build_root_ready makes it if it is not there or holds other lists: from the
# prepared root kept in $VORLEX_BUILD_ROOT_CACHE (default /var/cache/vorlex-ARCH),
# outside any clone, or else from a fresh root (scripts/lib/fresh-root.sh)
# with the build and package-root lists installed, which it keeps there for
# the next clone. build_root_keep keeps ccache's store there too, so that a
# later build compiles under emulation only what changed.

broot=$root/build-$arch/root
bcache=${VORLEX_BUILD_ROOT_CACHE:-/var/cache/vorlex-$arch}
# Named after the lists it holds: a change to them makes a new one.
lists=$("$root/scripts/lib/deps.sh" --list build package-root | sort -u | tr '\n' ' ')
prepared=$bcache/build-root-$(echo "$lists" | sha256sum | cut -c 1-12).tar
compiled=$bcache/ccache.tar

in_build_root() { "$root/scripts/lib/fresh-root.sh" run "$broot" "$@"; }

build_root_ready() {
  [[ -x $broot/bin/sh && $(cat "$broot.made-from" 2>/dev/null) == "$prepared" ]] || build_root_make
  # Whether this machine runs the root's programs at all, said on standard
  # error rather than deep in the build's log.
  in_build_root true
}

build_root_make() {
  "$root/scripts/lib/fresh-root.sh" remove "$broot"
  rm -f "$broot.made-from"
  mkdir -p "$bcache"
  if [[ -f $prepared ]]; then
    echo "$me: unpacking the prepared $arch build root $prepared into $broot"
    mkdir -p "$broot"
    tar -C "$broot" -xf "$prepared" || { echo "$me: cannot unpack $prepared" >&2; exit 1; }
  else
    echo "$me: making a fresh $arch Debian 12 root in $broot"
    "$root/scripts/lib/fresh-root.sh" make "$broot" "$arch"
    echo "$me: installing in it, under qemu-user (once, a few minutes): $lists"
    cp "$root/scripts/lib/deps.sh" "$broot/root/deps.sh"
    in_build_root /root/deps.sh build package-root
    rm "$broot/root/deps.sh"
    in_build_root apt-get clean
    echo "$me: keeping the prepared root in $prepared"
    rm -f "$bcache"/build-root-*.tar
    tar -C "$broot" -cf "$prepared.part" . && mv "$prepared.part" "$prepared"
  fi
  if [[ -f $compiled ]]; then
    echo "$me: restoring the $arch compiler cache from $compiled"
    tar -C "$broot/root" -xf "$compiled"
  fi
  echo "$prepared" >"$broot.made-from"
}

build_root_keep() {
  [[ -d $broot/root/.ccache ]] || return 0
  tar -C "$broot/root" -cf "$compiled.part" .ccache && mv "$compiled.part" "$compiled"
}
