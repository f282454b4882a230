#!/bin/bash
# Cross-builds regioncap-bench.exe with MinGW-w64 and runs it under Wine on a
# private X server and Wine prefix; prints the benchmark's JSON on stdout.
#
#   bench/run_wine_bench.sh <source dir>
#
# REGIONCAP_WIN_BENCH_DIR chooses the build directory (default
# /tmp/regioncap-build-win-bench). The charts land in the current directory.
set -eu

SRC=$(cd "${1:?usage: run_wine_bench.sh <source dir>}" && pwd)
BUILD=${REGIONCAP_WIN_BENCH_DIR:-/tmp/regioncap-build-win-bench}

cmake -S "$SRC" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$SRC/cmake/mingw-w64.cmake" \
  -DREGIONCAP_TESTS=OFF >"$BUILD.configure.log" 2>&1
cmake --build "$BUILD" -j2 --target regioncap-bench >&2

WORK=$(mktemp -d /tmp/regioncap-wine-bench.XXXXXX)
export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
XVFB_PID=""
cleanup() {
  timeout 20 wineserver -k >/dev/null 2>&1 || true
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# GDI text needs no window, but Wine's display driver wants an X server.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$WORK/display")"
wineserver -f -p >/dev/null 2>&1 &
timeout 180 wineboot -i >/dev/null 2>&1

# The program's text-mode output ends its lines with carriage returns.
timeout 1800 wine "$BUILD/bench/regioncap-bench.exe" | tr -d '\r'
