# Sourced by the test scripts: starts a private PulseAudio server with a null
# sink "ci_sink" (the sound tests play into it and record its monitor) and
# stops it when the calling script exits.
RUN=$(mktemp -d)
chmod 700 "$RUN"
export XDG_RUNTIME_DIR=$RUN
PIDS=()
cleanup() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$RUN"
}
trap cleanup EXIT

pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=stderr --log-level=error \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=ci_sink rate=48000 channels=2 norewinds=1" &
PIDS+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info | grep -q 'Default Sink: ci_sink'
# The sound tests fail (not skip) when they cannot reach this server.
export HELICORDIA_AUDIO_REQUIRED=1
export HELICORDIA_TEST_SINK=ci_sink
