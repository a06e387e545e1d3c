#pragma once

#include "base/Rect.h"
#include "framework/graphics/Canvas.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TMenuItem;

// A caption as drawn: the text without its '&' marks, and the access key with the bytes of
// Text it occupies (underlined). Only the first single '&' marks a key; "&&" is a literal '&'.
struct TMenuCaption
{
    std::string Text;
    char32_t AccessKey = 0; // 0: none; ASCII letters folded to lower case
    std::size_t AccessOffset = 0;
    std::size_t AccessLength = 0;
};

TMenuCaption ParseMenuCaption(std::string_view Caption);
// The access-key form of a typed character (ASCII letters folded to lower case).
char32_t FoldAccessKey(char32_t Character);

// One visible item of a menu window, as it was when the menu opened.
struct TMenuEntry
{
    TMenuItem* Item = nullptr; // null once the item has been destroyed
    std::string Caption;       // with its '&' marks
    std::string ShortCut;      // as text, "" for none
    bool Separator = false;
    bool Checked = false;
    bool Default = false;
    bool Enabled = true;
    bool HasSubmenu = false;
    TRect Bounds; // in the menu window's client area
    bool IsSelectable() const { return !Separator && Enabled; }
};

// The geometry and the picture of one menu window in the classic Windows look: a raised 3D
// border, items as high as the text plus 4 pixels, separators 8 pixels high with an etched line,
// a column for check marks on the left and one for submenu arrows on the right; shortcuts are
// right-aligned before the arrow column, a gap away from the longest caption.
class TMenuLayout
{
public:
    static constexpr int BorderPixels = 3;
    static constexpr int ItemPaddingPixels = 4; // item height less the text height
    static constexpr int SeparatorPixels = 8;
    static constexpr int CheckColumnPixels = 18; // left of the text
    static constexpr int ArrowColumnPixels = 18; // right of the text
    static constexpr int MinimumWidthPixels = 80;
    static constexpr int ShortCutGapPixels = 16;

    TMenuLayout() = default;
    // Takes the visible sub-items of Parent and measures them with the canvas's font face
    // (its name and height; the colour and style are set while painting).
    TMenuLayout(const TMenuItem& Parent, TCanvas& Measure);

    const std::vector<TMenuEntry>& GetEntries() const { return FEntries; }
    std::vector<TMenuEntry>& GetEntries() { return FEntries; }
    int GetCount() const { return int(FEntries.size()); }
    const TMenuEntry& GetEntry(int Index) const { return FEntries.at(std::size_t(Index)); }
    TMenuEntry& GetEntry(int Index) { return FEntries.at(std::size_t(Index)); }
    TSize GetSize() const { return FSize; }
    int GetItemHeight() const { return FItemHeight; }

    // The entry whose rectangle holds the client point, or -1 (the border, or outside).
    int HitTest(TPoint Client) const;
    // The next selectable entry after From in direction Step (+1 or -1), wrapping around;
    // From -1 starts before the first (or, going up, after the last). -1 when none is.
    int NextSelectable(int From, int Step) const;

    // Draws the whole menu at the canvas origin, the entry Highlight (or none, -1) highlighted.
    void PaintMenu(TCanvas& Canvas, int Highlight) const;

private:
    void PaintEntry(TCanvas& Canvas, const TMenuEntry& Entry, bool Highlighted) const;
    void PaintCaption(TCanvas& Canvas, const TMenuEntry& Entry, int X, int Y, TColor Color) const;

    std::vector<TMenuEntry> FEntries;
    TSize FSize;
    int FItemHeight = 0;
};
