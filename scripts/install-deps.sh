#!/usr/bin/env bash
# Installs the Debian 12 packages Lumidor needs, if any is missing.
# --no-install-recommends matters: a recommended font package makes SDL's message boxes
# wait forever under Xvfb.
#   scripts/install-deps.sh [--print-packages]   (--print-packages: only list them, one a line)
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    libsdl2-dev libimgui-dev libstb-dev nlohmann-json3-dev
    libgl1-mesa-dri libglu1-mesa-dev libjpeg62-turbo-dev
    xvfb xauth
    libgtest-dev libbenchmark-dev
    libtbb-dev
    clang-14 libclang-rt-14-dev clang-format
    fonts-dejavu-core
    locales doxygen
)
if [ "${1:-}" = "--print-packages" ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
elif [ $# -gt 0 ]; then
    echo "install-deps.sh: unknown option '$1'" >&2
    exit 2
fi
# One dpkg-query for the whole list (one per package took a second of every start of the demo).
status="$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)"
missing=()
for package in "${packages[@]}"; do
    [[ $'\n'"$status"$'\n' == *$'\n'"$package install ok installed"$'\n'* ]] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
