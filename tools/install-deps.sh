#!/usr/bin/env bash
# Installs what Parlivo needs on Debian 12 (about 1.5 GB): Qt 6, espeak-ng and Festival with a natural English
# voice, libmp3lame, LibreOffice Writer, Poppler and QuaZip for PDF and EPUB, libhyphen with English patterns and
# OpenDyslexic for the reading aids, and the tools the tests use (Xvfb, sox, pulseaudio, the lame program, clang
# with libFuzzer for the fuzz targets, TeX and pdftotext for the PDF tests).
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-multimedia-dev qt6-webengine-dev qt6-svg-dev qt6-image-formats-plugins
    libespeak-ng-dev espeak-ng libmp3lame-dev lame sox xvfb xauth xdotool imagemagick fonts-dejavu-core
    clang libclang-rt-dev libpoppler-qt6-dev libquazip1-qt6-dev poppler-utils
    festival festival-dev libestools-dev festvox-us-slt-hts libhyphen-dev hyphen-en-us hyphen-en-gb fonts-opendyslexic)
missing=()
for p in "${packages[@]}" libreoffice-writer-nogui pulseaudio pulseaudio-utils texlive-latex-base; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${packages[@]}" >/dev/null
# Without recommends: LibreOffice would otherwise pull in a whole desktop.
$SUDO apt-get install -y -qq --no-install-recommends libreoffice-writer-nogui pulseaudio pulseaudio-utils \
    texlive-latex-base >/dev/null
