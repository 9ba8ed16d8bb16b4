#!/usr/bin/env bash
# Installs every Debian package the build, the Wine bench and the tests need.
set -euo pipefail
packages=(
  cmake ninja-build make
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  googletest
  nsis fp-utils
  ccache
  famfamfam-silk imagemagick icoutils fonts-dejavu-core fonts-wine
  wine wine64
  xvfb xauth x11-utils xdotool
  util-linux coreutils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
