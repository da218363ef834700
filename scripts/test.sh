#!/usr/bin/env bash
# Installs what is missing, builds Brevika and runs every test
# (core tests, command-line tests, and the windows on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
