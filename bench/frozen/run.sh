#!/usr/bin/env bash
# Builds and runs the frozen-server benchmark: the main window on the real audio engine records from a private
# PulseAudio whose daemon is stopped (SIGSTOP) for FREEZE seconds 8 s into a recording, then stays stopped
# while the recording is stopped and the window closed. Prints the longest gap between the window's 50 ms
# recording ticks against the same with the server running, and the times of the stop, the close and the
# end of the engine (goal for every UI figure: at most 100 ms).
# bench/frozen/run.sh [FREEZE seconds = 12]
# KANDOLOR_BENCH_BUILD names the release build folder (default build-bench-frozen).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
freeze=${1:-12}
build=${KANDOLOR_BENCH_BUILD:-build-bench-frozen}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target bench_frozen
bench=$root/$build/bench/frozen/bench_frozen

work=$(mktemp -d /tmp/kandolor-frozen.XXXXXX)
server=
cleanup() {
    [ -n "$server" ] && kill -CONT "$server" 2>/dev/null || true
    stop_private_pulse
    rm -rf "$work"
}
source scripts/pulse-env.sh
start_private_pulse
trap cleanup EXIT
[ -n "${PULSE_SERVER:-}" ] || { echo "no PulseAudio: nothing to measure" >&2; exit 1; }
server=$(cat "$PULSE_RUNTIME_PATH/pid")
export SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=offscreen
source bench/support/desk-home.sh
make_desk_home "$work/home"
# A tone into the sink, so that the recording has something to take.
paplay --raw --rate=44100 --channels=1 --format=s16le </dev/zero >/dev/null 2>&1 &
echo "server $server stopped for $freeze s, 8 s into a recording; then stopped again for good"
"$bench" "$server" "$freeze" 2>"$work/messages.txt"
echo "messages to the operator:"
sed 's/^/  /' "$work/messages.txt" | grep -v '^  QStandardPaths' || true
ls -l "$HOME/Mitschnitte/" | sed 's/^/  /'
