#!/usr/bin/env bash
# Builds Brevika and saves a picture of each window into docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen build/brevika-screenshots docs
