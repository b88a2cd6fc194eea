#!/usr/bin/env bash
# Installs what Parlivo needs on Debian 12 (about 1.5 GB): Qt 6 (with its TIFF and WebP image readers), espeak-ng and
# Festival with a natural English voice, libmp3lame, LibreOffice Writer, Poppler and QuaZip for PDF and EPUB, Tesseract
# with its English and page-orientation data for text in pictures, libhyphen with English patterns and OpenDyslexic for
# the reading aids, Enchant with Hunspell's English dictionaries, WordNet and Presage (with SQLite to read its word
# counts) for the writing help, Apertium with its English-Spanish pair for offline translation, Qt's Linguist tools for
# the window's translations, libdbus for the small `parlivo` program that hands a shortcut to the running copy, and the
# tools the tests use (Xvfb, sox, pulseaudio, the lame program, clang with libFuzzer for the fuzz targets, TeX and
# pdftotext for the PDF tests, GNU parallel and strace for the command line's, ImageMagick for TIFF pages and the
# tesseract command for the benchmarks); and Mozilla's Readability (fetched with npm into third_party/readability, which
# git ignores; the build embeds it).
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-multimedia-dev qt6-webengine-dev qt6-svg-dev qt6-image-formats-plugins
    libespeak-ng-dev espeak-ng libmp3lame-dev lame sox xvfb xauth xdotool imagemagick fonts-dejavu-core
    clang libclang-rt-dev libpoppler-qt6-dev libquazip1-qt6-dev poppler-utils
    libtesseract-dev tesseract-ocr-eng tesseract-ocr-osd tesseract-ocr tesseract-ocr-fra
    festival festival-dev libestools-dev festvox-us-slt-hts libhyphen-dev hyphen-en-us hyphen-en-gb fonts-opendyslexic
    parallel strace apertium apertium-eng-spa qt6-l10n-tools qt6-tools-dev dbus dbus-x11 xclip libexttextcat-dev
    libexttextcat-data libenchant-2-dev hunspell-en-us hunspell-en-gb wordnet-base wordnet-dev libpresage-dev
    libpresage-data libsqlite3-dev libdbus-1-dev)
missing=()
for p in "${packages[@]}" libreoffice-writer-nogui pulseaudio pulseaudio-utils texlive-latex-base; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Debian's npm; a Node.js from elsewhere brings its own.
command -v npm >/dev/null || missing+=(npm)

fetch_readability() {
    local folder=third_party/readability
    [ -f "$folder/node_modules/@mozilla/readability/Readability.js" ] && return 0
    mkdir -p "$folder"
    npm install --prefix "$folder" --no-save --no-audit --no-fund --ignore-scripts @mozilla/readability@0.6.0 \
        >/dev/null
}

if [ ${#missing[@]} -eq 0 ]; then
    fetch_readability
    exit 0
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${packages[@]}" >/dev/null
# Without recommends: LibreOffice would otherwise pull in a whole desktop.
$SUDO apt-get install -y -qq --no-install-recommends libreoffice-writer-nogui pulseaudio pulseaudio-utils \
    texlive-latex-base >/dev/null
command -v npm >/dev/null || $SUDO apt-get install -y -qq npm >/dev/null
fetch_readability
