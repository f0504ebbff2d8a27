#!/usr/bin/env bash
# Installs the Debian packages Kelvorat needs, in named sets:
#
#   scripts/install-deps.sh [run] [windows] [test] [package]
#
# run      building and running the program on Linux (scripts/run.sh)
# windows  the MinGW-w64 cross build and wine (the Windows build and its tests)
# test     the other tools of scripts/test.sh: test servers, clang for fuzzing
# package  building and checking the .deb and the Windows installer
# With no set named, it installs every set. Idempotent and quiet; fast when
# everything is already present.
set -euo pipefail

declare -A sets
sets[run]="
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
  libcurl4-openssl-dev ca-certificates
  python3
  fonts-wqy-microhei fontconfig
  xvfb xauth xdotool
"
sets[windows]="
  g++-mingw-w64-x86-64 wine wine64 fonts-wine googletest
  # Libraries wine loads at run time (only recommended by its packages): the
  # X11 driver's extensions, TLS for WinINet's HTTPS, OpenGL, Kerberos.
  libgnutls30 libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2
  libxrender1 libxxf86vm1 libgl1 libgl1-mesa-dri libvulkan1 libdbus-1-3 libcups2
  libkrb5-3 libgssapi-krb5-2
"
sets[test]="
  curl openssl x11-apps
  qrencode
  clang libclang-rt-14-dev llvm
"
sets[package]="
  dpkg-dev nsis lintian desktop-file-utils appstream man-db python3-pil
"

chosen=("$@")
((${#chosen[@]})) || chosen=(run windows test package)
packages=()
for set in "${chosen[@]}"; do
  [ -n "${sets[$set]+x}" ] || { echo "install-deps: no package set named '$set'" >&2; exit 2; }
  packages+=($(sed 's/#.*//' <<<"${sets[$set]}"))
done

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
