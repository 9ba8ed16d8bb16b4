#!/usr/bin/env bash
# Configures and builds everything into build/, and collects dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# A compiler cache, where one is installed, shares objects between checkouts.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$top"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$top/build" -G Ninja "${launcher[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVT_DIST_DIR="$top/dist" >/dev/null
cmake --build "$top/build" -j "$(nproc)"
