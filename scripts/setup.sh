#!/usr/bin/env bash
# Installs on a Debian machine whatever the build and the tests need and is
# missing, makes the locales the Wine tests run under, and prepares the Wine
# prefix inside the build tree (null graphics driver: no display needed).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

PACKAGES=(cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 locales
          python3-yaml clang libclang-rt-14-dev)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes the UI language and ANSI code page from LC_ALL; the locale must
# exist in glibc or Wine silently falls back to English (US).
for l in ja_JP en_GB en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qix "$l.utf-\?8"; then
    echo "setup: generating locale $l.UTF-8"
    localedef -i "$l" -f UTF-8 "$l.UTF-8" 2>/dev/null || localedef -i "$l" -f UTF-8 "$l.UTF-8" || true
  fi
done

"$ROOT/scripts/wine-prefix.sh"
