#!/usr/bin/env bash
# Installs what building, running and testing Varlo needs on Debian 12.
set -euo pipefail
packages=(
    build-essential cmake ninja-build clang pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6sql6-sqlite libgl-dev zlib1g-dev
    # fixture tools and peers our interoperability tests compare against
    python3 python3-mutagen ffmpeg lame vorbis-tools
    # looking at the program as a user would
    xvfb
    # the benchmark that shows a cached listing opens no audio file
    strace
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
