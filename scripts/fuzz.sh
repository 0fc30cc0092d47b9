#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang into ./build-fuzz and runs each for
# FUZZ_SECONDS (default 60) over its seed corpus in tests/fuzz/corpus. A crash,
# a sanitizer report or a broken invariant fails the run; the input that did
# it is left in build-fuzz/findings.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
targets=(fuzz_catalogue fuzz_frequency_list fuzz_text_decoder fuzz_recent_list fuzz_own_treatments fuzz_history)
cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHELICORDIA_FUZZ=ON ${BUILD_WERROR:+-DBUILD_WERROR=$BUILD_WERROR} \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$root/build-fuzz" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
findings="$root/build-fuzz/findings"
mkdir -p "$findings"
for t in "${targets[@]}"; do
    work="$root/build-fuzz/corpus/$t"   # grows here; the seeds in the repository stay as they are
    mkdir -p "$work"
    echo "== $t: ${seconds}s"
    status=0
    "$root/build-fuzz/bin/$t" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$findings/$t-" "$work" "$root/tests/fuzz/corpus/$t" \
        >"$findings/$t.log" 2>&1 || status=$?
    grep -v '^#[0-9]' "$findings/$t.log" | tail -n 40
    if [ "$status" != 0 ]; then
        echo "fuzz: $t failed (status $status); the input is in $findings" >&2
        exit 1
    fi
done
