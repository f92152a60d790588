# The icon theme's files an install made under the prefix $1; sourced by the
# install and package tests. icon_problems prints what is wrong, nothing when
# each size icon themes look up has its vorlex.png, a PNG of that size, and
# the scalable folder its SVG.
icon_problems() {
  local size file magic width height
  for size in 16 24 32 48 64 128 256; do
    file=$1/share/icons/hicolor/${size}x$size/apps/vorlex.png
    # A PNG's signature, then its width and height as the big-endian words
    # at bytes 16 and 20.
    read -r magic < <(od -An -tx1 -N4 "$file" 2>/dev/null | tr -d ' ')
    read -r width height < <(od -An -tx4 --endian=big -j16 -N8 "$file" 2>/dev/null)
    if [[ $magic != 89504e47 ]]; then
      echo -n "no PNG at ${size}x$size; "
    elif ((16#$width != size || 16#$height != size)); then
      echo -n "$((16#$width))x$((16#$height)) in ${size}x$size; "
    fi
  done
  grep -qs '^<svg ' "$1/share/icons/hicolor/scalable/apps/vorlex.svg" || echo -n "no SVG in scalable; "
}
