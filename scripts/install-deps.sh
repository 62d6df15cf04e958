#!/usr/bin/env bash
# Installs the Debian packages Kandolor needs to build, run and test (only those missing).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config clang-format qt6-base-dev qt6-base-dev-tools libgl-dev libsdl2-dev libmpg123-dev
    libsndfile1-dev libcdio-dev libmount-dev lame libgtest-dev libgmock-dev libtag1-dev
    pulseaudio pulseaudio-utils xvfb xauth python3 ffmpeg python3-mutagen eyed3 id3v2 dbus-daemon desktop-file-utils
    appstream dpkg-dev lintian man-db xdotool x11-utils exfat-fuse exfatprogs dosfstools)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
