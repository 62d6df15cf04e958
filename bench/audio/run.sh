#!/usr/bin/env bash
# Builds and runs the audio benchmark on a private PulseAudio null sink (SDL's dummy driver without one):
# bench/audio/run.sh [real-time play seconds = 20] [split recording hours = 2]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-audio
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_audio
source scripts/pulse-env.sh
start_private_pulse
trap stop_private_pulse EXIT
"$build/bench/audio/bench_audio" "$@"
