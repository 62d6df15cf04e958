#!/usr/bin/env bash
# Makes the README's screenshots (docs/screenshots/) of a first start on the demo set-up, under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh --target kandolor_screenshots
home=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" scripts/demo-setup.sh >/dev/null
# Recordings of last Sunday for the copy dialog.
mkdir -p "$home/Aufnahmen"
for part in Vortrag Wachtturmstudium; do
    head -c 200000 /dev/urandom >"$home/Aufnahmen/${part}_Max_Muster_$(date -d 'last sunday' +%Y_%-m_%-d).mp3"
done
Xvfb :93 -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" DISPLAY=:93 \
    build/tools/screenshots/kandolor_screenshots docs/screenshots
