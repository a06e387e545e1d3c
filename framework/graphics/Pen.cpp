#include "framework/graphics/Pen.h"

#include <cstdint>

TPixel ApplyPenMode(TPenMode Mode, TPixel Pen, TPixel Target)
{
    constexpr TPixel Mask = 0x00FFFFFFu;
    const TPixel P = Pen & Mask;
    const TPixel D = Target & Mask;
    TPixel R = D;
    switch (Mode) {
    case TPenMode::pmBlack:
        R = 0;
        break;
    case TPenMode::pmWhite:
        R = Mask;
        break;
    case TPenMode::pmNop:
        R = D;
        break;
    case TPenMode::pmNot:
        R = ~D;
        break;
    case TPenMode::pmCopy:
        R = P;
        break;
    case TPenMode::pmNotCopy:
        R = ~P;
        break;
    case TPenMode::pmMergePenNot:
        R = P | ~D;
        break;
    case TPenMode::pmMaskPenNot:
        R = P & ~D;
        break;
    case TPenMode::pmMergeNotPen:
        R = ~P | D;
        break;
    case TPenMode::pmMaskNotPen:
        R = ~P & D;
        break;
    case TPenMode::pmMerge:
        R = P | D;
        break;
    case TPenMode::pmNotMerge:
        R = ~(P | D);
        break;
    case TPenMode::pmMask:
        R = P & D;
        break;
    case TPenMode::pmNotMask:
        R = ~(P & D);
        break;
    case TPenMode::pmXor:
        R = P ^ D;
        break;
    case TPenMode::pmNotXor:
        R = ~(P ^ D);
        break;
    }
    return R & Mask;
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Pixels)
{
    if (Pixels == FWidthPixels)
        return;
    FWidthPixels = Pixels;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Value == FMode)
        return;
    FMode = Value;
    Changed();
}

void TPen::DeclareClass(TClassDeclaration<TPen>& D)
{
    D.Color("Color", &TPen::GetColor, &TPen::SetColor).Default(clBlack);
    D.Enumeration<TPenMode>("Mode", &TPen::GetMode, &TPen::SetMode,
                            {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                             "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                             "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"})
        .Default(std::int64_t(TPenMode::pmCopy));
    D.Enumeration<TPenStyle>("Style", &TPen::GetStyle, &TPen::SetStyle,
                             {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear"})
        .Default(std::int64_t(TPenStyle::psSolid));
    D.Integer("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::Assign(const TPersistent* Source)
{
    if (const auto* Pen = dynamic_cast<const TPen*>(Source))
        Assign(*Pen);
    else
        TPersistent::Assign(Source);
}

void TPen::Assign(const TPen& Source)
{
    if (&Source == this)
        return;
    FColor = Source.FColor;
    FWidthPixels = Source.FWidthPixels;
    FStyle = Source.FStyle;
    FMode = Source.FMode;
    Changed();
}

void TPen::Changed()
{
    if (FOnChange)
        FOnChange(this);
}
