#!/usr/bin/env bash
# Remakes the README's pictures (doc/pictures/*.png) with the snapshot tool, all at 10:58:37 and
# from fixed data, so that a second run writes the same files: the clock's two dialogs, the
# binary clock in its six layouts, the colour-bar panels of the gallery, the gallery, and the hex
# editor program with a small file, two bytes typed over and a search hit. The clock styles and
# colours are the manual's pictures (tools/manual-pictures.sh). Builds the snapshot tool first
# (linux preset) unless SNAPSHOT names one.
# Usage: bash tools/readme-pictures.sh [OUTDIR]   (default doc/pictures)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=${1:-doc/pictures}
source tools/common/snapshot-shot.sh

shot settings --menu Settings --style 2 --color 1
shot about --menu About

# The binary clock at the extent each layout draws.
sizes=(128x72 62x36 34x20 452x18 224x9 124x5)
for type in 0 1 2 3 4 5; do
    shot "binary-clock-type$type" --control TBinaryClock --size "${sizes[$type]}" \
        --set Color=clBlack --set Type=$type
done
shot binary-clock --control TBinaryClock --size 128x72 --time 23:59:59 \
    --set Color=clBlack --set ModeBcd=1 --set LedColor=2 --set ModeShape=1

shot colour-bar-panel --control TVelmoraPanel --size 185x41 --set BarWidth=6
shot panel-hex --control TFormGallery --part PanelHex
shot panel-decimal --control TFormGallery --part PanelDecimal
shot gallery --control TFormGallery

shot hex-editor --control THexEditor --size 560x220 \
    --set "Font.Name='Courier New'" --set ColorCursor=clRed
# A small file of text and bytes, made here so that the picture needs nothing else.
sample=$(mktemp)
trap 'rm -f "$sample"' EXIT
{
    printf 'NXCK\001\001\000\000'
    printf "Velmora's Nixie Tube Clock, version 1.1\n"
    for ((i = 0; i < 96; ++i)); do printf "\\$(printf %03o $(((i * 37 + 11) % 256)))"; done
    printf 'Right-Click on clock face for Settings\n'
} >"$sample"
shot hex-editor-program --control TFormHexEdit --size 620x260 \
    --open "$sample" --type 4e49 --find Settings
