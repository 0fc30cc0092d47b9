#!/usr/bin/env bash
# Runs the end-to-end sound tests (the engine's, the player's and --play;
# ctest label "endtoend") once more, against a private PipeWire with its
# PulseAudio service, as most desktops of today run it. Expects the build of
# scripts/test.sh in ./build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/pipewire-server.sh"
echo "Sound server: $(pactl info | sed -n 's/^Server Name: //p')"
cd "$here/../build"
ctest -L endtoend --output-on-failure
