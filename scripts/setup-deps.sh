#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need,
# and only those that are missing. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
  fonts-arphic-uming fonts-wqy-microhei
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  xvfb xauth
  # Checks the menu entries of the Debian package.
  desktop-file-utils
  # The fuzz targets: clang with libFuzzer and the sanitizer runtimes, and
  # llvm-symbolizer for readable stack traces.
  clang-14 libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
