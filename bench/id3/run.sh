#!/usr/bin/env bash
# Builds and runs the retag benchmark: bench/id3/run.sh [folder for the test file] [rounds]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-id3
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_id3_retag
"$build/bench/id3/bench_id3_retag" "$@"
