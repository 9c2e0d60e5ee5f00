#!/usr/bin/env bash
# Creates the Wine prefix (once) with the null graphics driver.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
if [[ -f "$WINEPREFIX/.kvr-ready" ]]; then exit 0; fi
echo "setup: preparing Wine prefix $WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1 || true
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
touch "$WINEPREFIX/.kvr-ready"
