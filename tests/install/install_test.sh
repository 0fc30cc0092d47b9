#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user would get:
# the files in their places, and the installed program's command line.
# Usage: install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/helicordia share/helicordia/db.db share/helicordia/Background_5.jpg share/helicordia/helicordia_ro.qm \
         share/helicordia/helicordia_help.html share/helicordia/helicordia_help.ro.html \
         "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$id.svg" \
         "share/icons/hicolor/16x16/apps/$id.png" "share/icons/hicolor/48x48/apps/$id.png" \
         "share/icons/hicolor/256x256/apps/$id.png"; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/helicordia" ] || fail "the program is not executable"
cmp -s "$prefix/share/helicordia/db.db" "$build/bin/db.db" || fail "installed db.db differs"
[ ! -e "$prefix/bin/db.db" ] || fail "data files belong in share/helicordia, not bin"
grep -qx 'Exec=helicordia' "$prefix/share/applications/$id.desktop" || fail "desktop entry does not start helicordia"

# The sound output comes as modules loaded on first play, and export loads
# libsndfile itself: the program links none of them, so it starts without
# loading them.
ls "$prefix"/lib*/helicordia/helicordia_pulse.so "$prefix"/lib*/helicordia/helicordia_rtaudio.so >/dev/null 2>&1 \
    || fail "sound-output modules not installed under lib/helicordia"
needed=$(readelf -d "$prefix/bin/helicordia" | grep NEEDED || true)
if grep -Eq 'pulse|rtaudio|sndfile|jack|asound' <<<"$needed"; then
    fail "the program links a sound library at start: $needed"
fi

# The command line is answered without a display: with none set, opening a
# window would abort the program.
prog=$prefix/bin/helicordia
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 "$prog" "$@" >"$tmp/out" 2>"$tmp/err"; }
status=0; run --help || status=$?
[ $status = 0 ] && grep -q -- '--version' "$tmp/out" && grep -q '^Usage: helicordia' "$tmp/out" || fail "--help: $status $(cat "$tmp/out" "$tmp/err")"
status=0; run --version || status=$?
[ $status = 0 ] && grep -qx 'Helicordia [0-9]*\.[0-9]*\.[0-9]*' "$tmp/out" || fail "--version: $status $(cat "$tmp/out")"
for bad in --no-such-option stray-word; do
    status=0; run "$bad" || status=$?
    [ $status = 2 ] || fail "$bad: exit status $status, expected 2"
    [ ! -s "$tmp/out" ] && grep -q "^helicordia: .*no-such-option\|^helicordia: .*stray-word" "$tmp/err" \
        && grep -q -- "--help" "$tmp/err" || fail "$bad: message was: $(cat "$tmp/err")"
done
# In a Romanian terminal it speaks Romanian, from the installed translation.
status=0; LANG=ro_RO.UTF-8 env -u DISPLAY -u LC_ALL -u LC_MESSAGES "$prog" --help >"$tmp/out" 2>"$tmp/err" || status=$?
[ $status = 0 ] && grep -q '^Utilizare: helicordia' "$tmp/out" || fail "Romanian --help: $status $(cat "$tmp/out" "$tmp/err")"
echo "install test passed"
