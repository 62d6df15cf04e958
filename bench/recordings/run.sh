#!/usr/bin/env bash
# Builds and runs the copy and deletion benchmark (needs root for the loop volume):
# bench/recordings/run.sh [megabytes = 21.6] [rounds = 5] [recordings = 1000]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-recordings
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_copy
"$build/bench/recordings/bench_copy" "$@"
