#pragma once

#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/Region.h"
#include "tests/support/FaceArt.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A face's outline as the shaped window computes it: the pixels that differ from the bottom-left
// one.
TRegion OutlineOf(const TBitmap& Face);

// What the running clock must show, taken from the program's own embedded resources and its main
// window's form description: the face picture and the outline computed from it, the digit cells,
// where the digit display and its six slots lie, and the context menu's captions.
struct TClockFace
{
    TBitmap Face;
    TRegion Outline;             // the face's pixels that differ from its bottom-left pixel
    TImageList Digits;           // the cells of the digit display's image list
    TRect Display;               // the digit display, in client coordinates
    std::array<TPoint, 6> Slots; // top-left corner of each digit cell, in client coordinates
    struct TMenuItemText
    {
        std::string Name;
        std::string Caption;
    };
    std::vector<TMenuItemText> MenuItems; // the context menu's items, in menu order

    // Read once; a description that lacks something is a test failure at the first use.
    static const TClockFace& Get();
};

// The context menu as the clock's menu window lays it out, measured here with the same framework:
// the whole menu and the row of the item named ItemName, in the menu window's coordinates. None
// when the menu holds no such item.
struct TMenuGeometry
{
    TRect Menu;
    TRect Row;
};
std::optional<TMenuGeometry> MeasureMenu(const TClockFace& Face, const std::string& ItemName);

// A time of day as six digits: HH MM SS.
using TClockDigits = std::array<int, 6>;

// Reads the six digit cells of a capture of the clock's client area: each cell must equal
// exactly one of the image list's cells (in red, green and blue), over the pixels the outline
// shows. None when any cell
// matches no image (or several).
std::optional<TClockDigits> ReadDigits(const TClockFace& Face, const TBitmap& Client);

// Seconds since midnight of six digits that form a valid 24-hour time; none otherwise.
std::optional<int> SecondsOfDay(const TClockDigits& Digits);
