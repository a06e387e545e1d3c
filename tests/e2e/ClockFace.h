#pragma once

#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Region.h"
#include "tests/support/FaceArt.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A face's outline as the shaped window computes it: the pixels that differ from the bottom-left
// one.
TRegion OutlineOf(const TBitmap& Face);

// What the running clock must show in one style (0 Nixie Large, 1 Nixie Small, 2 Vfd Large,
// 3 Vfd Small) and VFD colour (0 cyan, 1 red, 2 blue, any other the nixie digits), taken from
// the program's own embedded resources and its main window's form description: the window's
// size, the face picture and the outline computed from it, the digit cells as the display draws
// them, where the digit display and its six slots lie, and the context menu's captions.
struct TClockFace
{
    TPoint Window;               // the main window's client size
    TBitmap Face;                // the style's face picture, at the client area's top-left corner
    TRegion Outline;             // the face's pixels that differ from its bottom-left pixel
    std::string DigitList;       // the name of the digits' image list in the description
    TPoint DigitSize;            // of a digit cell on the screen
    std::vector<TBitmap> Cells;  // the list's images at that size
    TRect Display;               // the digit display's cells, in client coordinates
    std::array<TPoint, 6> Slots; // top-left corner of each digit cell, in client coordinates
    struct TMenuItemText
    {
        std::string Name;
        std::string Caption;
    };
    std::vector<TMenuItemText> MenuItems; // the context menu's items, in menu order

    // Read once per style and colour; a description that lacks something is a test failure at
    // the first use.
    static const TClockFace& Get(int Style = 0, int Color = 0);
};

// The images of the description's digit image list ListName as a display draws them in cells of
// Size: stretched column by column and row by row (the pixel at column i of the cell takes
// image column i * ImageWidth / Width, rows alike), or at their own size when Size is 0 x 0.
std::vector<TBitmap> DigitCells(const std::string& ListName, TPoint Size);

// The context menu as the clock's menu window lays it out, measured here with the same framework:
// the whole menu and the row of the item named ItemName, in the menu window's coordinates. None
// when the menu holds no such item.
struct TMenuGeometry
{
    TRect Menu;
    TRect Row;
};
std::optional<TMenuGeometry> MeasureMenu(const TClockFace& Face, const std::string& ItemName);

// One of the program's dialogs as its form description (FormClass, such as TFormNixieConfig)
// lays it out, in the dialog's client coordinates: the client area, and a control's bounds by
// its Name or, with an Item caption, that item's cell of a radio group as the framework's radio
// group places it. A description that lacks them throws.
class TDialogLayout
{
public:
    static const TDialogLayout& Get(const std::string& FormClass);

    TPoint GetClientSize() const { return FClientSize; }
    TRect Bounds(const std::string& Name, const std::string& Item = "") const;

private:
    std::string FFormClass;
    TPoint FClientSize;
};

// A time of day as six digits: HH MM SS.
using TClockDigits = std::array<int, 6>;

// Reads the six digit cells of a capture of the clock's client area: each cell must equal
// exactly one of the images Cells (the face's own unless given; in red, green and blue), over
// the pixels the outline shows. None when any cell matches no image (or several).
std::optional<TClockDigits> ReadDigits(const TClockFace& Face, const TBitmap& Client);
std::optional<TClockDigits> ReadDigits(const TClockFace& Face, const std::vector<TBitmap>& Cells,
                                       const TBitmap& Client);

// Seconds since midnight of six digits that form a valid 24-hour time; none otherwise.
std::optional<int> SecondsOfDay(const TClockDigits& Digits);
