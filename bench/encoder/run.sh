#!/usr/bin/env bash
# Builds and runs the failing-encoder benchmark: bench/encoder/run.sh [seconds after the failures = 10]
# [rounds = 3]. The engine runs on its null device in step with the wall clock; stand-in encoders copy the
# WAVE stream into their files, so every sample can be found again.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-bench-encoder
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_encoder
"$build/bench/encoder/bench_encoder" "$@"
