#!/bin/sh
# Installed as bin/vorlex: starts Vorlex from the folder that holds its
# bundle, since the program opens its images by paths relative to it. The
# build fills in that folder's path relative to bin.
# Resolves its own links, so a link to it anywhere works too. The caller's
# PATH may lack the system's folders (env PATH=/usr/local/bin vorlex): the one
# tool it needs, coreutils' readlink, is looked for there alone, and the demo
# still gets the PATH it was given.
self=$(PATH=/usr/bin:/bin readlink -f -- "$0") && [ -n "$self" ] || {
    echo "vorlex: cannot find the folder that holds the launcher $0" >&2
    exit 1
}
folder=${self%/*}/@VORLEX_APP_FOLDER@
cd "$folder" 2>/dev/null || {
    echo "vorlex: cannot enter $folder, the folder that holds Vorlex.app" >&2
    exit 1
}
exec ./Vorlex.app/Contents/MacOS/Vorlex "$@"
