#!/usr/bin/env bash
# Builds Kandolor and runs every test, with a private PulseAudio null sink for the device tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
source scripts/pulse-env.sh
start_private_pulse
trap stop_private_pulse EXIT
ctest --test-dir build --output-on-failure -j2
