#!/usr/bin/env bash
# Vorlex for Windows, cross-built here with mingw-w64: SDL 1.2 for Windows
# built once from Debian's source and kept in build-windows/ (or
# $VORLEX_WINDOWS_BUILD), then the program, then the zip in dist/windows/ (or
# $VORLEX_WINDOWS_DIST). Installs what is missing first.
#
#   scripts/windows.sh          build dist/windows/vorlex-VERSION-win64.zip and
#                               vorlex-VERSION-setup.exe beside it
#   scripts/windows.sh test     build them, build them again and compare, then
#                               test what they hold under Wine
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${VORLEX_WINDOWS_BUILD:-$root/build-windows}
dist=${VORLEX_WINDOWS_DIST:-$root/dist/windows}
me=windows.sh
command=${1:-build}
(($# <= 1)) || { echo "$me: $command takes nothing more, not \"${*:2}\"" >&2; exit 2; }
case $command in
  build | test) ;;
  *) echo "$me: no command \"$command\" (build, test)" >&2; exit 2 ;;
esac

"$root/scripts/lib/deps.sh" windows >&2
version=$(sed -n 's/^set(VORLEX_VERSION \(.*\))$/\1/p' "$root/cmake/version.cmake")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[[ $epoch =~ ^[0-9]+$ ]] ||
  { echo "$me: no commit to date the build by: set SOURCE_DATE_EPOCH to its time, in seconds since 1970" >&2; exit 1; }
name=vorlex-$version-win64
mkdir -p "$work"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Runs a step with its output kept back, shown only when it fails.
step() {
  local what=$1
  shift
  "$@" >"$log" 2>&1 || { cat "$log" >&2; echo "$me: $what failed" >&2; exit 1; }
}

# SDL 1.2 itself, with Debian's fixes, at the one version the archive
# serves: apt-get source refuses any other, and then this line needs
# changing. Its source comes through an apt state of this build's own, whose
# deb-src entries are the system's deb entries: the system's apt is never
# touched.
sdl_version=1.2.15+dfsg2-8
sdl=$work/sdl-$sdl_version
# Standard output and error stay the program's: SDL's Windows entry would
# otherwise send them to files.
sdl_options=(--host=x86_64-w64-mingw32 --disable-stdio-redirect --disable-audio --disable-cdrom
             --disable-joystick --disable-directx --disable-static)
# SDL.dll's header is stamped with its source's date (SOURCE_DATE_EPOCH,
# which the linker and strip take), so that every build of it is the same
# bytes; one built otherwise is built again.
sdl_stamp="${sdl_options[*]} stamped with the source's date"
if [[ $(cat "$sdl/built" 2>/dev/null) != "$sdl_stamp" ]]; then
  echo "$me: building SDL $sdl_version for Windows (once; kept in $sdl)" >&2
  rm -rf "$sdl" "$work/sdl-source"
  apt_state=$work/sdl-source/apt
  mkdir -p "$apt_state/parts" "$apt_state/lists/partial" "$apt_state/cache/archives/partial"
  touch "$apt_state/sources.list"
  [[ ! -f /etc/apt/sources.list ]] || sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_state/sources.list"
  for file in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
    [[ -f $file ]] || continue
    case $file in
      *.sources) sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt_state/parts/${file##*/}" ;;
      *.list) sed -n 's/^deb /deb-src /p' "$file" >"$apt_state/parts/${file##*/}" ;;
    esac
  done
  apt=(apt-get -q -o Dir::Etc::SourceList="$apt_state/sources.list" -o Dir::Etc::SourceParts="$apt_state/parts"
       -o Dir::State::Lists="$apt_state/lists" -o Dir::Cache="$apt_state/cache" -o Debug::NoLocking=1
       -o APT::Sandbox::User="$(id -un)")
  step "reading Debian's source index" "${apt[@]}" update
  step "fetching SDL's source $sdl_version from Debian" \
    bash -c 'cd "$1" && shift && "$@"' _ "$work/sdl-source" "${apt[@]}" source --download-only "libsdl1.2=$sdl_version"
  step "unpacking SDL's source" dpkg-source -x "$work/sdl-source/libsdl1.2_$sdl_version.dsc" "$work/sdl-source/tree"
  mkdir -p "$work/sdl-source/build"
  SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$work/sdl-source/tree/debian/changelog" -STimestamp)
  export SOURCE_DATE_EPOCH
  step "configuring SDL" bash -c 'cd "$1" && shift && ../tree/configure "$@"' \
    _ "$work/sdl-source/build" --prefix="$sdl" "${sdl_options[@]}"
  step "building SDL" make -C "$work/sdl-source/build" -j 2
  step "installing SDL" make -C "$work/sdl-source/build" install
  step "stripping SDL.dll" x86_64-w64-mingw32-strip --strip-unneeded "$sdl/bin/SDL.dll"
  # What the zip must carry along with SDL.dll: its licence, and the source
  # it was built from.
  mkdir -p "$sdl/licence/source"
  cp "$work/sdl-source/tree/COPYING" "$sdl/licence/COPYING"
  cp "$work/sdl-source/tree/debian/copyright" "$sdl/licence/copyright"
  cp "$work/sdl-source/"libsdl1.2_* "$sdl/licence/source/"
  cat >"$sdl/licence/BUILD.txt" <<EOF
SDL.dll is SDL $sdl_version: Debian's source package libsdl1.2, in
source/, unpacked with Debian's patches (dpkg-source -x) and built on
Debian 12 with its mingw-w64 cross compiler:

  configure ${sdl_options[*]}
  make && make install
  x86_64-w64-mingw32-strip --strip-unneeded SDL.dll

Any SDL.dll of SDL 1.2 built for 64-bit Windows may take its place.
EOF
  rm -rf "$work/sdl-source"
  # The programs import SDL.dll delay-loaded (src/windows/sdl_library.h),
  # through a library made from the names it exports.
  x86_64-w64-mingw32-objdump -p "$sdl/bin/SDL.dll" | awk '/^\[Ordinal\/Name Pointer\] Table/ {
    print "EXPORTS"; names = 1; next } names && /^\t\[/ { print $NF; next } { names = 0 }' >"$sdl/lib/SDL.def"
  step "making SDL's delay-import library" x86_64-w64-mingw32-dlltool --input-def "$sdl/lib/SDL.def" \
    --dllname SDL.dll --output-delaylib "$sdl/lib/libSDL.delay.a"
  echo "$sdl_stamp" >"$sdl/built"
fi

# Every time the programs and the packages hold is the last commit's, or the
# caller's SOURCE_DATE_EPOCH, which the linker takes too: two builds of one
# commit are the same bytes.
SOURCE_DATE_EPOCH=$epoch
export SOURCE_DATE_EPOCH
echo "$me: building the program in $work/program" >&2
step "configuring the program" cmake -S "$root/windows" -B "$work/program" -DVORLEX_SDL="$sdl"
step "building the program" cmake --build "$work/program" -j 2

# The zip's one folder: the demo, the screensaver and SDL.dll, the images at
# the paths the programs open them by, a note for the user, and the licences
# of all it holds.
stage=$work/zip/$name
rm -rf "$work/zip"
step "putting the program together" cmake --install "$work/program" --prefix "$stage"
cp "$root/windows/README.txt" "$stage/README.txt"
licences=$stage/licences
mkdir -p "$licences"
cp "$root/LICENSE" "$licences/vorlex.txt"
cp -r "$sdl/licence" "$licences/SDL-1.2"
cp /usr/share/doc/libstb-dev/copyright "$licences/stb_image.txt"
# Linked into vorlex.exe and vorlex.scr: the mingw-w64 runtime with its threads library, and
# GCC's runtime libraries (libgcc, libstdc++).
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$licences/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licences/gcc-runtime.txt"
# Windows users read text with CR LF line ends.
for file in "$stage/README.txt" "$licences"/*.txt "$licences/SDL-1.2/"{COPYING,copyright,BUILD.txt}; do
  sed -i 's/\r*$/\r/' "$file"
done
# The zip: its entries in name order, each dated by the epoch in UTC, with
# no owners or Unix times.
find "$stage" -exec touch -h -d "@$epoch" {} +
mkdir -p "$dist"
zip=$dist/$name.zip
rm -f "$zip"
step "writing $zip" bash -c 'cd "$1" && find "$2" | LC_ALL=C sort | TZ=UTC0 zip -q -X -@ "$3"' _ "$work/zip" "$name" "$zip"

# The installer, from the same folder: NSIS's script takes the files as two
# lists in name order, one to install and one for the uninstaller to remove,
# folders deepest first.
installer=$dist/vorlex-$version-setup.exe
lists=$work/installer
rm -rf "$lists"
mkdir -p "$lists"
(cd "$stage" && find . -mindepth 1 -printf '%y %P\n' | LC_ALL=C sort -k 2) | awk -v stage="$stage" -v lists="$lists" '
  BEGIN { last = "\n" }
  { path = substr($0, 3); windows = path; gsub("/", "\\", windows)
    folder = windows; sub(/\\?[^\\]*$/, "", folder) }
  $1 == "d" { folders[++n] = windows; next }
  { if (folder != last) print "SetOutPath \"$INSTDIR" (folder == "" ? "" : "\\" folder) "\"" >(lists "/install.nsh")
    last = folder
    print "File \"" stage "/" path "\"" >(lists "/install.nsh")
    print "Delete \"$INSTDIR\\" windows "\"" >(lists "/uninstall.nsh") }
  END { for (i = n; i > 0; i--) print "RMDir \"$INSTDIR\\" folders[i] "\"" >(lists "/uninstall.nsh") }'
IFS=. read -r major minor patch tweak <<<"$version"
size=$(du -sk --apparent-size "$stage" | cut -f1)
step "writing $installer" makensis -NOCD -V2 -DVERSION="$version" \
  -DVERSION_NUMBERS="${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}" \
  -DCOPYRIGHT="$(grep -m 1 '^Copyright ' "$root/LICENSE")" -DSIZE_KB="$size" \
  -DICON="$root/resources/vorlex.ico" -DLICENCE="$licences/vorlex.txt" -DLISTS="$lists" \
  -DOUTFILE="$installer" "$root/windows/installer.nsi"

case $command in
  build)
    echo "The Windows program is $zip: unzip it anywhere and run vorlex.exe in the folder it makes;"
    echo "vorlex.scr there is the screensaver. The installer is $installer."
    ;;
  test)
    # The same tree built again from the link on, a second later, for the
    # test to compare: the programs linked again and both packages made again.
    rm -rf "$work/again"
    rm -f "$work/program/vorlex.exe" "$work/program/vorlex.scr"
    sleep 1
    VORLEX_WINDOWS_DIST=$work/again "$root/scripts/windows.sh" build >/dev/null
    "$root/tests/support/with_xvfb.sh" --screen 800x600x24 "$root/tests/windows/wine_test.sh" "$zip" "$work" \
      "$work/again"
    ;;
esac
