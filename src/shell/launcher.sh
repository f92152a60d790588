#!/bin/sh
# Installed as bin/vorlex: starts Vorlex from the folder that holds its
# bundle, since the program opens its images by paths relative to it. The
# build fills in that folder's path relative to bin.
# Resolves its own links, so a link to it anywhere works too.
here=$(dirname "$(readlink -f "$0")")
folder=$here/@VORLEX_APP_FOLDER@
cd "$folder" 2>/dev/null || {
    echo "vorlex: cannot enter $folder, the folder that holds Vorlex.app" >&2
    exit 1
}
exec ./Vorlex.app/Contents/MacOS/Vorlex "$@"
