#!/usr/bin/env bash
# Installs the dependencies, builds Parlivo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
exec build/parlivo
