#!/usr/bin/env bash
# Installs every Debian package Lumetra needs to build, test and run. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev
  libmodbus-dev
  socat xvfb xauth fonts-wqy-microhei
  dpkg-dev file help2man lintian appstream desktop-file-utils
  shared-mime-info xdg-utils libfile-mimeinfo-perl bash-completion man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
