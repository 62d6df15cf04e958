#!/usr/bin/env bash
# Builds the Debian package of Kandolor into build/package/, installs it with apt on this machine and starts
# the installed program (/usr/bin/kandolor) under Xvfb until its main window is shown, then closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh --target kandolor kandolor_data kandolor_changelog
rm -rf build/package
cpack -G DEB --config build/CPackConfig.cmake -B "$PWD/build/package" >/dev/null
deb=$(ls "$PWD"/build/package/kandolor_*.deb)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# --reinstall: a package rebuilt at the same version replaces the installed one.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --reinstall "$deb"
echo "installed $(dpkg-query -W -f='${Package} ${Version}, ${Installed-Size} KiB installed' kandolor);" \
    "$(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-query -W -f='${Depends}' kandolor)"

# The installed program on a fresh user's home, with a private sound server, on a virtual screen.
run=$(mktemp -d)
xvfb="" program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    stop_private_pulse
    rm -rf "$run"
}
source scripts/pulse-env.sh
start_private_pulse
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x900x24 3>"$run/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$run/display")
mkdir -p "$run/home"
(cd "$run/home" && exec env HOME="$run/home" XDG_CONFIG_HOME="$run/home/.config" \
    XDG_DATA_HOME="$run/home/.local/share" /usr/bin/kandolor >"$run/kandolor.log" 2>&1) &
program=$!
# A first start says what is missing in message boxes (small windows of the program, one over the other): the
# topmost is answered with Return until the main window (the wide one, its title starting with Kandolor) is shown.
window="" answered=0
for _ in $(seq 120); do
    top=""
    # The root's children, bottom to top.
    for id in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*("kandolor" "Kandolor").*/\1/p'); do
        info=$(xwininfo -id "$id")
        grep -q 'Map State: IsViewable' <<<"$info" || continue
        if [ "$(sed -n 's/^  Width: //p' <<<"$info")" -ge 600 ] && grep -q 'Window id: 0x[0-9a-f]* "Kandolor' <<<"$info"; then
            window=$id
        else
            top=$id
        fi
    done
    [ -n "$window" ] && [ -z "$top" ] && break
    if [ -n "$top" ]; then
        xdotool windowfocus "$top" key Return 2>/dev/null && answered=$((answered + 1))
    fi
    sleep 0.5
done
if [ -z "$window" ]; then
    cat "$run/kandolor.log" >&2
    xwininfo -root -tree | grep kandolor >&2 || true
    ffmpeg -loglevel error -y -f x11grab -i "$DISPLAY" -frames:v 1 build/package/screen.png 2>/dev/null &&
        echo "the screen: build/package/screen.png" >&2
    echo "FAIL: the installed kandolor showed no main window within 60 s" >&2
    exit 1
fi
xwininfo -id "$window" | sed -n 's/^xwininfo: Window id: /main window: /p; s/^  -geometry /geometry: /p'
ffmpeg -loglevel error -y -f x11grab -i "$DISPLAY" -frames:v 1 build/package/installed.png 2>/dev/null || true
echo "OK: /usr/bin/kandolor (pid $program) shows its main window (build/package/installed.png), after $answered first-start message(s)"
