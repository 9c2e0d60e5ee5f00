#!/usr/bin/env bash
# Every test: installs what is missing, builds the presets, runs the native
# tests (plainly and under the sanitizers), the fuzz targets for a bounded
# time, and then the Windows programs under Wine.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows
# The native tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets (both clang).
cmake --preset asan >/dev/null
cmake --build --preset asan
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

export WINEPREFIX=$ROOT/build/wineprefix WINEDEBUG=-all
# Keep one Wine server warm for all Windows tests, and stop it at the end.
# The prefix's background services start here, detached from ctest's output
# pipes: a service holding a test's pipe open would make ctest wait forever.
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

status=0
ctest --preset native -j2 || status=1
ctest --preset asan -j2 || status=1
# Each fuzz target for a bounded time; any crash, leak or sanitizer report fails.
ctest --preset fuzz || status=1
ctest --preset windows || status=1
exit $status
