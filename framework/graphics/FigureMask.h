#pragma once

#include "base/Rect.h"

#include <cstdint>
#include <vector>

// What a figure does to one pixel. A stronger part wins where two meet, so that a figure (an
// outline over its interior, a polyline crossing itself) changes every pixel once.
enum class TFigurePart : std::uint8_t
{
    None,
    Brush,  // the interior
    PenGap, // a gap of a styled line
    Pen
};

// The parts of a figure over a box; marks outside the box are dropped, so a box limited to the
// visible area keeps the mask small whatever the figure's size.
class TFigureMask
{
public:
    explicit TFigureMask(const TRect& Box);

    const TRect& GetBox() const { return FBox; }
    void Mark(int X, int Y, TFigurePart Part)
    {
        if (!FBox.Contains({X, Y}))
            return;
        TFigurePart& Cell = FParts[Index(X, Y)];
        if (Cell < Part)
            Cell = Part;
    }
    // Marks the pixels [X0, X1) of row Y.
    void MarkSpan(int Y, int X0, int X1, TFigurePart Part);
    // Marks the pixels of Rect.
    void MarkRect(const TRect& Rect, TFigurePart Part);
    TFigurePart Get(int X, int Y) const
    {
        return FBox.Contains({X, Y}) ? FParts[Index(X, Y)] : TFigurePart::None;
    }

    // The parts of row Y from the box's left edge; Y must lie within the box.
    const TFigurePart* GetRow(int Y) const
    {
        return FParts.data() + std::size_t(Y - FBox.Top) * std::size_t(FBox.Width());
    }

private:
    std::size_t Index(int X, int Y) const
    {
        return std::size_t(Y - FBox.Top) * std::size_t(FBox.Width()) + std::size_t(X - FBox.Left);
    }

    TRect FBox;
    std::vector<TFigurePart> FParts;
};
