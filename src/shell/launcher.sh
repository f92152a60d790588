#!/bin/sh
# Installed as bin/vorlex: starts Vorlex from the folder that holds its
# bundle, since the program opens its images by paths relative to it.
# Resolves its own links, so a link to it anywhere works too.
here=$(dirname "$(readlink -f "$0")")
folder=$here/../share/vorlex
cd "$folder" 2>/dev/null || {
    echo "vorlex: cannot enter $folder, the folder that holds Vorlex.app" >&2
    exit 1
}
exec ./Vorlex.app/Contents/MacOS/Vorlex "$@"
