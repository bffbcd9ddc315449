#!/usr/bin/env bash
# Cross-builds the Qt-free Windows parts with mingw-w64 and runs their
# tests under Wine (ctest label "wine"), then the COM benchmark; then the
# Windows program's tests (label "winprogram") under Wine on a virtual
# display, when the mingw-w64 Qt of scripts/windows-qt.sh is there (else
# one line says they were skipped and why; that script builds it once,
# about 22 minutes on two cores). Debian 12; installs mingw-w64, Wine, Xvfb
# and a Japanese font when missing (run as root or with sudo).
# Build directories: $TALVO_WIN_BUILD_DIR (default build-windows/) and
# $TALVO_WIN_QT_BUILD_DIR (default build-windows-qt/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TALVO_WIN_BUILD_DIR:-$root/build-windows}"
qtbuild="${TALVO_WIN_QT_BUILD_DIR:-$root/build-windows-qt}"

"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  wine wine64 googletest cmake ninja-build xvfb xauth fonts-vlgothic

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DTALVO_WITH_QT=OFF -DTALVO_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" --target talvo_wintests -j "$(nproc)"

# No display is needed: the tests' prefix uses Wine's null display driver.
(
  unset DISPLAY
  cd "$build"
  ctest -L wine --output-on-failure --timeout 300
  if [ "${TALVO_WIN_BENCH:-1}" = 1 ]; then
    WINEPREFIX="$build/tests/win/wineprefix" WINEDEBUG=-all wine tests/win/win_com_bench.exe
    WINEPREFIX="$build/tests/win/wineprefix" wineserver -k 2>/dev/null || true
  fi
)

# With TALVO_WIN_QT_BUILD_UNTIL=<time, seconds since 1970> a missing
# mingw-w64 Qt is built here if it finishes by then (CI's time budget); a
# build cut short resumes on the next run.
if ! why="$("$root/scripts/windows-qt.sh" --check)" && [ -n "${TALVO_WIN_QT_BUILD_UNTIL:-}" ]; then
  seconds=$((TALVO_WIN_QT_BUILD_UNTIL - $(date +%s)))
  if [ $seconds -lt 60 ]; then
    why="$why, and no time was left to build it"
  else
    echo "$why: building it, for at most $((seconds / 60)) minutes"
    rc=0
    timeout --kill-after=60 $seconds "$root/scripts/windows-qt.sh" || rc=$?
    if [ $rc = 124 ] || [ $rc = 137 ]; then
      why="$why, and building it did not finish within $((seconds / 60)) minutes"
    elif [ $rc != 0 ]; then
      echo "windows-test.sh: building the mingw-w64 Qt failed (exit code $rc)" >&2
      exit $rc
    fi
  fi
fi
if ! "$root/scripts/windows-qt.sh" --check >/dev/null; then
  echo "SKIPPED Windows program tests: $why (scripts/windows-qt.sh builds it, about 22 minutes on two cores)"
  exit 0
fi
TALVO_WIN_QT_BUILD_DIR="$qtbuild" "$root/scripts/windows-build.sh" talvo_wintests
cd "$qtbuild"
xvfb-run -a -s "-screen 0 1280x800x24" ctest -L winprogram --output-on-failure --timeout 600
