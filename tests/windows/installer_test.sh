# Sourced by wine_test.sh after its own cases, with its Wine, its helpers and
# $again, the folder of a second build of the same tree: the programs'
# resources, the two builds compared, the installer's silent install and
# uninstall, the installed screensaver as Windows starts it, and a program
# copied without SDL.dll.

echo "== Resources"
copyright=$(grep -m 1 '^Copyright ' "$here/../../LICENSE")
for file in vorlex.exe vorlex.scr; do
  wrestool -x --type=14 "$build/$file" >"$work/icon.ico" 2>/dev/null
  icons=$(icotool -l "$work/icon.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | tr '\n' ' ')
  texts=$(wrestool -x --raw --type=16 "$build/$file" 2>/dev/null | strings -el -n 1)
  manifest=$(wrestool -x --raw --type=24 "$build/$file" 2>/dev/null)
  problems=()
  [[ $icons == "16 32 48 256 " ]] || problems+=("icon sizes \"$icons\"")
  grep -qx "$version" <<<"$texts" || problems+=("no version $version")
  grep -qxF "$copyright" <<<"$texts" || problems+=("no copyright line")
  for promise in asInvoker 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a PerMonitorV2; do
    grep -q "$promise" <<<"$manifest" || problems+=("manifest without $promise")
  done
  ((${#problems[@]} == 0)) && pass "$file: icon of 16, 32, 48, 256 px, version $version, manifest" ||
    fail "$file: ${problems[*]}; wrestool -l: $(wrestool -l "$build/$file" 2>&1 | head -c 300)"
done

echo "== Two builds of one tree"
setup=vorlex-$version-setup.exe
for file in "$name.zip" "$setup"; do
  if cmp -s "$(dirname "$zip")/$file" "$again/$file"; then
    pass "$file: the same bytes twice"
  else
    fail "$file: two builds differ: $(cmp "$(dirname "$zip")/$file" "$again/$file" 2>&1 | head -n 1)"
  fi
done

echo "== The installer"
drive=$WINEPREFIX/drive_c
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlex'
desktop='HKCU\Control Panel\Desktop'
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorlex.lnk"
# The values of registry key $1, "name|data" a line.
values() {
  "$wine" reg query "$1" 2>/dev/null | tr -d '\r' |
    awk '$2 ~ /^REG_/ { name = $1; $1 = ""; $2 = ""; sub(/^ +/, ""); print name "|" $0 }'
}
# What a run before may have left, then the user's own screensaver, which an
# install that makes Vorlex the screensaver must give back.
"$wine" reg delete "$key" /f >/dev/null 2>&1
rm -rf "$drive/Program Files/Vorlex" "$drive/Games" "$shortcut"
# C:\Games is a folder of the user's, which the /D= install goes into.
mkdir -p "$drive/Games"
"$wine" reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\theirs.scr' /f >/dev/null 2>&1
# The files of the prefix but Wine's own and the user's temporary folder,
# where the uninstaller runs from a copy of itself that Windows removes at
# the next start.
prefix_files() {
  (cd "$drive" && find . -path ./windows -prune -o -path "./users/*/Temp" -prune -o -print | LC_ALL=C sort)
}
files_before=$(prefix_files)
expected=$( (cd "$build" && find . -type f && echo ./uninstall.exe) | LC_ALL=C sort)

# Installs silently with the options given, into Windows folder $1 (Unix
# folder $2); checks the files, the shortcut and the uninstall key.
install_silently() {
  local windows=$1 unix=$2 what="silent install ${*:3}"
  ("$wine" "$(dirname "$zip")/$setup" "${@:3}" >"$work/out" 2>"$work/err") &
  wait_for $! 120
  local installed listed
  installed=$( (cd "$unix" 2>/dev/null && find . -type f) | LC_ALL=C sort)
  listed=$(values "$key")
  local problems=()
  [[ $status == 0 ]] || problems+=("status $status")
  [[ $installed == "$expected" ]] ||
    problems+=("files: $(diff <(echo "$expected") <(echo "$installed") | grep '^[<>]' | head -n 3 | tr '\n' ' ')")
  [[ -f $shortcut ]] || problems+=("no Start menu shortcut")
  local value
  for value in "DisplayName|Vorlex" "DisplayVersion|$version" "Publisher|The Vorlex authors" \
    "DisplayIcon|$windows\\vorlex.exe,0" "UninstallString|\"$windows\\uninstall.exe\"" \
    "QuietUninstallString|\"$windows\\uninstall.exe\" /S" "NoModify|0x1" "NoRepair|0x1"; do
    grep -qxF "$value" <<<"$listed" || problems+=("no $value")
  done
  grep -qE '^EstimatedSize\|0x[0-9a-f]+$' <<<"$listed" || problems+=("no EstimatedSize")
  ((${#problems[@]} == 0)) && pass "$what: every file in $windows, the shortcut, the uninstall key" ||
    fail "$what: ${problems[*]}"
}

# Runs the uninstaller as Apps & features does, silently, and waits for it:
# it runs from a copy of itself, which ends later. Then nothing of the install
# may be left, and the screensaver must be the user's own again.
uninstall_silently() {
  local windows=$1 unix=$2
  ("$wine" "$windows\\uninstall.exe" /S >"$work/out" 2>"$work/err") &
  wait_for $! 60
  for _ in $(seq 60); do
    [[ -e $unix ]] || break
    sleep 1
  done
  "$wineserver" -w
  local problems=() files_after screensaver
  files_after=$(prefix_files)
  [[ $files_after == "$files_before" ]] ||
    problems+=("files: $(diff <(echo "$files_before") <(echo "$files_after") | grep '^[<>]' | head -n 3 | tr '\n' ' ')")
  [[ -z $(values "$key") ]] || problems+=("the uninstall key is left")
  screensaver=$(values "$desktop" | sed -n 's/^SCRNSAVE.EXE|//p')
  [[ $screensaver == 'C:\windows\system32\theirs.scr' ]] || problems+=("SCRNSAVE.EXE is \"$screensaver\"")
  ((${#problems[@]} == 0)) && pass "silent uninstall from $windows: no file, no key left, the user's screensaver back" ||
    fail "silent uninstall from $windows: ${problems[*]}"
}

install_silently 'C:\Program Files\Vorlex' "$drive/Program Files/Vorlex" /S /SCREENSAVER
# As Windows starts the screensaver the install chose: from its system
# folder, by the path in SCRNSAVE.EXE.
scrnsave=$(values "$desktop" | sed -n 's/^SCRNSAVE.EXE|//p')
[[ ${scrnsave^^} =~ ^C:\\[^\ ]+\\VORLEX\\VORLEX\.SCR$ ]] && pass "/SCREENSAVER: SCRNSAVE.EXE is $scrnsave" ||
  fail "/SCREENSAVER: SCRNSAVE.EXE is \"$scrnsave\""
(cd "$drive/windows/system32" && exec "$wine" "$scrnsave" /s >"$work/out" 2>"$work/err") &
pid=$!
if timeout 30 xdotool search --sync --onlyvisible --name '^OpenGL Test Window$' >/dev/null 2>&1; then
  started=$SECONDS
  expect_picture "installed vorlex.scr /s from C:\\windows\\system32" 800 600
  # A second one, while the first runs, ends at once: one key ends the saver.
  (cd "$drive/windows/system32" && exec "$wine" "$scrnsave" /s >"$work/out2" 2>"$work/err2") &
  wait_for $! 30
  shown=$(xdotool search --onlyvisible --name '^OpenGL Test Window$' | wc -l)
  [[ $status == 0 && $shown == 1 && ! -s $work/out2 ]] && pass "a second vorlex.scr /s ends at once, status 0" ||
    fail "a second vorlex.scr /s: status $status, $shown windows; $(head -c 200 "$work/err2")"
  # Past the first frame-rate window, which a saver keeps to itself.
  sleep $((started + 7 - SECONDS > 0 ? started + 7 - SECONDS : 0))
  xdotool key a
  expect_clean_exit "installed vorlex.scr /s, then a key,"
  [[ ! -s $work/out ]] && pass "installed vorlex.scr /s: nothing on standard output" ||
    fail "installed vorlex.scr /s wrote: $(head -c 100 "$work/out")"
else
  fail "installed vorlex.scr /s: no window; $(head -c 300 "$work/err")"
  kill -9 "$pid" 2>/dev/null
fi
uninstall_silently 'C:\Program Files\Vorlex' "$drive/Program Files/Vorlex"
install_silently 'C:\Games\Vorlex' "$drive/Games/Vorlex" /S '/D=C:\Games\Vorlex'
uninstall_silently 'C:\Games\Vorlex' "$drive/Games/Vorlex"
"$wine" reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null 2>&1

echo "== Without SDL.dll"
alone=$work/alone
mkdir -p "$alone"
cp "$build/vorlex.exe" "$build/vorlex.scr" "$alone/"
for run in "vorlex.exe --window" "vorlex.scr /s"; do
  read -ra argv <<<"$run"
  (cd / && exec "$wine" "$alone/${argv[0]}" "${argv[@]:1}" >"$work/out" 2>"$work/err") &
  wait_for $! 30
  if [[ $status == 1 && $(wc -l <"$work/err") == 1 ]] &&
     grep -qE "^Vorlex: cannot load SDL.dll from the program's folder \\(.*\\): .+"$'\r$' "$work/err"; then
    pass "$run, alone: $(tr -d '\r' <"$work/err")"
  else
    fail "$run, alone: status $status; stderr: $(head -c 300 "$work/err")"
  fi
done
expect_message_box "vorlex.exe alone" "$alone/vorlex.exe"
