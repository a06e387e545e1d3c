#pragma once

#include "base/Rect.h"
#include "platform/Platform.h"

#include <cstdint>
#include <vector>

// What the server shows in a window's client area, as far as the window knows: the pixels it put
// there, and where it knows nothing (a new or resized window, an exposure, a frame inverted over
// it by XOR). A window without a background keeps exactly what it was given, so a rectangle
// presented again needs only the pixels that differ from those; the clock repaints its digits
// four times a second and they change once.
class TX11ShownPixels
{
public:
    // Columns of unchanged pixels narrower than this between two changed ones are sent along:
    // one request costs more than a few pixels in it.
    static constexpr int MergeGapPixels = 16;

    TPoint GetSize() const { return FSize; }
    // A client area of Size about which nothing is known.
    void Reset(TPoint Size);
    // The server may show anything in Rect (client coordinates) now.
    void Forget(const TRect& Rect);
    // The rectangles of Rect (clipped to the area and to View) that hold pixels of View the
    // server does not show, banded top to bottom and left to right; View's pixels in Rect are
    // what it shows once they are sent. Outside Changed, View holds what it held when last
    // given here, so only pixels nobody knows are looked at there.
    std::vector<TRect> TakeChanges(const TPixelView& View, const TRect& Rect, const TRect& Changed);

private:
    // Compares columns Left to Right of row Y with what is shown, marks those that differ in
    // FColumns (which starts at ColumnsLeft) and takes them; whether any differed.
    bool TakeRow(const TPixelView& View, int Y, int Left, int Right, int ColumnsLeft,
                 bool MayHoldUnknown);
    void AddColumnRuns(int Top, int Bottom, int Left, std::vector<TRect>& Out);

    TPoint FSize;
    std::vector<TPixel> FPixels;
    // A row that may hold pixels nobody knows (marked with Unknown in FPixels).
    std::vector<std::uint8_t> FRowUnknown;
    // Columns (from the left of the rectangle at hand) changed in the rows gathered so far.
    std::vector<std::uint8_t> FColumns;
};
