#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
# The DXF tests make and check their drawings with ezdxf.
"$root/scripts/setup.sh" python3-ezdxf
"$root/scripts/build.sh" -DTALVO_BUILD_TESTS=ON "$@"
build="${TALVO_BUILD_DIR:-$root/build}"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
