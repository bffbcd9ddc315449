#!/usr/bin/env bash
# Sets up, builds and starts TalvoEditZ. Without a CAD it drives the
# built-in drawing host, which opens with the sample drawing, or with the
# DXF file given: ./scripts/run.sh drawing.dxf
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
TALVO_SETUP_RUN=1 "$root/scripts/setup.sh"
"$root/scripts/build.sh" -DTALVO_BUILD_TESTS=OFF -DTALVO_BUILD_BENCH=OFF
build="${TALVO_BUILD_DIR:-$root/build}"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  # Root shells without a login session have none; Qt wants a private one.
  export XDG_RUNTIME_DIR="$build/xdg-runtime"
  mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build/TalvoEditZ" "$@"
fi
exec "$build/TalvoEditZ" "$@"
