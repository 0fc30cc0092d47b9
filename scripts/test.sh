#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. The sound tests play
# into a private PulseAudio server with a null sink and record its monitor.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/install-deps.sh"
bash "$here/build.sh"

source "$here/sound-server.sh"

cd "$here/../build"
ctest --output-on-failure
