#!/usr/bin/env bash
# Installs what is missing, builds the program when its sources changed, and
# starts Helicordia. Arguments are handed to the program (try --help).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
bash "$here/install-deps.sh"

announced=
announce() {
    [ -n "$announced" ] || echo "Building Helicordia, about two minutes the first time…"
    announced=1
}
# Shows the build's progress once something is compiled: on a terminal as one
# line that is rewritten, otherwise a line per step. Whatever else the build
# says (a warning, an error) is printed in full.
progress() {
    local line width
    width=$(($(tput cols 2>/dev/null || echo 80) - 1))
    while IFS= read -r line; do
        case $line in
        "-- "* | *"Consolidate compiler generated dependencies"*) continue ;; # cmake's notes
        "["*"%]"*) ;;
        *)
            [ ! -t 1 ] || printf '\r\033[K'
            echo "$line"
            continue
            ;;
        esac
        case $line in *"Building "* | *"Linking "*) announce ;; esac
        if [ -z "$announced" ]; then
            continue
        elif [ -t 1 ]; then
            printf '\r\033[K%s' "${line:0:width}"
        else
            echo "$line"
        fi
    done
    [ ! -t 1 ] || printf '\r\033[K'
}

if [ ! -f "$root/build/CMakeCache.txt" ]; then
    announce
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Only the program itself; make does nothing when it is up to date.
cmake --build "$root/build" --target helicordia -j"$(nproc)" 2>&1 | progress
exec "$root/build/bin/helicordia" "$@"
