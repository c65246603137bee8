#!/usr/bin/env bash
# Shared set-up for ./scripts/run and ./scripts/test: installs the missing Debian
# packages listed in scripts/debian-packages.txt, then configures and builds.
# Usage: scripts/setup.sh BUILD_DIR [cmake options...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
build="$1"; shift

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/debian-packages.txt")
missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing Debian packages: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

if [ ! -f "$top/$build/build.ninja" ]; then
    cmake -S "$top" -B "$top/$build" -G Ninja "$@"
elif [ "$#" -gt 0 ]; then
    cmake -S "$top" -B "$top/$build" "$@" >/dev/null
fi
# Files added since the last build must reach moc: let every autogen step rescan.
find "$top/$build" -path '*_autogen/timestamp' -delete 2>/dev/null || true
cmake --build "$top/$build" --parallel "$(nproc)"
