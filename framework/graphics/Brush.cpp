#include "framework/graphics/Brush.h"

#include <cstdint>

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

void TBrush::DeclareClass(TClassDeclaration<TBrush>& D)
{
    D.Color("Color", &TBrush::GetColor, &TBrush::SetColor).Default(clWhite);
    D.Enumeration<TBrushStyle>("Style", &TBrush::GetStyle, &TBrush::SetStyle,
                               {"bsSolid", "bsClear"})
        .Default(std::int64_t(TBrushStyle::bsSolid));
}

void TBrush::Assign(const TPersistent* Source)
{
    if (const auto* Brush = dynamic_cast<const TBrush*>(Source))
        Assign(*Brush);
    else
        TPersistent::Assign(Source);
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
