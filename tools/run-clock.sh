#!/usr/bin/env bash
# Builds the clock for this machine and starts it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target nixie
exec build/linux/app/nixie "$@"
