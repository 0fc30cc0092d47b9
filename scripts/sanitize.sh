#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-sanitize and runs every test there, the sound tests included. Any
# sanitizer report fails the run. Expects the packages of install-deps.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHELICORDIA_SANITIZE=ON ${BUILD_WERROR:+-DBUILD_WERROR=$BUILD_WERROR} >/dev/null
cmake --build "$root/build-sanitize" -j"$(nproc)"

source "$here/sound-server.sh"
# Every report goes to a file of its own, so that none can hide: the run fails
# when any was written, even if the test that caused it passed on a retry.
# (A sound test may be retried once: a busy machine can drop a few
# milliseconds from the recording, which the sanitizers make likelier.)
reports="$root/build-sanitize/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1:log_path=$reports/asan
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/leaks.supp:print_suppressions=0
cd "$root/build-sanitize"
status=0
ctest --output-on-failure --timeout 600 --repeat until-pass:2 2>&1 | tee ctest.log || status=$?
# A test that passed only when run again may be flaky: name each one, so that
# no retry goes unseen (ctest writes a retry's result without the "k/N" count).
retried=$(sed -nE 's/^ +Test +#[0-9]+: ([^ ]+) .* Passed .*/\1/p' ctest.log | sort -u | paste -sd ' ')
if [ -n "$retried" ]; then
    echo "sanitize: failed first, passed when run again: $retried" >&2
fi
if [ -n "$(ls -A "$reports")" ]; then
    cat "$reports"/*
    echo "sanitize: the reports above were written" >&2
    exit 1
fi
exit "$status"
