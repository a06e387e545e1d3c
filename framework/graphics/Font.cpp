#include "framework/graphics/Font.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

int MulDiv(int A, int B, int C)
{
    if (C == 0)
        return 0;
    const std::int64_t Product = std::int64_t(A) * B;
    const std::int64_t Divisor = C;
    const bool Negative = (Product < 0) != (Divisor < 0);
    const std::int64_t Num = Product < 0 ? -Product : Product;
    const std::int64_t Den = Divisor < 0 ? -Divisor : Divisor;
    const std::int64_t Quotient = (Num + Den / 2) / Den;
    return int(Negative ? -Quotient : Quotient);
}

void TFont::SetName(const std::string& Value)
{
    if (Value == FName)
        return;
    FName = Value;
    Changed();
}

void TFont::SetHeight(int Pixels)
{
    if (Pixels == FHeightPixels)
        return;
    FHeightPixels = Pixels;
    Changed();
}

int TFont::GetSize() const
{
    return -MulDiv(FHeightPixels, 72, FPixelsPerInch);
}

void TFont::SetSize(int Points)
{
    SetHeight(-MulDiv(Points, FPixelsPerInch, 72));
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(unsigned StyleBits)
{
    if (StyleBits == FStyle)
        return;
    FStyle = StyleBits;
    Changed();
}

// The published set names its elements by bit number.
static_assert(fsBold == 1 && fsItalic == 2 && fsUnderline == 4 && fsStrikeOut == 8);

void TFont::DeclareClass(TClassDeclaration<TFont>& D)
{
    D.Color("Color", &TFont::GetColor, &TFont::SetColor).Default(clWindowText);
    D.Integer("Height", &TFont::GetHeight, &TFont::SetHeight).Default(DefaultHeightPixels);
    // Always stored when it differs, so that even an empty name survives the round trip.
    D.String("Name", &TFont::GetName, &TFont::SetName)
        .AlwaysStored()
        .Stored([](const TPersistent& Font) {
            return static_cast<const TFont&>(Font).GetName() != DefaultName;
        });
    D.Integer("Size", &TFont::GetSize, &TFont::SetSize).Stored([](const TPersistent&) {
        return false;
    });
    D.Set<unsigned>("Style", &TFont::GetStyle, &TFont::SetStyle,
                    {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

void TFont::Assign(const TPersistent* Source)
{
    if (const auto* Font = dynamic_cast<const TFont*>(Source))
        Assign(*Font);
    else
        TPersistent::Assign(Source);
}

void TFont::Assign(const TFont& Source)
{
    if (&Source == this)
        return;
    FName = Source.FName;
    FHeightPixels = Source.FHeightPixels;
    FPixelsPerInch = Source.FPixelsPerInch;
    FColor = Source.FColor;
    FStyle = Source.FStyle;
    Changed();
}

void TFont::Changed()
{
    if (FOnChange)
        FOnChange(this);
}

namespace {

int CharacterHeight(TFontEngine& Engine, TFontRequest Request)
{
    const TFontMetrics M = Engine.OpenFace(Request)->GetMetrics();
    return M.Height - M.InternalLeading;
}

} // namespace

TFontRequest ResolveFontRequest(TFontEngine& Engine, const std::string& Name, int HeightPixels,
                                unsigned Style)
{
    TFontRequest Request;
    Request.Name = Name;
    Request.Style = Style;
    if (HeightPixels > 0) {
        Request.HeightPixels = HeightPixels;
        return Request;
    }
    const int Wanted = HeightPixels == 0 ? 11 : -HeightPixels;

    Request.HeightPixels = Wanted;
    const TFontMetrics Probe = Engine.OpenFace(Request)->GetMetrics();
    const int ProbeCharacter = Probe.Height - Probe.InternalLeading;
    int Cell = Wanted;
    if (ProbeCharacter > 0 && Probe.Height > 0)
        Cell = std::max(1, MulDiv(Wanted, Probe.Height, ProbeCharacter));

    // Scaling is exact only for faces that scale linearly; hinting may leave the character height
    // a pixel off, and then the neighbouring cell may fit better.
    Request.HeightPixels = Cell;
    const int Got = CharacterHeight(Engine, Request);
    if (Got != Wanted) {
        const int Other = std::max(1, Got < Wanted ? Cell + 1 : Cell - 1);
        TFontRequest Alternative = Request;
        Alternative.HeightPixels = Other;
        const int OtherGot = CharacterHeight(Engine, Alternative);
        if (std::abs(OtherGot - Wanted) < std::abs(Got - Wanted))
            Request.HeightPixels = Other;
    }
    return Request;
}
