#!/bin/sh
# Creates a tests' Wine prefix (setup: null display driver, setup-x: the X
# display of $DISPLAY, for the Qt program) or stops its wineserver (end).
set -e
case "$1" in
setup|setup-x)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ "$1" = setup ]; then
    # No X server: the null display driver still gives windows and DCs.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  fi
  # A crashing test ends with its exit code instead of waiting in winedbg
  # or its crash dialog on the virtual display.
  wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  ;;
end)
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  ;;
esac
