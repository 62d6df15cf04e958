#!/usr/bin/env bash
# Builds and runs the background music benchmark on the demo songs (made when missing):
# bench/music/run.sh [evenings = 100] [first seed = 1]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-music
songs="$(pwd)/.demo/songs/"
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_evening
tools/make-demo-songs.py "$songs" 135
"$build/bench/music/bench_evening" "$songs" "$@"
