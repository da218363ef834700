#!/usr/bin/env bash
# Installs what is missing, builds Brevika and runs every test
# (core tests, command-line tests, and the windows on the offscreen platform).
#
#   scripts/test.sh              the build in build/
#   scripts/test.sh --sanitize   a separate build in build-sanitize/ with
#                                AddressSanitizer and UndefinedBehaviorSanitizer;
#                                any finding fails the test that caused it
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
if [ "$sanitize" -eq 0 ]; then
  bash scripts/build.sh
  cd build
else
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  if [ ! -f build-sanitize/CMakeCache.txt ]; then
    cmake -S . -B build-sanitize "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DBREVIKA_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
  fi
  cmake --build build-sanitize --parallel "$(nproc)"
  # Leaks of the system libraries the windows load (fonts, input methods)
  # are theirs, not ours: scripts/lsan.supp names them.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  cd build-sanitize
fi
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
