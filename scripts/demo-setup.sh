#!/usr/bin/env bash
# Gives a first run a working song folder: the demo songs under .demo/songs/, a song configuration that
# points at them and a song list for the coming weeks. It acts only while no song folder is configured (or
# the demo folder is), and never replaces a configuration or a song list the user made.
set -euo pipefail
cd "$(dirname "$0")/.."
demo="$(pwd)/.demo/songs/"
data="${XDG_DATA_HOME:-$HOME/.local/share}/Kandolor"
config="$data/Kandolor.txt"
legacy="$data/Kandolor.ini"
list="$data/liederliste.txt"
count=135

# Line n of a text file without its line end; empty when the file or line is missing.
line_of() { [ -f "$1" ] && sed -n "$2{s/\r\$//;p;q}" "$1" || true; }

# The song folder the program will take: the song configuration, or the older one when that is missing.
if [ -f "$config" ]; then
    folder=$(line_of "$config" 1)
else
    folder=$(line_of "$legacy" 1)
fi
[ -n "$folder" ] && [ "$folder" != "$demo" ] && exit 0

have=0
[ -d "$demo" ] && have=$(find "$demo" -maxdepth 1 -name 'iasn_X_*.mp3' | wc -l)
if [ "$have" -lt "$count" ]; then
    echo "Making the demo songs in $demo"
    if ! tools/make-demo-songs.py "$demo" "$count"; then
        echo "The demo songs could not be made; Kandolor starts without them." >&2
        exit 0
    fi
fi

mkdir -p "$data"
if [ -z "$folder" ]; then
    install_id=$(line_of "$config" 3)
    if [ -z "$install_id" ]; then
        # "47" + days from 1899-12-30 to today + "66"
        install_id="47$(($(date -u -d "$(date +%F)" +%s) / 86400 + 25569))66"
    fi
    printf '%s\r\n' "$demo" ".mp3" "$install_id" "$count" >"$config.part"
    mv "$config.part" "$config"
    echo "Song folder set to the demo songs: $demo"
fi

if [ ! -e "$list" ]; then
    # 54 weeks from this week's Monday, each with five song numbers.
    monday=$(date -d "$(date +%F) -$(($(date +%u) - 1)) days" +%F)
    for week in $(seq 0 53); do
        numbers=()
        for column in 1 2 3 4 5; do
            numbers+=($(((week * 37 + column * 53 + column * column * 11) % count + 1)))
        done
        printf '%s %s,%s,%s,%s,%s\r\n' "$(date -d "$monday +$((7 * week)) days" +%d.%m.%Y)" "${numbers[@]}"
    done >"$list.part"
    mv "$list.part" "$list"
    echo "Demo song list written: $list"
fi
