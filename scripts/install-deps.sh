#!/usr/bin/env bash
# Installs every Debian package the project builds, tests, benchmarks and
# fuzzes with. Safe to run again: when everything is present it does nothing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  zlib1g-dev libgcrypt20-dev libarchive-dev libgtest-dev libgmock-dev libbenchmark-dev
  zip unzip 7zip cksfv time libxml2-utils groff-base
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev libsdl2-dev fonts-liberation xvfb xauth
  stella xdotool x11-utils
  python3
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev libgcrypt-mingw-w64-dev googletest wine wine64
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
