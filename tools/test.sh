#!/usr/bin/env bash
# Installs the dependencies, builds Parlivo and runs every test without a display (the desktop tests start an Xvfb
# of their own, see tests/CMakeLists.txt). Speech plays to a private PulseAudio server with a null sink, started
# here and stopped at the end, so the real sound path is tested.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 LANG=C.UTF-8
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
stop_sound() {
    pulseaudio --kill 2>/dev/null || true
    [ -z "${bus_pid:-}" ] || kill "$bus_pid" 2>/dev/null || true
    rm -rf "$XDG_RUNTIME_DIR"
}
trap stop_sound EXIT
# As root the server warns that it is meant for a user; it works all the same.
pulseaudio -D -n --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink" --load=module-always-sink 2>/dev/null
pactl info >/dev/null
# A private session bus for the desktop service's tests, so they never meet a Parlivo the user runs.
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
bus_pid=$(sed -n 2p <<<"$bus")
export DBUS_SESSION_BUS_ADDRESS
# The sound tests fail rather than skip when the server is not there.
export PARLIVO_REQUIRE_AUDIO=1

status=0
ctest --test-dir build -LE bench --output-on-failure -j"$(nproc)" --timeout 600 | tee build/ctest-summary.log ||
    status=$?
# ctest's own summary: "N% tests passed, F tests failed out of T", then the tests that did not run, each with
# its reason. Programs that are tools rather than tests (a screenshot maker, a crash-test child) are disabled
# there and counted nowhere.
summary() {
    local total failed skipped
    total=$(grep -oE 'tests failed out of [0-9]+' build/ctest-summary.log | grep -oE '[0-9]+$' | tail -n 1)
    failed=$(grep -oE '[0-9]+ tests failed out of' build/ctest-summary.log | grep -oE '^[0-9]+' | tail -n 1)
    skipped=$(grep -c '(Skipped)' build/ctest-summary.log || true)
    total=${total:-0} failed=${failed:-0}
    echo "$((total - failed - skipped)) passed, $failed failed, $skipped skipped"
}
if [ "$status" -ne 0 ]; then
    summary
    exit "$status"
fi

# Second job: the tests again under AddressSanitizer and UndefinedBehaviorSanitizer (see the script for which).
tools/sanitize.sh
# Third job: every fuzz target for 30 seconds from its seed inputs.
tools/fuzz.sh 30

# Every job above stops the script on a failure, so reaching here means the whole suite passed.
summary
