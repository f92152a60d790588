#!/usr/bin/env bash
# Builds the Debian package dist/vorlex_<version>_<arch>.deb from this source
# tree with debhelper (debian/), then checks it: lintian reports no error and
# no warning, and the AppStream data validates. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
me=package.sh
"$root/scripts/lib/deps.sh" build package

# dpkg-buildpackage builds inside the source tree and writes the package to
# the folder above it, so it works on a copy under dist/stage.
dist=$root/dist
stage=$dist/stage
rm -rf "$stage"
mkdir -p "$stage/vorlex"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./dist --exclude='./obj-*' -cf - . |
  tar -C "$stage/vorlex" -xf -
cd "$stage/vorlex"
echo "$me: building the package (log: $stage/build.log)"
if ! DEB_BUILD_OPTIONS="noddebs ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -b -us -uc -j"$(nproc)" >"$stage/build.log" 2>&1; then
  tail -n 30 "$stage/build.log" >&2
  echo "$me: dpkg-buildpackage failed (the last 30 lines of $stage/build.log above)" >&2
  exit 1
fi
deb=vorlex_$(dpkg-parsechangelog -S Version)_$(dpkg-architecture -qDEB_HOST_ARCH).deb
mv "$stage/$deb" "$dist/$deb"
cd "$root"

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
