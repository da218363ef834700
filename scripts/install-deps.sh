#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Brevika need,
# only when one of them is missing.
set -euo pipefail
PKGS=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev libsimpleini-dev fonts-liberation poppler-utils python3-dbf
      libcli11-dev nlohmann-json3-dev python3-dbfread xvfb xauth
      dpkg-dev desktop-file-utils appstream man-db)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
