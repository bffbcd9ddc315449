#!/usr/bin/env bash
# Makes TalvoEditZ-win64.zip: one folder TalvoEditZ/ with TalvoEditZ.exe,
# the Qt DLLs, the Windows platform (and style) plugin and the mingw-w64
# runtime DLLs, stripped; nothing else is needed on a Windows machine. Then
# checks that the zip's program starts in a fresh Wine prefix on a virtual
# display. Zip: $TALVO_WIN_ZIP, default TalvoEditZ-win64.zip in the tree.
# Debian 12, as root; builds the mingw-w64 Qt first when it is not there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TALVO_WIN_QT_BUILD_DIR:-$root/build-windows-qt}"
zip="$(realpath -m "${TALVO_WIN_ZIP:-$root/TalvoEditZ-win64.zip}")"

"$root/scripts/setup.sh" zip unzip wine wine64 xvfb xauth x11-utils fonts-vlgothic
TALVO_WIN_QT_BUILD_DIR="$build" "$root/scripts/windows-build.sh" TalvoEditZ

work="$(mktemp -d)"
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/stage/TalvoEditZ" >/dev/null
find "$work/stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
rm -f "$zip"
(cd "$work/stage" && zip -qr9 "$zip" TalvoEditZ)

# The check: only the zip's files, a new prefix, the program's window.
mkdir -p "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
wineboot -i >/dev/null 2>&1 || true
wineserver -w
started=0
if xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 120); do
    if xwininfo -root -tree | grep -q "\"TalvoEdit"; then
      kill -0 "$pid" 2>/dev/null && exit 0
    fi
    kill -0 "$pid" 2>/dev/null || exit 1
    sleep 1
  done
  exit 1' _ "$work/unpacked/TalvoEditZ/TalvoEditZ.exe"; then
  started=1
fi
wineserver -k 2>/dev/null || true

files="$(unzip -Z1 "$zip" | grep -vc '/$')"
printf '%s: %s, %s files, %s unpacked\n' "$(basename "$zip")" "$(du -h "$zip" | cut -f1)" "$files" \
  "$(du -sh "$work/unpacked/TalvoEditZ" | cut -f1)"
if [ $started = 1 ]; then
  echo "checked: the zip's TalvoEditZ.exe starts in a fresh Wine prefix"
else
  echo "windows-package.sh: the zip's TalvoEditZ.exe did not show its window in a fresh Wine prefix" >&2
  exit 1
fi
