#!/usr/bin/env bash
# The demo: the sample patch (samples/demo/patch.txt, built with kvrPack) is
# applied by the real kvrPatch.exe under Wine to a sample installed product,
# with the product running; then the same patch is run again and refused.
#
#   scripts/demo.sh                 silent run (/Silent): the exit code is the report
#   scripts/demo.sh --interactive   the tool's boxes shown, and pressed by a robot
#   scripts/demo.sh --japanese      (with either) a Japanese user: Japanese boxes
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

INTERACTIVE=0
LOCALE=en_US.UTF-8
for arg in "$@"; do
  case "$arg" in
    --interactive) INTERACTIVE=1 ;;
    --japanese) LOCALE=ja_JP.UTF-8 ;;
    *) echo "usage: scripts/demo.sh [--interactive] [--japanese]" >&2; exit 2 ;;
  esac
done

# Build folders can be moved elsewhere (for example to keep them apart from
# the test builds).
NATIVE_BUILD=${KVR_DEMO_NATIVE_BUILD:-$ROOT/build/native}
WINDOWS_BUILD=${KVR_DEMO_WINDOWS_BUILD:-$ROOT/build/windows}
DEMO=$ROOT/build/demo
export WINEPREFIX=${KVR_DEMO_WINEPREFIX:-$ROOT/build/wineprefix-demo}
export WINEDEBUG=-all LC_ALL=$LOCALE LANG=$LOCALE
WINE=/usr/lib/wine/wine64

step() { printf '\n== %s\n' "$*"; }

step "Setting up (packages, locales, builds, a Wine prefix of the demo's own)"
scripts/setup.sh
cmake --preset native -B "$NATIVE_BUILD" >/dev/null
cmake --build "$NATIVE_BUILD" --target kvrPack >/dev/null
cmake --preset windows -B "$WINDOWS_BUILD" >/dev/null
cmake --build "$WINDOWS_BUILD" --target kvrPatch product_standin box_presser >/dev/null
scripts/wine-prefix.sh
/usr/lib/wine/wineserver -p  # keep one server warm for the whole demo
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

PACK=$NATIVE_BUILD/bin/kvrPack
WINDIR=$WINEPREFIX/drive_c/windows
INSTALL_DIR=$WINEPREFIX/drive_c/KvrDemo
PATCH=$DEMO/patch
KEY='HKLM\SOFTWARE\KvrDemo'
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

step "Building the sample patch: kvrPack build samples/demo/patch.txt"
mkdir -p "$DEMO"
"$PACK" build --force --tool "$WINDOWS_BUILD/bin/kvrPatch.exe" samples/demo/patch.txt "$PATCH"
"$PACK" check "$PATCH"

step "Installing the sample product (KOVRASTUDIO 10.0, patch level 2) into the prefix"
rm -f "$WINDIR/Kovra.ini"
while IFS='=' read -r key value; do
  [[ -z "$key" || "$key" == \;* ]] && continue
  "$PACK" set "$WINDIR/Kovra.ini" LICENSE "$key" "$value"
done <samples/demo/product/Kovra.ini.txt
rm -rf "$INSTALL_DIR"
cp -r samples/demo/product/files "$INSTALL_DIR"
"$WINE" reg add "$KEY" /v AppPath /d 'C:\KvrDemo\bin\app.exe' /f >/dev/null

show_state() {
  local level sums value note
  level=$("$PACK" level --windows-dir "$WINDIR" | awk '/^patch level/ {print $3}')
  echo "  installed patch level (kvrPack level): $level"
  for f in doc/readme.txt bin/engine.dll; do
    sums=$(sha256sum "$INSTALL_DIR/$f" | cut -c1-16)
    note="the installed product's"
    cmp -s "$INSTALL_DIR/$f" "samples/demo/files/${f##*/}" && note="the patch's"
    printf '  %-16s sha256 %s...  (%s)\n' "$f" "$sums" "$note"
  done
  value=$("$WINE" reg query "$KEY" /v AppPath 2>/dev/null | tr -d '\r' |
    awk '/AppPath/ {sub(/^.*REG_SZ[ \t]+/, ""); print}')
  echo "  registry $KEY\\AppPath = $value"
}

meaning() {
  case "$1" in
    0) echo "success" ;;
    1) echo "the installed product has another version" ;;
    2) echo "a file could not be written" ;;
    3) echo "the product is still running" ;;
    4) echo "the product is not installed" ;;
    5) echo "a settings file or value is missing or unusable" ;;
    6) echo "a registry value could not be quoted" ;;
    9) echo "another copy of kvrPatch is running" ;;
    10) echo "the patch is for another edition of the product" ;;
    12) echo "the patch (or a later one) is already applied" ;;
    13) echo "the command line is invalid" ;;
    *) echo "unexpected error" ;;
  esac
}

# One run of the tool: silent, or interactive with the robot pressing OK.
run_tool() {
  local code=0
  if ((INTERACTIVE)); then
    echo "  kvrPatch.exe (interactive; the robot presses OK on every box)"
    "$WINE" "$WINDOWS_BUILD/bin/box_presser.exe" "$(windows_path "$PATCH/kvrPatch.exe")" || code=$?
  else
    echo "  kvrPatch.exe /Silent"
    "$WINE" "$PATCH/kvrPatch.exe" /Silent || code=$?
  fi
  echo "  exit code $code: $(meaning "$code")"
}

step "Before"
show_state

step "Starting the product stand-in (a window of class KOVRA that quits when asked)"
READY=$DEMO/standin.ready
rm -f "$READY"
"$WINE" "$WINDOWS_BUILD/bin/product_standin.exe" class quit 60 "$(windows_path "$READY")" &
STANDIN=$!
# Wait until its window exists (the stand-in says so with a file), 30 s at most.
for _ in $(seq 300); do [[ -e "$READY" ]] && break; sleep 0.1; done
[[ -e "$READY" ]] || { echo "the product stand-in did not start" >&2; exit 1; }

step "Applying the patch"
run_tool
if kill -0 "$STANDIN" 2>/dev/null; then
  echo "  the product stand-in is still running"
  kill "$STANDIN" 2>/dev/null || true
else
  echo "  the product stand-in quit when asked"
fi

step "After"
show_state

step "Applying the same patch again"
run_tool
