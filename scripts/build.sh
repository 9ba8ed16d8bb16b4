#!/usr/bin/env bash
# Configures and builds everything into build/, and collects dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVT_DIST_DIR="$top/dist" >/dev/null
cmake --build "$top/build" -j "$(nproc)"
