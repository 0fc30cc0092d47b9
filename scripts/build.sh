#!/usr/bin/env bash
# Configures and builds everything into ./build (the program lands in build/bin).
# BUILD_WERROR=ON in the environment (as CI sets it) makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${BUILD_WERROR:+-DBUILD_WERROR=$BUILD_WERROR} >/dev/null
cmake --build build -j"$(nproc)"
