#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Helicordia.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2046
$SUDO apt-get install -y -qq --no-install-recommends $(grep -v '^#' "$here/packages.txt")
