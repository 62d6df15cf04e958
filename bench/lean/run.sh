#!/usr/bin/env bash
# Builds and runs the lean benchmark: the kandolor program under Xvfb, with a fresh HOME holding the demo
# songs, on a private PulseAudio null sink. Prints each figure with its baseline from the same run:
#   idle CPU:      kandolor with its window open, against a bare Qt window;
#   recording CPU: kandolor recording (record button clicked with xdotool; when that starts no lame, the
#                  main window built by bench_lean records instead), against the lame it feeds;
#   play latency:  ChannelPlay to the tone's onset on the sink's monitor, idle and with two compile jobs,
#                  with the gaps in the tone, against the playback device buffer.
# bench/lean/run.sh [CPU window seconds = 30] [latency rounds = 10]
# KANDOLOR_BENCH_BUILD names the release build folder (default build-bench-lean).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
window=${1:-30}
rounds=${2:-10}
build=${KANDOLOR_BENCH_BUILD:-build-bench-lean}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKANDOLOR_TESTS=OFF >/dev/null
nice cmake --build "$build" --target kandolor bench_lean
bench=$root/$build/bench/lean/bench_lean
kandolor=$root/$build/src/app/kandolor
buffer_frames=$(sed -n 's/.*PlaybackBufferFrames = \([0-9]*\).*/\1/p' src/platform/audio/SdlBackend.cpp)
tick=$(getconf CLK_TCK)

work=$(mktemp -d /tmp/kandolor-lean.XXXXXX)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    stop_private_pulse
    rm -rf "$work"
}
source scripts/pulse-env.sh
# A sound card's source delivers blocks of what its readers ask for (the capture device's 46 ms); the tests'
# 10 ms monitor reader would wake the capture thread four times as often.
KANDOLOR_MONITOR_MSEC=200 start_private_pulse
trap cleanup EXIT
[ -n "${PULSE_SERVER:-}" ] || { echo "no PulseAudio: nothing to measure" >&2; exit 1; }
export SDL_AUDIODRIVER=pulseaudio
source bench/support/desk-home.sh
make_desk_home "$work/home"

display=
for n in $(seq 90 99); do [ -e /tmp/.X11-unix/X$n ] || { display=:$n; break; }; done
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# utime + stime of a process (or one thread: /proc/PID/task/TID) in clock ticks.
ticks() { sed 's/.*) //' "$1/stat" | awk '{print $12 + $13}'; }
per_minute() { awk -v t="$1" -v s="$2" -v k="$tick" 'BEGIN {printf "%.3f", t / k / s * 60}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf (b > 0 ? "%.2f" : "n/a"), (b > 0 ? a / b : 0)}'; }
line() { printf '%-46s %9s %-12s baseline %9s %-12s ratio %s\n' "$1" "$2" "$3" "$4" "$5" "$(ratio "$2" "$4")"; }
load() { cut -d' ' -f1 /proc/loadavg; }
# CPU s/min of process $1 over $window seconds.
measure() {
    local a b
    a=$(ticks /proc/"$1")
    sleep "$window"
    b=$(ticks /proc/"$1")
    per_minute $((b - a)) "$window"
}

# A song-like input for the recording (three moving tones and a little noise) and a steady tone for the
# latency, each encoded by lame for playing.
python3 - "$work" "$((window + 30))" <<'PY'
import math, random, struct, sys, wave
work, seconds = sys.argv[1], int(sys.argv[2])
def write(name, rate, frames, sample):
    with wave.open(f"{work}/{name}", "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", sample(i, rate)) for i in range(frames)))
random.seed(1)
write("input.wav", 22050, 22050 * seconds, lambda i, r: int(6000 * math.sin(2 * math.pi * (220 + 40 * math.sin(i / r)) * i / r)
      + 3000 * math.sin(2 * math.pi * 330 * i / r) + 2000 * math.sin(2 * math.pi * 495 * i / r) + random.randint(-300, 300)))
write("tone.wav", 44100, 44100 * 8, lambda i, r: int(8000 * math.sin(2 * math.pi * 441 * i / r)))
PY
lame --quiet -b 128 "$work/tone.wav" "$work/tone.mp3"

echo "Xvfb $display, SDL driver pulseaudio, playback device buffer $buffer_frames frames"

# Idle: a bare Qt window, then kandolor with its window open.
"$bench" bare &
bare=$!
pids+=($bare)
sleep 3
echo "load average before idle: $(load)"
bare_cpu=$(measure $bare)
kill $bare
read -r bx by enabled < <("$bench" where 2>/dev/null | tail -1)
"$kandolor" >"$work/kandolor.log" 2>&1 &
app=$!
pids+=($app)
# The start-up notice about the recording cable is confirmed with Enter, typed into the focused notice: a key
# sent to its window would leave the key held down once the notice closes, and the server would repeat it.
for _ in $(seq 100); do
    note=$(xdotool search --onlyvisible --pid $app --name '^Informationen$' 2>/dev/null | head -1 || true)
    [ -n "$note" ] && break
    sleep 0.1
done
[ -n "$note" ] && { xdotool windowactivate --sync "$note" 2>/dev/null; xdotool key Return; } || true
sleep 4
app_idle=$(measure $app)
line "idle CPU, window open" "$app_idle" "s/min" "$bare_cpu" "s/min (bare)"
echo "  (one clock tick over the window is $(per_minute 1 "$window") s/min)"
echo "  kandolor threads while idle (CPU s/min over $window s):"
declare -A idle0
for t in /proc/$app/task/*; do idle0[$t]=$(ticks "$t"); done
sleep "$window"
for t in /proc/$app/task/*; do
    [ -n "${idle0[$t]:-}" ] || continue
    printf '    %-20s %s\n' "$(cat "$t/comm")" "$(per_minute $(($(ticks "$t") - idle0[$t])) "$window")"
done

# Recording: the record button clicked in the real window while a song-like signal plays into the sink.
paplay "$work/input.wav" &
input=$!
pids+=($input)
win=$(xdotool search --onlyvisible --pid $app --name '^Kandolor' 2>/dev/null | head -1 || true)
[ "$enabled" = 1 ] || echo "warning: the record button is disabled in a fresh window"
[ -n "$win" ] && xdotool mousemove --window "$win" "$bx" "$by" click 1
sleep 3
lame_pid=$(pgrep -P $app -x lame || true)
if [ -z "$lame_pid" ]; then
    echo "recording did not start in kandolor (no lame child); the window built in the bench records instead:"
    kill $app
    "$bench" record "$window" 2>/dev/null | sed 's/^/  /'
else
    declare -A before
    for t in /proc/$app/task/*; do before[$t]=$(ticks "$t"); done
    a=$(ticks /proc/$app)
    l=$(ticks /proc/$lame_pid)
    sleep "$window"
    b=$(ticks /proc/$app)
    m=$(ticks /proc/$lame_pid)
    rec_cpu=$(per_minute $((b - a)) "$window")
    lame_cpu=$(per_minute $((m - l)) "$window")
    line "recording CPU" "$rec_cpu" "s/min" "$lame_cpu" "s/min (lame)"
    line "recording CPU above idle" "$(awk -v a="$rec_cpu" -v b="$app_idle" 'BEGIN {printf "%.3f", a - b}')" \
        "s/min" "$lame_cpu" "s/min (lame)"
    echo "  kandolor threads while recording (CPU s/min):"
    for t in /proc/$app/task/*; do
        [ -n "${before[$t]:-}" ] || continue
        printf '    %-20s %s\n' "$(cat "$t/comm")" "$(per_minute $(($(ticks "$t") - before[$t])) "$window")"
    done
    if command -v strace >/dev/null; then
        echo "  system calls of kandolor over 10 s of recording (strace -c -f):"
        timeout -s INT 10 strace -c -f -p $app -o "$work/strace.txt" >/dev/null 2>&1 || true
        head -14 "$work/strace.txt" | sed 's/^/    /'
    fi
fi
kill $app $input 2>/dev/null || true
sleep 1

# Latency, idle and with two compile jobs.
baseline=$(awk -v f="$buffer_frames" 'BEGIN {printf "%.1f", f / 44100 * 1000}')
# latency LABEL REST: REST seconds of silence before each start (longer than the device's idle time: it
# starts from a closed device; shorter: from an open one playing silence).
latency() {
    local median worst gaps missed lead
    read -r median worst gaps missed lead < <("$bench" latency "$work/tone.mp3" "$rounds" 3 "$2" 2>/dev/null | tail -1)
    line "play latency, $1 (median)" "$median" "ms" "$baseline" "ms (buffer)"
    line "play latency, $1 (worst)" "$worst" "ms" "$baseline" "ms (buffer)"
    echo "  gaps in $rounds x 3 s of tone: $gaps, starts not heard: $missed (file lead $lead ms, load $(load))"
}
latency "idle, after silence" 3
latency "idle, device open" 0.3
printf '#include <QtWidgets>\n#include <regex>\nstd::regex r("a+b*");\n' >"$work/load.cpp"
loaders=()
for _ in 1 2; do
    q=/usr/include/x86_64-linux-gnu/qt6
    setsid bash -c "while :; do c++ -std=c++20 -O2 -fPIC -I$q -I$q/QtWidgets -I$q/QtCore -I$q/QtGui \
        -c $work/load.cpp -o /dev/null; done" &
    loaders+=($!)
done
sleep 3
latency "two compile jobs, after silence" 3
latency "two compile jobs, device open" 0.3
for p in "${loaders[@]}"; do kill -- -"$p"; done
