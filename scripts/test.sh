#!/usr/bin/env bash
# Every test: installs what is missing, builds both presets, runs the native
# tests and then the Windows programs under Wine.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

export WINEPREFIX=$ROOT/build/wineprefix WINEDEBUG=-all
# Keep one Wine server warm for all Windows tests, and stop it at the end.
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

status=0
ctest --preset native -j2 || status=1
ctest --preset windows || status=1
exit $status
