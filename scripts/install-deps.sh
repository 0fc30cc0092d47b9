#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Helicordia.
# Asks dpkg first, so that on a machine that is already set up nothing is
# fetched and no network is needed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
while read -r pkg; do
    [ -n "$pkg" ] || continue
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done < <(grep -v '^#' "$here/packages.txt")
[ ${#missing[@]} -gt 0 ] || exit 0

echo "Installing: ${missing[*]}"
SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
