#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need and that this machine lacks.
# Safe to run any number of times: it asks apt only for what is missing.
set -euo pipefail

PACKAGES=(
    cmake make g++ pkg-config git clang-16 libclang-rt-16-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core fonts-liberation2
    libx11-dev libxext-dev libxtst-dev libxfixes-dev
    libpixman-1-dev zlib1g-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686
    wine wine64
    xvfb xauth x11-utils x11-apps
    nsis dpkg-dev file unzip p7zip-full
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: everything is installed"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        SUDO="sudo"
    else
        echo "install-deps: these packages are missing and I am not root: ${missing[*]}" >&2
        exit 1
    fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
