#include "framework/graphics/FigureMask.h"

#include <algorithm>

TFigureMask::TFigureMask(const TRect& Box) : FBox(Box.IsEmpty() ? TRect{} : Box)
{
    FParts.assign(std::size_t(FBox.Width()) * std::size_t(FBox.Height()), TFigurePart::None);
}

void TFigureMask::MarkSpan(int Y, int X0, int X1, TFigurePart Part)
{
    if (Y < FBox.Top || Y >= FBox.Bottom)
        return;
    X0 = std::max(X0, FBox.Left);
    X1 = std::min(X1, FBox.Right);
    for (int X = X0; X < X1; ++X) {
        TFigurePart& Cell = FParts[Index(X, Y)];
        if (Cell < Part)
            Cell = Part;
    }
}

void TFigureMask::MarkRect(const TRect& Rect, TFigurePart Part)
{
    const TRect R = Rect.Intersect(FBox);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        MarkSpan(Y, R.Left, R.Right, Part);
}
