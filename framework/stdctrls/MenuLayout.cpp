#include "framework/stdctrls/MenuLayout.h"

#include "framework/stdctrls/MenuItem.h"

#include <algorithm>
#include <utility>

namespace {

// The code point of the well-formed UTF-8 sequence at the start of Bytes and its length in
// bytes; length 0 when the sequence is malformed or cut short.
std::pair<char32_t, std::size_t> DecodeFirst(std::string_view Bytes)
{
    const auto B = [&](std::size_t I) { return char32_t(static_cast<unsigned char>(Bytes[I])); };
    if (Bytes.empty())
        return {0, 0};
    const char32_t Lead = B(0);
    std::size_t N = 0;
    char32_t C = 0;
    if (Lead < 0x80)
        return {Lead, 1};
    if ((Lead >> 5) == 0x6) {
        N = 2;
        C = Lead & 0x1F;
    } else if ((Lead >> 4) == 0xE) {
        N = 3;
        C = Lead & 0x0F;
    } else if ((Lead >> 3) == 0x1E) {
        N = 4;
        C = Lead & 0x07;
    } else {
        return {0, 0};
    }
    if (Bytes.size() < N)
        return {0, 0};
    for (std::size_t I = 1; I < N; ++I) {
        if ((B(I) & 0xC0) != 0x80)
            return {0, 0};
        C = (C << 6) | (B(I) & 0x3F);
    }
    static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (C < Smallest[N] || C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF))
        return {0, 0};
    return {C, N};
}

void FillColor(TCanvas& Canvas, const TRect& Rect, TColor Color)
{
    Canvas.GetBrush().SetStyle(TBrushStyle::bsSolid);
    Canvas.GetBrush().SetColor(Color);
    Canvas.FillRect(Rect);
}

// Pictures of the check mark and the submenu arrow, one string a row.
constexpr const char* CheckMark[] = {"......#", ".....##", "#...###", "##.###.",
                                     "#####..", ".###...", "..#...."};
constexpr const char* SubmenuArrow[] = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};
constexpr int GlyphRows = 7;

template <std::size_t N>
void PaintGlyph(TCanvas& Canvas, const char* const (&Rows)[N], int X, int Y, TColor Color)
{
    for (std::size_t R = 0; R < N; ++R)
        for (int C = 0; Rows[R][C]; ++C)
            if (Rows[R][C] == '#')
                Canvas.SetPixel(X + C, Y + int(R), Color);
}

} // namespace

char32_t FoldAccessKey(char32_t Character)
{
    return Character >= 'A' && Character <= 'Z' ? Character - 'A' + 'a' : Character;
}

TMenuCaption ParseMenuCaption(std::string_view Caption)
{
    TMenuCaption Result;
    Result.Text.reserve(Caption.size());
    for (std::size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] != '&') {
            Result.Text += Caption[I];
            continue;
        }
        if (I + 1 >= Caption.size())
            break; // a lone '&' at the end marks nothing
        if (Caption[I + 1] == '&') {
            Result.Text += '&';
            ++I;
            continue;
        }
        if (Result.AccessKey)
            continue; // only the first mark counts; later ones are dropped
        // A mark before a malformed sequence marks nothing; the bytes stay in the text.
        const auto [Key, Length] = DecodeFirst(Caption.substr(I + 1));
        if (Length == 0)
            continue;
        Result.AccessKey = FoldAccessKey(Key);
        Result.AccessOffset = Result.Text.size();
        Result.AccessLength = Length;
    }
    return Result;
}

TMenuLayout::TMenuLayout(const TMenuItem& Parent, TCanvas& Measure)
{
    TFont& Font = Measure.GetFont();
    const unsigned Style = Font.GetStyle();
    Font.SetStyle(0);
    FItemHeight = Measure.TextHeight("") + ItemPaddingPixels;
    int TextWidth = 0;
    int ShortCutWidth = 0;
    for (int I = 0; I < Parent.GetCount(); ++I) {
        TMenuItem* Item = Parent.GetItem(I);
        if (!Item->GetVisible())
            continue;
        TMenuEntry E;
        E.Item = Item;
        E.Caption = Item->GetCaption();
        E.Separator = Item->IsLine();
        E.Checked = Item->GetChecked();
        E.Default = Item->GetDefault();
        E.Enabled = Item->GetEnabled();
        E.HasSubmenu = Item->GetCount() > 0;
        E.ShortCut = E.HasSubmenu ? std::string() : ShortCutToText(Item->GetShortCut());
        if (!E.Separator) {
            Font.SetStyle(0);
            ShortCutWidth = std::max(ShortCutWidth, Measure.TextWidth(E.ShortCut));
            Font.SetStyle(E.Default ? unsigned(fsBold) : 0u);
            TextWidth = std::max(TextWidth, Measure.TextWidth(ParseMenuCaption(E.Caption).Text));
        }
        FEntries.push_back(std::move(E));
    }
    Font.SetStyle(Style);

    if (ShortCutWidth > 0)
        TextWidth += ShortCutGapPixels + ShortCutWidth;
    FSize.Width = std::max(MinimumWidthPixels,
                           2 * BorderPixels + CheckColumnPixels + TextWidth + ArrowColumnPixels);
    int Y = BorderPixels;
    for (TMenuEntry& E : FEntries) {
        const int Height = E.Separator ? SeparatorPixels : FItemHeight;
        E.Bounds = {BorderPixels, Y, FSize.Width - BorderPixels, Y + Height};
        Y += Height;
    }
    FSize.Height = Y + BorderPixels;
}

int TMenuLayout::HitTest(TPoint Client) const
{
    for (std::size_t I = 0; I < FEntries.size(); ++I)
        if (FEntries[I].Bounds.Contains(Client))
            return int(I);
    return -1;
}

int TMenuLayout::NextSelectable(int From, int Step) const
{
    const int N = GetCount();
    if (N == 0)
        return -1;
    int I = From < 0 ? (Step > 0 ? -1 : N) : From;
    for (int Tries = 0; Tries < N; ++Tries) {
        I = ((I + Step) % N + N) % N;
        if (FEntries[std::size_t(I)].IsSelectable())
            return I;
    }
    return -1;
}

void TMenuLayout::PaintMenu(TCanvas& Canvas, int Highlight) const
{
    const int W = FSize.Width;
    const int H = FSize.Height;
    FillColor(Canvas, {0, 0, W, H}, clMenu);
    // The raised edge: light and dark shadow outside, highlight and shadow inside; the right
    // and bottom lines run to the corners.
    FillColor(Canvas, {0, 0, W - 1, 1}, cl3DLight);
    FillColor(Canvas, {0, 0, 1, H - 1}, cl3DLight);
    FillColor(Canvas, {0, H - 1, W, H}, cl3DDkShadow);
    FillColor(Canvas, {W - 1, 0, W, H}, cl3DDkShadow);
    FillColor(Canvas, {1, 1, W - 2, 2}, clBtnHighlight);
    FillColor(Canvas, {1, 1, 2, H - 2}, clBtnHighlight);
    FillColor(Canvas, {1, H - 2, W - 1, H - 1}, clBtnShadow);
    FillColor(Canvas, {W - 2, 1, W - 1, H - 1}, clBtnShadow);
    for (std::size_t I = 0; I < FEntries.size(); ++I)
        PaintEntry(Canvas, FEntries[I], int(I) == Highlight);
}

void TMenuLayout::PaintEntry(TCanvas& Canvas, const TMenuEntry& Entry, bool Highlighted) const
{
    const TRect& B = Entry.Bounds;
    if (Entry.Separator) {
        const int Y = B.Top + SeparatorPixels / 2 - 1;
        FillColor(Canvas, {B.Left + 1, Y, B.Right - 1, Y + 1}, clBtnShadow);
        FillColor(Canvas, {B.Left + 1, Y + 1, B.Right - 1, Y + 2}, clBtnHighlight);
        return;
    }
    if (Highlighted)
        FillColor(Canvas, B, clHighlight);
    const int TextX = B.Left + CheckColumnPixels;
    const int TextY = B.Top + ItemPaddingPixels / 2;
    const int GlyphY = B.Top + (B.Height() - GlyphRows) / 2;
    const int CheckX = B.Left + (CheckColumnPixels - 7) / 2;
    const int ArrowX = B.Right - ArrowColumnPixels + (ArrowColumnPixels - 4) / 2;
    // A disabled item is engraved: a white copy one pixel down and right, grey text over it.
    const auto Paint = [&](int DX, int DY, TColor Color) {
        if (Entry.Checked)
            PaintGlyph(Canvas, CheckMark, CheckX + DX, GlyphY + DY, Color);
        if (Entry.HasSubmenu)
            PaintGlyph(Canvas, SubmenuArrow, ArrowX + DX, GlyphY + DY, Color);
        PaintCaption(Canvas, Entry, TextX + DX, TextY + DY, Color);
        if (!Entry.ShortCut.empty()) {
            Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
            Canvas.GetFont().SetColor(Color);
            const int X = B.Right - ArrowColumnPixels - Canvas.TextWidth(Entry.ShortCut);
            Canvas.TextOut(X + DX, TextY + DY, Entry.ShortCut);
        }
    };
    if (!Entry.Enabled && !Highlighted) {
        Paint(1, 1, clBtnHighlight);
        Paint(0, 0, clGrayText);
    } else {
        Paint(0, 0, Highlighted ? clHighlightText : Entry.Enabled ? clMenuText : clGrayText);
    }
}

void TMenuLayout::PaintCaption(TCanvas& Canvas, const TMenuEntry& Entry, int X, int Y,
                               TColor Color) const
{
    const TMenuCaption C = ParseMenuCaption(Entry.Caption);
    TFont& Font = Canvas.GetFont();
    Font.SetStyle(Entry.Default ? unsigned(fsBold) : 0u);
    Font.SetColor(Color);
    Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    Canvas.TextOut(X, Y, C.Text);
    if (C.AccessLength) {
        const int X0 = X + Canvas.TextWidth(C.Text.substr(0, C.AccessOffset));
        const int X1 = X + Canvas.TextWidth(C.Text.substr(0, C.AccessOffset + C.AccessLength));
        const int Row = Y + Canvas.GetTextMetrics().Ascent + 1;
        FillColor(Canvas, {X0, Row, X1, Row + 1}, Color);
    }
    Font.SetStyle(0);
}
