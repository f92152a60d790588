#!/usr/bin/env bash
# The desktop install under Xvfb, into a prefix with a space in it: its files
# and desktop entry, the launcher, which starts the demo from any folder, and
# the uninstall target.
# Usage: install_test.sh BUILD_DIR   (the folder that holds Vorlex.app; needs DISPLAY)
set -u
source "$(dirname "$0")/../support/e2e.sh"
source "$(dirname "$0")/../support/icons.sh"

prefix="$work/desktop prefix"
# A folder that was there before the install, with something of another's.
mkdir -p "$prefix/share/applications"
: >"$prefix/share/applications/other.desktop"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install" 2>&1; then
  fail "cmake --install: $(cat "$work/install")"
else
  entry=$prefix/share/applications/invalid.vorlex.vorlex.desktop
  missing=
  for file in bin/vorlex share/vorlex/Vorlex.app/Contents/MacOS/Vorlex \
              share/vorlex/Vorlex.app/Contents/Info.plist share/applications/invalid.vorlex.vorlex.desktop; do
    ls "$prefix/$file" >/dev/null 2>&1 || missing="$missing $file"
  done
  resources=$(ls "$prefix/share/vorlex/Vorlex.app/Contents/Resources" | wc -l)
  if [[ -n $missing || $resources != 10 || ! -x $prefix/bin/vorlex ]]; then
    fail "installed files: missing:${missing:- none}; $resources images, expected 10"
  else
    pass "installs the bundle with its 10 images, the launcher and the entry"
  fi
  icons=$(icon_problems "$prefix")
  [[ -z $icons ]] && pass "the icon in every size icon themes look up, and as SVG" || fail "the icons: $icons"
  if ! report=$(desktop-file-validate "$entry" 2>&1) || [[ -n $report ]]; then
    fail "desktop-file-validate: $report"
  else
    pass "the desktop entry is valid"
  fi
  # Exec holds the launcher's path as one quoted argument.
  exec_line=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry")
  launcher=${exec_line#\"}
  launcher=${launcher%\"}
  if [[ $launcher != "$prefix/bin/vorlex" ]] || ! grep -qx 'Icon=vorlex' "$entry"; then
    fail "the entry's Exec=$exec_line, Icon=$(sed -n 's/^Icon=//p' "$entry")"
  fi
  # A list hides either entry once the launcher has gone.
  for listed in "$entry" "$prefix/share/applications/screensavers/vorlex.desktop"; do
    try=$(sed -n 's/^TryExec=//p' "$listed")
    [[ $try == "$prefix/bin/vorlex" ]] || fail "${listed#"$prefix"/}: TryExec=$try, expected the launcher"
  done

  # The launcher starts the demo from any working directory, also through a link.
  mkdir -p "$work/elsewhere"
  if start "$work/elsewhere" "$launcher"; then
    # What a dock shows: the entry that names the window's class, and the
    # window's own icon.
    window=$(xdotool search --name '^OpenGL Test Window$' | head -n 1)
    class=$(xprop -id "$window" WM_CLASS)
    icon=$(xprop -id "$window" _NET_WM_ICON | head -n 1)
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
    if [[ -n $wm_class && $class == *", \"$wm_class\"" && $icon == *'Icon (128 x 128)'* ]]; then
      pass "the window's class is the entry's StartupWMClass=$wm_class, and it has the 128x128 icon"
    else
      fail "the window's $class, the entry's StartupWMClass=$wm_class; its icon: $icon"
    fi
    xdotool key ctrl+q
    expect_clean_exit "the installed launcher, run from another folder, and Ctrl+Q"
  fi
  check_options "the installed launcher" / "$launcher"
  # A PATH without the system's folders: the launcher finds its own.
  if said=$(cd / && env PATH=/usr/local/bin "$launcher" --version 2>&1) && [[ $said == "Vorlex "* ]]; then
    pass "the installed launcher with PATH=/usr/local/bin: $said"
  else
    fail "the installed launcher with PATH=/usr/local/bin: $said"
  fi
  # The desktop entry's second action: the demo in a window.
  action=$(sed -n '/^\[Desktop Action window\]/,/^\[/s/^Exec=//p' "$entry")
  if [[ $action != "$exec_line --window" ]]; then
    fail "the entry's window action: Exec=$action, expected $exec_line --window"
  fi
  ln -s "$launcher" "$work/elsewhere/vorlex-link"
  if start / "$work/elsewhere/vorlex-link"; then
    kill -s INT "$pid"
    expect_clean_exit "a link to the launcher, run from /, and SIGINT"
  fi
  rm "$work/elsewhere/vorlex-link"

  # Uninstalling removes every file and folder the install made, and
  # nothing that was there before.
  if ! cmake --build "$build" --target uninstall >"$work/uninstall" 2>&1; then
    fail "the uninstall target: $(tail -n 5 "$work/uninstall")"
  else
    left=$(cd "$prefix" && find . | sort | tr '\n' ' ')
    if [[ $left == ". ./share ./share/applications ./share/applications/other.desktop " ]]; then
      pass "the uninstall target leaves only what was there before"
    else
      fail "the uninstall target leaves: $left"
    fi
  fi
fi

finish
