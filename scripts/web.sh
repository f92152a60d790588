#!/usr/bin/env bash
# The demo in a web page, built by Debian's emscripten into build-web/ (or
# $VORLEX_WEB_BUILD), with the page's files alone put in dist/web/ (or
# $VORLEX_WEB_PAGE), the folder to publish; installs what is missing first.
#
#   scripts/web.sh                 build the page
#   scripts/web.sh serve [PORT]    build it and serve dist/web/ on 127.0.0.1 (port 8000)
#   scripts/web.sh still [FRAME]   write docs/web.png: frame FRAME (300) as the page draws it
#   scripts/web.sh test [ENGINE]   test the page against the desktop's frames in
#                                  Chromium, Firefox ESR and WebKit, or in ENGINE
#                                  alone (needs the desktop build in build/)
#   scripts/web.sh figures         the benchmark's web figures
#   scripts/web.sh audit           Lighthouse's four scores for the page, in Chromium
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
web=${VORLEX_WEB_BUILD:-$root/build-web}
page=${VORLEX_WEB_PAGE:-$root/dist/web}
command=${1:-build}
(($# == 0)) || shift

# Everything the user typed is checked before anything is built.
case $command in
  test)
    engines=${1:-chromium firefox webkit}
    if (($# > 1)) || [[ $# == 1 && ! $1 =~ ^(chromium|firefox|webkit)$ ]]; then
      echo "web.sh: test takes chromium, firefox, webkit or nothing (all three), not \"$*\"" >&2
      exit 2
    fi
    ;;
  build | figures | audit)
    (($# == 0)) || { echo "web.sh: $command takes nothing more, not \"$*\"" >&2; exit 2; }
    ;;
  serve)
    port=${1:-8000}
    if (($# > 1)) || [[ ! $port =~ ^[0-9]{1,5}$ ]] || ((10#$port > 65535)); then
      echo "web.sh: serve wants a port from 0 to 65535 (0 picks a free one), not \"$*\"" >&2
      exit 2
    fi
    ;;
  still)
    frame=${1:-300}
    if (($# > 1)) || [[ ! $frame =~ ^[1-9][0-9]{0,8}$ ]]; then
      echo "web.sh: still wants a frame from 1 on, not \"$*\"" >&2
      exit 2
    fi
    ;;
  *)
    echo "web.sh: no command \"$command\" (build, serve [PORT], still [FRAME], test, figures, audit)" >&2
    exit 2
    ;;
esac

"$root/scripts/lib/deps.sh" web >&2
# emcc's optimiser needs acorn, which Debian's node finds only here.
export NODE_PATH=/usr/share/nodejs
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { emcmake cmake -S "$root/web" -B "$web" && cmake --build "$web" -j 2; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "web.sh: the page did not build" >&2
  exit 1
fi
# The page's files alone, afresh: nothing of an earlier build stays behind.
# A folder that holds something but no page is someone else's: left alone.
if [[ -d $page && ! -f $page/index.html && -n $(ls -A "$page") ]]; then
  echo "web.sh: $page holds files but no page; not replacing it" >&2
  exit 1
fi
rm -rf "$page"
if ! cmake --install "$web" --prefix "$page" >"$log" 2>&1; then
  cat "$log" >&2
  echo "web.sh: cannot put the page in $page" >&2
  exit 1
fi

# The npm packages of FOLDER, as its lock file pins them; never a browser download.
npmDeps() {
  local modules=$1/node_modules
  if [[ ! -d $modules || $1/package-lock.json -nt $modules ]]; then
    (cd "$1" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error >&2)
    touch "$modules"
  fi
}
# The server's (send, finalhandler), and the tests' (puppeteer-core).
npmDeps "$root/web"
testDeps() { npmDeps "$root/tests/web"; }

case $command in
  build)
    echo "The page is in $page/: scripts/web.sh serve shows it; to publish it, copy that folder as it is to any static web host."
    ;;
  serve)
    exec node "$root/web/serve.js" "$page" "$((10#$port))"
    ;;
  still)
    testDeps
    node "$root/tests/web/still.js" "$page" "$root/docs/web.png" "$frame"
    ;;
  test)
    testDeps
    export VORLEX_WEB_PAGE=$page VORLEX_BUILD=${VORLEX_BUILD:-$root/build}
    # The page suite in each engine, one after the other (WebKit's driver
    # holds one session at a time); the page folder and server once.
    files=("$root/tests/web/server.test.js")
    for engine in $engines; do
      started=$SECONDS
      echo "web.sh: the page in $engine" >&2
      VORLEX_ENGINE=$engine node --test --test-concurrency=1 "${files[@]}" \
        "$root/tests/web/page.test.js" "$root/tests/web/page_fit.test.js" "$root/tests/web/page_live.test.js" \
        "$root/tests/web/page_faults.test.js" "$root/tests/web/page_visit.test.js"
      echo "web.sh: $engine took $((SECONDS - started)) s" >&2
      files=()
    done
    ;;
  figures)
    testDeps
    node "$root/tests/web/figures.js" "$page"
    ;;
  audit)
    # Lighthouse, pinned apart from the tests' packages (bench/audit).
    npmDeps "$root/bench/audit"
    node "$root/bench/audit/audit.mjs" "$page"
    ;;
esac
