#!/usr/bin/env bash
# Runs every test under Wine, two at a time: each test executable in its own
# copy of the bench prefix and on its own virtual display, so that one test's
# windows never take the activation or the focus from another's.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exec ctest --test-dir "$top/build" --output-on-failure -j 2 "$@"
