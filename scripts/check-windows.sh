#!/usr/bin/env bash
# check-windows.sh [BUILD_DIR]: the Windows check. Cross-compiles for 64-bit
# Windows with MinGW-w64 what needs no Qt (the recoding library, the schemes
# with the command-line conversion, the settings store on the registry, the
# shell integration) and their tests, then runs the tests through CTest under
# Wine in a throwaway prefix. Exits 0 only when everything built and passed.
# Installs the packages of scripts/windows-packages.txt that are missing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$root/build-windows}"

"$root/scripts/ensure-packages.sh" "$root/scripts/windows-packages.txt"

cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DLIRVANE_QT=OFF -DLIRVANE_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Release \
  -DLIRVANE_WERROR="${LIRVANE_WERROR:-OFF}" >/dev/null
cmake --build "$build_dir" -j2

# Debian's wine64 package has the loader and server under /usr/lib/wine; the
# "wine" launcher comes only with the wine package.
first_of() {
  local candidate
  for candidate in "$@"; do
    if command -v "$candidate" >/dev/null 2>&1; then command -v "$candidate"; return; fi
  done
  echo "check-windows.sh: none of $* found" >&2
  exit 1
}
wine="$(first_of wine64 /usr/lib/wine/wine64 wine)"
wineserver="$(first_of wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver)"

WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/lirvane-wine.XXXXXX")"
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko install offer while the prefix is made, and no windows.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# The server and Wine's own services are started once, away from CTest's
# pipes: a service started by a test would inherit the pipe and keep CTest
# waiting for it to close.
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot -i </dev/null >/dev/null 2>&1

cd "$build_dir"
ctest -j2 --output-on-failure --timeout 300
