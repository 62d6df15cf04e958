#!/usr/bin/env bash
# Builds and runs the finishing benchmark: bench/recording/run.sh [minutes = 60] [rounds = 3]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-recording
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_finish
"$build/bench/recording/bench_finish" "$@"
