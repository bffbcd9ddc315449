#!/usr/bin/env bash
# Installs what building, testing and running need, skipping what is there.
# With arguments, installs exactly those packages instead (other scripts'
# own needs). Debian 12; run as root (or with sudo available).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev
  fonts-vlgothic
)
if [ $# -gt 0 ]; then
  packages=("$@")
elif [ "${TALVO_SETUP_RUN:-0}" = 1 ]; then
  # A desktop-less machine still gets a virtual display for the program.
  packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
