# Sourced: a private PulseAudio daemon with a null sink whose monitor is the default source.
start_private_pulse() {
    PULSE_DIR=$(mktemp -d /tmp/kandolor-pulse.XXXXXX)
    mkdir -p "$PULSE_DIR/home" "$PULSE_DIR/run" "$PULSE_DIR/state"
    chmod 700 "$PULSE_DIR/run"
    cat >"$PULSE_DIR/default.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$PULSE_DIR/native
load-module module-null-sink sink_name=null_out rate=44100 channels=2
load-module module-remap-source master=null_out.monitor source_name=capture
set-default-sink null_out
set-default-source capture
PA
    export KANDOLOR_PULSE_DIR=$PULSE_DIR
    export XDG_RUNTIME_DIR=$PULSE_DIR/run PULSE_RUNTIME_PATH=$PULSE_DIR/run
    export PULSE_STATE_PATH=$PULSE_DIR/state PULSE_SERVER=unix:$PULSE_DIR/native
    if ! HOME=$PULSE_DIR/home pulseaudio -n -F "$PULSE_DIR/default.pa" --exit-idle-time=-1 --daemonize=yes \
        >"$PULSE_DIR/log" 2>&1; then
        echo "PulseAudio could not be started; device tests will be skipped" >&2
        unset PULSE_SERVER
        return 0
    fi
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    # A reader on the monitor keeps the null sink from stalling the first stream. Its latency is the
    # monitor's block size, by which every reader of the capture source is woken (KANDOLOR_MONITOR_MSEC).
    parec --latency-msec="${KANDOLOR_MONITOR_MSEC:-10}" -d null_out.monitor >/dev/null 2>&1 &
    PULSE_PAREC=$!
    sleep 2
}

stop_private_pulse() {
    [ -n "${PULSE_PAREC:-}" ] && kill "$PULSE_PAREC" 2>/dev/null || true
    [ -n "${PULSE_SERVER:-}" ] && HOME=$PULSE_DIR/home pulseaudio --kill 2>/dev/null || true
    rm -rf "${PULSE_DIR:-/nonexistent}"
}
