#!/usr/bin/env bash
# Builds Brevika and saves a picture of each window into docs/, the four
# steps of the loan information dialog over a small book of loans included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen build/brevika-screenshots docs
