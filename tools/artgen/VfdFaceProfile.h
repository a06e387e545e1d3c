#pragma once

#include "base/Rect.h"
#include "tools/artgen/Silhouette.h"

#include <span>

// The outline of a VFD face: the exhaust tip, the framed tube and its row of contact pins.
struct TVfdFaceProfile
{
    int Width;
    int Height;
    // The tip's bands from the top: rows, first and last column (inclusive).
    struct TTipBand
    {
        int Rows;
        int First;
        int Last;
    };
    std::span<const TTipBand> Tip;
    int TipTop;
    // The frame: its outer rectangle and the inset of each of its corner rows, outermost first.
    TRect Frame;
    std::span<const int> CornerInsets;
    // The pins hang below the frame: their centre columns, width and length in pixels.
    std::span<const int> PinCentres;
    int PinWidth;
    int PinRows;
};

const TVfdFaceProfile& VfdFaceProfile(bool Large);

TSilhouette VfdFaceSilhouette(const TVfdFaceProfile& Profile);

// The frame's rounded rectangle alone (the tip and pins left out).
bool VfdFrameContains(const TVfdFaceProfile& Profile, int X, int Y);
