#!/usr/bin/env bash
# Cross-builds the Qt-free Windows parts with mingw-w64 and runs their
# tests under Wine (ctest label "wine"), then the COM benchmark.
# Debian 12; installs mingw-w64 and Wine when missing (run as root or with
# sudo). Build directory: $TALVO_WIN_BUILD_DIR, default build-windows/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TALVO_WIN_BUILD_DIR:-$root/build-windows}"

"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  wine wine64 googletest cmake ninja-build

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DTALVO_WITH_QT=OFF -DTALVO_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" --target talvo_wintests -j "$(nproc)"

# No display is needed: the tests' prefix uses Wine's null display driver.
unset DISPLAY
cd "$build"
ctest -L wine --output-on-failure --timeout 300
if [ "${TALVO_WIN_BENCH:-1}" = 1 ]; then
  WINEPREFIX="$build/tests/win/wineprefix" WINEDEBUG=-all wine tests/win/win_com_bench.exe
  WINEPREFIX="$build/tests/win/wineprefix" wineserver -k 2>/dev/null || true
fi
