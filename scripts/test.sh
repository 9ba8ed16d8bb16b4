#!/usr/bin/env bash
# Runs every test under Wine: each test executable in its own copy of the
# bench prefix, two at a time, on one virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exec "$top/scripts/winebench.sh" --display-only -- ctest --test-dir "$top/build" --output-on-failure -j 2 "$@"
