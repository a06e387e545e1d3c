#!/usr/bin/env bash
# Remakes the pictures of the user's manual (doc/divaduva/*.png) with the snapshot tool: every
# clock style and every VFD colour at 10:58:37, plus the 12-hour display of a quarter past two in
# the afternoon. Builds the snapshot tool first (linux preset) unless SNAPSHOT names one.
# Usage: bash tools/manual-pictures.sh [OUTDIR]   (default doc/divaduva)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=${1:-doc/divaduva}
source tools/common/snapshot-shot.sh
shot nixie-large --time 10:58:37 --style 0
shot nixie-small --time 10:58:37 --style 1
for color in 0:cyan 1:red 2:blue; do
    shot "vfd-large-${color#*:}" --time 10:58:37 --style 2 --color "${color%%:*}"
    shot "vfd-small-${color#*:}" --time 10:58:37 --style 3 --color "${color%%:*}"
done
shot nixie-large-12h --time 14:15:00 --style 0 --12
