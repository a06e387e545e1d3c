#include "framework/Brush.h"

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TBrush::Assign(const TBrush& Source)
{
    if (&Source == this)
        return;
    FColor = Source.FColor;
    FStyle = Source.FStyle;
    Changed();
}

void TBrush::Changed()
{
    if (FOnChange)
        FOnChange(this);
}
