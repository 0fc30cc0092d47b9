# Sourced by the test scripts: starts a private PipeWire (pipewire,
# wireplumber and pipewire-pulse, the PulseAudio service most desktops run
# today, on a session bus of their own) with a null sink "ci_sink", on a
# runtime folder of its own, and stops them when the calling script exits.
RUN=$(mktemp -d)
chmod 700 "$RUN"
export XDG_RUNTIME_DIR=$RUN
cat >"$RUN/pipewire.sh" <<'PW'
pipewire & a=$!
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.1; done
wireplumber & b=$!
pipewire-pulse & c=$!
trap 'kill $c $b $a 2>/dev/null; wait; exit 0' TERM INT
wait
PW
dbus-run-session -- bash "$RUN/pipewire.sh" >"$RUN/pipewire.log" 2>&1 &
PW_PID=$!
cleanup() {
    # The session's shell ends the three servers; dbus-run-session then ends
    # the bus and itself.
    pkill -TERM -P "$PW_PID" -f "$RUN/pipewire.sh" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$PW_PID" 2>/dev/null || break; sleep 0.1; done
    kill "$PW_PID" 2>/dev/null || true
    wait "$PW_PID" 2>/dev/null || true
    rm -rf "$RUN"
}
trap cleanup EXIT
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info | grep -q 'on PipeWire'
pactl load-module module-null-sink sink_name=ci_sink >/dev/null
for _ in $(seq 50); do pactl list short sinks | grep -q ci_sink && break; sleep 0.1; done
pactl set-default-sink ci_sink
# The sound tests fail (not skip) when they cannot reach this server.
export HELICORDIA_AUDIO_REQUIRED=1
export HELICORDIA_TEST_SINK=ci_sink
