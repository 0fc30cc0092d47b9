#!/usr/bin/env bash
# Installs what is needed, builds, and starts Helicordia.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/install-deps.sh"
bash "$here/build.sh"
exec "$here/../build/bin/helicordia"
