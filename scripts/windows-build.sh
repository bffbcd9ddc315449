#!/usr/bin/env bash
# Cross-builds the whole program for Windows with the mingw-w64 Qt of
# scripts/windows-qt.sh (built first when it is not there yet): TalvoEditZ.exe
# and, with the target talvo_wintests, the Windows tests. Arguments: build
# targets (default TalvoEditZ). Build directory: $TALVO_WIN_QT_BUILD_DIR,
# default build-windows-qt/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TALVO_WIN_QT_BUILD_DIR:-$root/build-windows-qt}"
targets=("$@")
if [ ${#targets[@]} = 0 ]; then targets=(TalvoEditZ); fi

"$root/scripts/windows-qt.sh" >&2
qt="$("$root/scripts/windows-qt.sh" --check | tail -n1)"
"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  googletest cmake ninja-build qt6-base-dev qt6-base-dev-tools

# Qt's host tools (moc, uic, rcc) come from the host Qt of the same version,
# whose CMake files Debian keeps in its multiarch folder. The Qt prefix is
# also a find root, so the cross build's package search (ONLY the roots)
# reaches it.
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DTALVO_WITH_QT=ON -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DTALVO_BUILD_TESTS=ON -DTALVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "${TALVO_JOBS:-$(nproc)}"
