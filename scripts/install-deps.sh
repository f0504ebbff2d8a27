#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Kelvorat need.
# Idempotent and quiet; fast when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
  libcurl4-openssl-dev curl openssl ca-certificates
  python3
  fonts-wqy-microhei fontconfig
  xvfb xauth x11-apps xdotool
  g++-mingw-w64-x86-64 wine wine64 fonts-wine googletest
  # Libraries wine loads at run time (only recommended by its packages): the
  # X11 driver's extensions, TLS for WinINet's HTTPS, OpenGL, Kerberos.
  libgnutls30 libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2
  libxrender1 libxxf86vm1 libgl1 libgl1-mesa-dri libvulkan1 libdbus-1-3 libcups2
  libkrb5-3 libgssapi-krb5-2
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
