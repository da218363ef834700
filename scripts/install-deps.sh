#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Brevika need,
# only when one of them is missing: as root directly, otherwise through sudo.
# When neither is possible it says which packages are missing and the one
# command an administrator should run, and fails.
set -euo pipefail
PKGS=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev libsimpleini-dev fonts-liberation poppler-utils python3-dbf
      libcli11-dev nlohmann-json3-dev python3-dbfread xvfb xauth
      dpkg-dev file desktop-file-utils appstream man-db lintian)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cannot_install() {
  {
    echo "scripts/install-deps.sh: these Debian packages are missing: ${missing[*]}"
    echo "Installing them needs root: $1."
    echo "Ask an administrator to run:"
    echo "  apt-get install --no-install-recommends ${missing[*]}"
  } >&2
  exit 1
}

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  user=$(id -un)
  command -v sudo >/dev/null || cannot_install "$user is not root and sudo is not installed"
  SUDO=(sudo)
fi
echo "Installing: ${missing[*]}"
if [ ${#SUDO[@]} -gt 0 ]; then
  # Asks for the password once; fails for a user sudo does not allow.
  sudo -v || cannot_install "sudo did not let $user run commands as root"
fi
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
