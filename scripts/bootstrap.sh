#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the main job need. Safe to run twice:
# apt-get skips what is already installed.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config ccache clang-format
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libcli11-dev libdeflate-dev libpng-dev
    ghostscript libcups2-dev cups-ipp-utils dbus time qt6-base-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
