#!/usr/bin/env bash
# Builds the Debian package dist/vorlex_<version>_<arch>.deb from this source
# tree with debhelper (debian/), then checks it: lintian reports no error and
# no warning, and the AppStream data validates. Installs what it needs first.
#
#   scripts/package.sh          for this machine's architecture
#   scripts/package.sh arm64    for 64-bit ARM, built in an arm64 Debian 12
#                               root under qemu-user (needs root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
me=package.sh
host_arch=$(dpkg --print-architecture)

case ${1:-} in
  -h | --help)
    sed -n 's/^#   //p' "$0"
    exit 0 ;;
  "" | "$host_arch") arch=$host_arch ;;
  arm64) arch=arm64 ;;
  *) echo "$me: cannot build for \"$1\": the architectures are $host_arch and arm64 (see --help)" >&2; exit 2 ;;
esac
(($# <= 1)) || { echo "usage: $me [arm64]" >&2; exit 2; }

# dpkg-buildpackage builds inside the source tree and writes the package to
# the folder above it, so it works on a copy.
dist=$root/dist
stage=$dist/stage-$arch
rm -rf "$stage"
mkdir -p "$stage"
copy_source() {
  mkdir -p "$1"
  tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./dist --exclude='./obj-*' -cf - . |
    tar -C "$1" -xf -
}
build_failed() {
  tail -n 30 "$1" >&2
  echo "$me: dpkg-buildpackage failed (the last 30 lines of $1 above)" >&2
  exit 1
}
if [[ $arch == "$host_arch" ]]; then
  "$root/scripts/lib/deps.sh" build package
  deb=vorlex_$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)_$arch.deb
  copy_source "$stage/vorlex"
  cd "$stage/vorlex"
  echo "$me: building the package (log: $stage/build.log)"
  DEB_BUILD_OPTIONS="noddebs ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -b -us -uc -j"$(nproc)" >"$stage/build.log" 2>&1 || build_failed "$stage/build.log"
  mv "$stage/$deb" "$dist/$deb"
  cd "$root"
else
  "$root/scripts/lib/deps.sh" package "$arch"
  deb=vorlex_$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)_$arch.deb
  source "$root/scripts/lib/build-root.sh"
  build_root_ready
  rm -rf "$broot/root/src"
  copy_source "$broot/root/src/vorlex"
  echo "$me: building the package in the $arch root, under qemu-user (log: $stage/build.log)"
  # ccache keeps what it compiled for the next run (build_root_keep).
  in_build_root sh -c "cd /root/src/vorlex && \
    CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache \
    CCACHE_DIR=/root/.ccache CCACHE_MAXSIZE=200M DEB_BUILD_OPTIONS='noddebs ${DEB_BUILD_OPTIONS:-}' \
    dpkg-buildpackage -b -us -uc -j$(nproc)" >"$stage/build.log" 2>&1 || build_failed "$stage/build.log"
  mv "$broot/root/src/$deb" "$dist/$deb"
  build_root_keep
  rm -rf "$broot/root/src"
fi

echo "$me: lintian $dist/$deb"
lintian --fail-on error,warning --display-info --pedantic "$dist/$deb" ||
  { echo "$me: lintian reports errors or warnings on $dist/$deb" >&2; exit 1; }

# --no-net: this machine reaches Debian's mirrors only, so the screenshots'
# URLs are checked for form, not fetched.
dpkg-deb -x "$dist/$deb" "$stage/contents"
appstreamcli validate --no-net "$stage"/contents/usr/share/metainfo/*.metainfo.xml >"$stage/appstream.log" ||
  { cat "$stage/appstream.log" >&2; echo "$me: appstreamcli rejects the package's AppStream data" >&2; exit 1; }

rm -rf "$stage"
echo "$me: $dist/$deb"
