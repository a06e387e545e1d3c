#!/usr/bin/env bash
# Builds every preset and runs every test label: unit and headless (build machine), x11 (real
# windows under Xvfb), unit and headless again under AddressSanitizer and UBSan (the sanitize
# preset: any report fails the test), each fuzz target for 30 s from its seeds (the fuzz preset:
# clang's libFuzzer under the same sanitizers; any finding fails), wine (the Windows build under Wine) and package (the .deb,
# the zips and the installers, made and checked). The 32-bit Windows build makes its programs and
# packages only: its packages are checked, its programs not run. This is what CI runs. The quick steps that tell the most come
# first: the Linux build and its unit and headless tests, then the slower ones.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash tools/install-deps.sh

jobs=$(nproc)

# The x11 and wine labels need a display: start a private Xvfb unless one is given.
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if command -v wineserver >/dev/null 2>&1; then
        WINEPREFIX="$PWD/build/wineprefix" wineserver -k 2>/dev/null || true
    fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ]; then
    for n in $(seq 91 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        break
    done
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
        sleep 0.1
    done
fi

build() {
    echo "== build: $1"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
}

build linux
echo "== test: linux (unit, headless)"
ctest --preset linux -j "$jobs" -LE x11
echo "== test: linux (x11)"
ctest --preset linux -j "$jobs" -L x11

build sanitize
echo "== test: sanitize (unit, headless)"
ctest --preset sanitize -j "$jobs" -L 'unit|headless'

build fuzz
echo "== fuzz: each target 30 s"
bash tools/run-fuzzers.sh 30

build mingw64
echo "== test: mingw64 (wine)"
ctest --preset mingw64

build mingw32
echo "== packages: mingw32"
bash tests/packages/check-packages.sh build/mingw32
