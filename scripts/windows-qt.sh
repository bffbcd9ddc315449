#!/usr/bin/env bash
# Builds Qt's base module (Core, Gui, Widgets, the Windows platform plugin)
# for x86_64-w64-mingw32 from Debian's own qt6-base source package, of the
# same version as the host Qt whose tools serve as host tools. Once per
# machine: the install is reused while its stamp (version + configure line)
# matches. Prints the install prefix as its last line.
#   --check  only tells: exit 0 and the prefix when the install is there
#            and current, else exit 1 and why (builds nothing)
#
#   TALVO_QT_MINGW_ROOT   install root   (default /opt/talvo)
#   TALVO_QT_MINGW_WORK   source + build (default /var/cache/talvo)
#   TALVO_QT_JOBS         build jobs     (default: number of cores)
#   TALVO_QT_KEEP_BUILD=1 keeps the ~1 GB build folder after install
# Debian 12; run as root (or with sudo available).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
check=0
if [ "${1:-}" = --check ]; then check=1; fi

if [ $check = 0 ]; then
  "$root/scripts/setup.sh" qt6-base-dev qt6-base-dev-tools dpkg-dev perl cmake ninja-build \
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
fi
if ! host_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null)"; then
  echo "no host Qt (qt6-base-dev) installed"
  exit 1
fi
upstream="${host_version%%+*}"
upstream="${upstream#*:}"
upstream="${upstream%%-*}"
install_root="${TALVO_QT_MINGW_ROOT:-/opt/talvo}"
prefix="$install_root/qt6-mingw64-$upstream"
work="${TALVO_QT_MINGW_WORK:-/var/cache/talvo}"
src_root="$work/qt6-mingw-src"
build="$work/qt6-mingw-build-$upstream"
jobs="${TALVO_QT_JOBS:-$(nproc)}"
stamp="$prefix/talvo-qt.stamp"
# Qt's install records the toolchain path, so the file lives beside the install.
toolchain="$install_root/mingw-w64-x86_64-qt.cmake"

toolchain_text='# Toolchain of the mingw-w64 Qt build (recorded by its install).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)'

configure_args=(
  -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr
  -release -shared -nomake tests -nomake examples
  -no-opengl -no-dbus -no-icu
  -qt-zlib -qt-pcre -qt-harfbuzz -qt-freetype -qt-libpng -no-libjpeg
  -no-feature-tabletevent
  -no-feature-network -no-feature-sql -no-feature-testlib -no-feature-concurrent
  -no-feature-xml -no-feature-printsupport
)
cmake_args=(
  -G Ninja
  "-DCMAKE_TOOLCHAIN_FILE=$toolchain"
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
stamp_text="qt6-base $host_version
configure ${configure_args[*]} -- ${cmake_args[*]}
toolchain $(printf '%s' "$toolchain_text" | sha256sum | cut -d' ' -f1)"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ] && [ -f "$prefix/bin/Qt6Widgets.dll" ]; then
  if [ $check = 0 ]; then echo "mingw-w64 Qt $upstream: reusing $prefix ($(du -sh "$prefix" | cut -f1))"; fi
  echo "$prefix"
  exit 0
fi
if [ $check = 1 ]; then
  if [ -f "$stamp" ]; then
    echo "the mingw-w64 Qt in $prefix was built with another configuration"
  else
    echo "no mingw-w64 Qt in $prefix"
  fi
  exit 1
fi

started=$SECONDS
echo "mingw-w64 Qt $upstream: building into $prefix (work folder $work, $jobs jobs)"
$SUDO mkdir -p "$install_root" "$work"

# apt-get source needs deb-src entries; Debian 12 keeps them in deb822 files.
if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | $SUDO tee /etc/apt/sources.list.d/talvo-deb-src.sources >/dev/null
  else
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      | $SUDO tee /etc/apt/sources.list.d/talvo-deb-src.list >/dev/null
  fi
  $SUDO apt-get update -qq
fi

src="$src_root/qt6-base-$upstream"
if [ ! -f "$src_root/.fetched-$host_version" ]; then
  $SUDO rm -rf "$src_root"
  $SUDO mkdir -p "$src_root"
  (cd "$src_root" && $SUDO apt-get source -qq "qt6-base=$host_version")
  src="$(find "$src_root" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base*' | head -n1)"
  $SUDO touch "$src_root/.fetched-$host_version"
fi
src="$(find "$src_root" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base*' | head -n1)"
[ -f "$src/configure" ] || { echo "windows-qt.sh: no Qt source in $src_root" >&2; exit 1; }

printf '%s\n' "$toolchain_text" | $SUDO tee "$toolchain" >/dev/null

# A build cut short resumes while its configure line is the same.
if [ ! -f "$build/.talvo-configure" ] || [ "$(cat "$build/.talvo-configure")" != "$stamp_text" ]; then
  $SUDO rm -rf "$build"
  $SUDO mkdir -p "$build"
  (cd "$build" && $SUDO "$src/configure" "${configure_args[@]}" -- "${cmake_args[@]}")
  printf '%s' "$stamp_text" | $SUDO tee "$build/.talvo-configure" >/dev/null
fi
$SUDO cmake --build "$build" --parallel "$jobs"
$SUDO rm -rf "$prefix"
$SUDO cmake --install "$build"
printf '%s' "$stamp_text" | $SUDO tee "$stamp" >/dev/null
if [ "${TALVO_QT_KEEP_BUILD:-0}" != 1 ]; then $SUDO rm -rf "$build"; fi

elapsed=$((SECONDS - started))
printf 'mingw-w64 Qt %s: built in %dm%02ds, install %s\n' "$upstream" $((elapsed / 60)) $((elapsed % 60)) \
  "$(du -sh "$prefix" | cut -f1)"
echo "$prefix"
