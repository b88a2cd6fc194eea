#!/usr/bin/env bash
# Installs the dependencies, builds Parlivo and runs every test without a display or a sound device.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 LANG=C.UTF-8
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
ctest --test-dir build -LE bench --output-on-failure -j"$(nproc)" --timeout 600 | tee build/ctest-summary.log

# Second job: the tests again under AddressSanitizer and UndefinedBehaviorSanitizer (see the script for which).
tools/sanitize.sh
# Third job: every fuzz target for 30 seconds from its seed inputs.
tools/fuzz.sh 30

# Every job above stops the script on a failure, so reaching here means the whole suite passed.
passed=$(grep -oE 'tests failed out of [0-9]+' build/ctest-summary.log | grep -oE '[0-9]+$' | tail -n 1)
echo "${passed:-0} passed, 0 failed"
