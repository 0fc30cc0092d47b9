#!/usr/bin/env bash
# The installed program as a user meets it: started from its menu entry's Exec
# line on an X display, driven by the keyboard alone. It finds its data in the
# install prefix, plays an entry into the sound server, ends with Ctrl+Q, and
# keeps its recent list across a restart; at scale 2 its window is twice the size.
# Usage: desktop_run_test.sh BUILD_DIR APP_ID
# Needs Xvfb, xdotool and a PulseAudio server (the sink in HELICORDIA_TEST_SINK);
# without a server the test is skipped (exit 77) unless HELICORDIA_AUDIO_REQUIRED=1.
set -euo pipefail
build=$1
id=$2
if ! pactl info >/dev/null 2>&1; then
    [ "${HELICORDIA_AUDIO_REQUIRED:-0}" = 1 ] && { echo "FAIL: no sound server answers"; exit 1; }
    echo "SKIP: no sound server"; exit 77
fi
sink=${HELICORDIA_TEST_SINK:-$(pactl get-default-sink)}

tmp=$(mktemp -d)
PIDS=()
app=
cleanup() {
    # The program first, while its display is still there: a program whose X
    # server vanishes is ended by Qt itself, which is not what a test checks.
    if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$tmp/app.log" ] && cat "$tmp/app.log" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
# The program looks for its sound-output modules beside itself and in the
# library folder of the prefix it was built for, never relative to itself:
# installed elsewhere, as here, it finds them beside it, as a portable copy.
ln -s "$prefix"/lib*/helicordia/helicordia_*.so "$prefix/bin/"
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
mkdir -p "$HOME"
export PATH=$prefix/bin:$PATH
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")

exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop")
# Waits for a visible window with this exact title and gives it the keyboard.
# xdotool's search gives up on an X error when some window (a menu, a tip)
# goes away while it looks, so it is asked again until the window is there.
window() {
    local wid=
    for _ in $(seq 200); do
        wid=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || fail "no window \"$1\""
    xdotool windowfocus --sync "$wid"
    echo "$wid"
}
start() {
    # shellcheck disable=SC2086  # the Exec line is a command line
    $exec_line >"$tmp/app.log" 2>&1 &
    app=$!
    main=$(window Helicordia)
}
finish() {
    xdotool key ctrl+q
    local status=0
    timeout 20 tail --pid="$app" -f /dev/null || fail "Ctrl+Q did not end the program"
    wait "$app" || status=$?
    [ $status = 0 ] || fail "the program ended with status $status"
}

start
xdotool type --delay 20 'A major scale'
xdotool key ctrl+Return
window 'Helicordia player' >/dev/null
parec -d "$sink.monitor" --file-format=wav "$tmp/played.wav" &
rec=$!
xdotool key space
sleep 1.5   # the tone itself: a second and a half of it is recorded
xdotool key s
kill -INT $rec; wait $rec || true
level=$(sox "$tmp/played.wav" -n stat 2>&1 | sed -n 's/^RMS *amplitude: *//p')
awk -v l="$level" 'BEGIN { exit !(l > 0.01) }' || fail "nothing was heard (RMS $level)"
xdotool key Escape
window Helicordia >/dev/null
finish

# An installed program keeps the recent list in the user's data folder.
recent=$XDG_DATA_HOME/Helicordia/Dic.ini
[ ! -e "$prefix/bin/Dic.ini" ] || fail "the recent list was written among the installed files"
grep -q '^A major scale' "$recent" || fail "the played entry is not in the recent list: $(cat "$recent")"
# A second run, on a display scaled twice, loads the list and writes it back
# unchanged; its window is twice the size.
cp "$recent" "$tmp/first.ini"
QT_SCALE_FACTOR=2 start
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH x $HEIGHT" = "1246 x 914" ] || fail "at scale 2 the main window is $WIDTH x $HEIGHT"
finish
cmp -s "$recent" "$tmp/first.ini" || fail "the recent list changed across a restart: $(cat "$recent")"
echo "desktop run test passed (RMS $level)"
