#!/usr/bin/env bash
# Installs what is missing, builds the program when its sources changed, and
# starts Helicordia. Arguments are handed to the program (try --help).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
bash "$here/install-deps.sh"
if [ ! -f "$root/build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Only the program itself; make does nothing when it is up to date.
cmake --build "$root/build" --target helicordia -j"$(nproc)" >/dev/null
exec "$root/build/bin/helicordia" "$@"
