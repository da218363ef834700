#!/usr/bin/env bash
# Builds the Debian package of Brevika into build-package/: a release build
# of the two programs installed under /usr, with the desktop entry, icon,
# AppStream metadata and manual pages; CPack declares the libraries it needs.
# Install it with: sudo apt-get install ./build-package/brevika_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f build-package/CMakeCache.txt ]; then
  cmake -S . -B build-package "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DBREVIKA_TESTS=OFF -DBREVIKA_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
fi
cmake --build build-package --parallel "$(nproc)" --target brevika brevika-calc installed_docs
rm -f build-package/brevika_*.deb
(cd build-package && cpack -G DEB)
ls build-package/brevika_*.deb
