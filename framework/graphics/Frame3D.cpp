#include "framework/graphics/Frame3D.h"

#include "framework/graphics/Canvas.h"

void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    TBrush& Brush = Canvas.GetBrush();
    const TColor Saved = Brush.GetColor();
    const TBrushStyle SavedStyle = Brush.GetStyle();
    Brush.SetStyle(TBrushStyle::bsSolid);
    for (int I = 0; I < Width && !Rect.IsEmpty(); ++I) {
        const TRect R = Rect;
        Brush.SetColor(TopColor);
        Canvas.FillRect({R.Left, R.Top, R.Right - 1, R.Top + 1});
        Canvas.FillRect({R.Left, R.Top, R.Left + 1, R.Bottom - 1});
        Brush.SetColor(BottomColor);
        Canvas.FillRect({R.Right - 1, R.Top, R.Right, R.Bottom});
        Canvas.FillRect({R.Left, R.Bottom - 1, R.Right, R.Bottom});
        Rect = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
    Brush.SetColor(Saved);
    Brush.SetStyle(SavedStyle);
}
