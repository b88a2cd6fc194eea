#!/usr/bin/env bash
# Makes the about window's pictures (resources/about/logo.jpg and picture.jpg) from the reader figure's
# drawing code. With --strip FILE it also writes a strip of the figure at several mouth positions,
# scaled up three times, for looking the drawing over.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -I"$root" $(pkg-config --cflags Qt6Gui) \
    "$root/tools/make-pictures.cpp" "$root/speech/VisemeImages.cpp" \
    $(pkg-config --libs Qt6Gui) -o "$work/make-pictures"
QT_QPA_PLATFORM=offscreen "$work/make-pictures" "$root/resources/about" "$@"
