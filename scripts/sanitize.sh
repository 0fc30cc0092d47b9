#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-sanitize and runs every test there, the sound tests included. Any
# sanitizer report fails the run. Expects the packages of install-deps.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHELICORDIA_SANITIZE=ON >/dev/null
cmake --build "$root/build-sanitize" -j"$(nproc)"

source "$here/sound-server.sh"
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/leaks.supp:print_suppressions=0
cd "$root/build-sanitize"
ctest --output-on-failure --timeout 600
