#!/usr/bin/env bash
# Makes the README's screenshots (docs/screenshots/) under Xvfb, as on a desk: the demo set-up with recordings
# of the last weeks, a private sound server whose input carries a demo song, and a USB stick (a labelled ext4
# image on a loop device) mounted at /media/<user>/USB-STICK. Needs root: the stick is mounted in a mount
# namespace of this script's own, over an empty /media, so the machine's /media and mounts are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
    echo "The screenshots mount a stick in a private mount namespace: run as root (sudo bash $0)." >&2
    exit 1
fi
if [ -z "${KANDOLOR_SCREENSHOT_NAMESPACE:-}" ]; then
    scripts/install-deps.sh
    scripts/build.sh --target kandolor_screenshots
    exec env KANDOLOR_SCREENSHOT_NAMESPACE=1 unshare --mount --propagation private bash "$0" "$@"
fi

work=$(mktemp -d)
xvfb="" player=""
cleanup() {
    [ -n "$player" ] && kill "$player" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    stop_private_pulse
    # Unmounted before the folders go; the namespace ends with this script anyway.
    for mounted in "${stick:-}" /media /home; do
        mountpoint -q "$mounted" 2>/dev/null && umount "$mounted"
    done
    rm -rf "$work"
}
source scripts/pulse-env.sh
trap cleanup EXIT

# The stick, as a desktop mounts it. Loop devices are not USB devices to the kernel: the drive list reads a
# sysfs tree in which this loop device hangs below a USB port, so it names the stick as a removable medium.
# /media is an empty folder bound over it (the drive list passes over bind mounts).
mkdir -p "$work/media/$(id -un)/USB-STICK"
mount --bind "$work/media" /media
stick=/media/$(id -un)/USB-STICK
truncate -s 64M "$work/stick.img"
mkfs.ext4 -q -F -L USB-STICK "$work/stick.img"
mount -o loop "$work/stick.img" "$stick"
loop=$(basename "$(findmnt -n -o SOURCE "$stick")")
usb=$work/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host9/target9:0:0/9:0:0:0/block/$loop
mkdir -p "$usb" "$work/sys/class/block"
echo 1 >"$usb/removable"
ln -s "$usb" "$work/sys/class/block/$loop"

# A fresh home at /home/<user>, bound over /home in this namespace only.
mkdir -p "$work/home/$(id -un)"
mount --bind "$work/home" /home
home=/home/$(id -un)
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
scripts/demo-setup.sh >/dev/null
# The demo songs as the operator's song folder ~/Lieder.
ln -s "$PWD/.demo/songs" "$home/Lieder"
sed -i "1s|.*|$home/Lieder/\r|" "$XDG_DATA_HOME/Kandolor/Kandolor.txt"
# Recordings of the last two Sundays (demo songs under the names Kandolor gives), the older ones on the stick too.
mkdir -p "$home/Aufnahmen"
songs=(.demo/songs/iasn_X_0*.mp3)
n=0
for week in 'last sunday - 7 days' 'last sunday'; do
    for talk in 'Max Muster_Vortrag' 'Paul Beispiel_Wachtturmstudium'; do
        file="$home/Aufnahmen/$(id -un)_$(date -d "$week" +%Y_%-m_%-d)_$talk.mp3"
        cp "${songs[$n]}" "$file"
        touch -d "$week 11:30" "$file"
        n=$((n + 1))
    done
    [ $n -eq 2 ] && cp -p "$home"/Aufnahmen/*.mp3 "$stick/"
done

# A private sound server: a demo song plays into its null sink, whose monitor is the recording input.
start_private_pulse
[ -n "${PULSE_SERVER:-}" ] || {
    echo "No sound server: the screenshots would show no recording." >&2
    exit 1
}
(while paplay "${songs[10]}"; do :; done) >/dev/null 2>&1 &
player=$!

Xvfb -displayfd 3 -screen 0 1280x900x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$work/display") build/tools/screenshots/kandolor_screenshots docs/screenshots "$work/sys"
