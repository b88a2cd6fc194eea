#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in ./build-asan and runs them.
#   tools/sanitize.sh [test folders...]   (default: every folder listed below)
# The first memory error or undefined behaviour ends the test that met it, with a stack trace.
set -euo pipefail
cd "$(dirname "$0")/.."

folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
    folders=(core formats speech export hardening window)
fi
targets=()
for folder in "${folders[@]}"; do
    targets+=("tests_$folder")
done

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLIVO_SANITIZE=ON -DPARLIVO_BENCH=OFF \
    >/dev/null
cmake --build build-asan -j"$(nproc)" --target "${targets[@]}"

# Leak checking is off: Qt and fontconfig keep caches for the life of the process by design, and the
# reports would bury real faults. Everything else stops at the first error.
asan=detect_leaks=0:halt_on_error=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
asan=$asan:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 LANG=C.UTF-8
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

plain=()
browser=()
for folder in "${folders[@]}"; do
    case $folder in
    formats | window) browser+=("$folder") ;;
    *) plain+=("$folder") ;;
    esac
done
# Tests that measure speech against the audio clock; the sanitizers' threefold slowdown makes them flaky
# here, and the plain run checks them.
timed='WordsArriveSpreadOverTheirSentenceNotInOneBurst'
run() {
    local labels
    labels=$(IFS='|'; echo "$*")
    ctest --test-dir build-asan -L "^($labels)\$" -E "$timed" --output-on-failure -j"$(nproc)" --timeout 900 \
        --no-tests=error
}
if [ ${#plain[@]} -gt 0 ]; then
    ASAN_OPTIONS=$asan run "${plain[@]}"
fi
# Qt WebEngine's prebuilt Chromium frees some of its own objects through a base type of another size, which
# the sanitizer reports inside Chromium on every page; that one check is off for the programs that hold a
# browser. Our code in them is still checked for everything else.
if [ ${#browser[@]} -gt 0 ]; then
    ASAN_OPTIONS=$asan:new_delete_type_mismatch=0 run "${browser[@]}"
fi
