#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and sanitizers in ./build-fuzz and runs each one in turn.
#   tools/fuzz.sh [seconds per target, default 30] [target names...]
# Each target starts from its committed seeds (tests/fuzz/corpus/<name>) plus what earlier runs found
# (build-fuzz/corpus/<name>). A crash stops the script with the target's output and the crashing input
# saved under build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPARLIVO_FUZZ=ON -DPARLIVO_TESTS=OFF -DPARLIVO_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in tests/fuzz/corpus/*/; do
        targets+=("$(basename "$seeds")")
    done
fi
mkdir -p build-fuzz/artifacts
for name in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    echo "== fuzz_$name for ${seconds}s"
    log=build-fuzz/artifacts/$name.log
    status=0
    build-fuzz/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/artifacts/"$name"- "$corpus" tests/fuzz/corpus/"$name" >"$log" 2>&1 || status=$?
    # The last status line holds the coverage reached (cov:) and the inputs run.
    grep -E '^#[0-9]+' "$log" | tail -n 1 || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log" >&2
        echo "fuzz_$name failed (exit $status); see build-fuzz/artifacts/" >&2
        exit 1
    fi
done
