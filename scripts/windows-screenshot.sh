#!/usr/bin/env bash
# Takes the README's picture of the Windows program: TalvoEditZ's main
# window under Wine on a virtual display after a TEXT fetch and write-back,
# beside the test server's window listing its drawing's texts. Needs the
# mingw-w64 Qt (scripts/windows-qt.sh). Output: docs/windows-screenshot.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
qtbuild="${TALVO_WIN_QT_BUILD_DIR:-$root/build-windows-qt}"
out="$root/docs/windows-screenshot.png"

"$root/scripts/setup.sh" wine wine64 xvfb xauth fonts-vlgothic
TALVO_WIN_QT_BUILD_DIR="$qtbuild" "$root/scripts/windows-build.sh" talvo_wintests
export WINEPREFIX="$qtbuild/tests/win/wineprefix-x" WINEDEBUG=-all
rm -f "$out"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  sh "$1" setup-x
  cd "$(dirname "$3")"
  TALVO_SCREENSHOT="$2" wine "$3" --gtest_filter=ProgramWindow.FetchEditAndWriteBackIsOneUndoStep
  rc=$?
  sh "$1" end
  exit $rc' _ "$root/tests/win/wineprefix.sh" "$out" "$qtbuild/tests/win/win_program_test.exe"
[ -s "$out" ] && echo "$out"
