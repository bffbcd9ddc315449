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
# Its own prefix: the registry changes below stay out of the tests.
export WINEPREFIX="$qtbuild/tests/win/wineprefix-screenshot" WINEDEBUG=-all
rm -f "$out"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  sh "$1" setup-x
  # No window manager on the virtual display: Wine draws the title bars.
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # The caption font Wine uses (Tahoma) has no Japanese: captions in VL
  # Gothic instead, as a LOGFONTW (height -12, bold, SHIFTJIS_CHARSET).
  face=$(printf "VL Gothic" | iconv -t UTF-16LE | od -An -tx1 | tr -d " \n")
  font="f4ffffff000000000000000000000000bc0200000000008000000000$face"
  while [ ${#font} -lt 184 ]; do font="${font}0"; done
  wine reg add "HKCU\\Control Panel\\Desktop\\WindowMetrics" /v CaptionFont /t REG_BINARY /d "$font" /f >/dev/null 2>&1
  cd "$(dirname "$3")"
  TALVO_SCREENSHOT="$2" wine "$3" --gtest_filter=ProgramWindow.FetchEditAndWriteBackIsOneUndoStep
  rc=$?
  sh "$1" end
  exit $rc' _ "$root/tests/win/wineprefix.sh" "$out" "$qtbuild/tests/win/win_program_test.exe"
[ -s "$out" ] && echo "$out"
