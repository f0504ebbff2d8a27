#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Kelvorat need.
# Idempotent and quiet; fast when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev curl openssl ca-certificates
  python3
  fonts-wqy-microhei fontconfig
  xvfb xauth x11-apps xdotool
  g++-mingw-w64-x86-64 wine wine64 fonts-wine googletest
  qrencode
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
