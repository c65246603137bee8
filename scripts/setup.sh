#!/usr/bin/env bash
# Shared set-up for ./scripts/run and ./scripts/test: installs the missing Debian
# packages listed in scripts/debian-packages.txt, then configures and builds: everything, or
# only the targets named with --target (and what they need).
# Usage: scripts/setup.sh BUILD_DIR [--target NAME]... [cmake options...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
build="$1"; shift
targets=()
while [ "$#" -ge 2 ] && [ "$1" = "--target" ]; do
    targets+=("$2")
    shift 2
done

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
if [ "${#targets[@]}" -gt 0 ]; then
    cmake --build "$top/$build" --parallel "$(nproc)" --target "${targets[@]}"
else
    cmake --build "$top/$build" --parallel "$(nproc)"
fi
