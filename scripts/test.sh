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
# The prefix's background services start here, detached from ctest's output
# pipes: a service holding a test's pipe open would make ctest wait forever.
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

status=0
ctest --preset native -j2 || status=1
ctest --preset windows || status=1
exit $status
