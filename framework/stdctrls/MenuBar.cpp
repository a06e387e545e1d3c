#include "framework/stdctrls/MenuBar.h"

#include "framework/graphics/DisabledText.h"
#include "framework/stdctrls/MainMenu.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"

#include <algorithm>

TMenuBar::TMenuBar(TMainMenu& Menu) : TCustomControl(nullptr), FMenu(Menu)
{
    SetColor(clMenu);
}

int TMenuBar::GetLineHeight()
{
    return FMeasureBitmap.GetCanvas().TextHeight("") + TMenuLayout::ItemPaddingPixels;
}

const std::vector<TMenuBar::TEntry>& TMenuBar::Measure()
{
    // Measured on every use: captions and visibility change at run time without a word to us.
    FEntries.clear();
    TCanvas& Canvas = FMeasureBitmap.GetCanvas();
    const int Height = GetLineHeight();
    const TMenuItem& Items = *FMenu.GetItems();
    int X = 0;
    for (int I = 0; I < Items.GetCount(); ++I) {
        TMenuItem* Item = Items.GetItem(I);
        if (!Item->GetVisible())
            continue;
        const int Width =
            Canvas.TextWidth(ParseMenuCaption(Item->GetCaption()).Text) + 2 * ItemMarginPixels;
        FEntries.push_back({Item, {X, 0, X + Width, Height}});
        X += Width;
    }
    return FEntries;
}

int TMenuBar::GetItemCount()
{
    return int(Measure().size());
}

TMenuItem* TMenuBar::GetItem(int Index)
{
    const auto& E = Measure();
    return Index >= 0 && Index < int(E.size()) ? E[std::size_t(Index)].Item : nullptr;
}

TRect TMenuBar::GetItemRect(int Index)
{
    const auto& E = Measure();
    return Index >= 0 && Index < int(E.size()) ? E[std::size_t(Index)].Bounds : TRect{};
}

int TMenuBar::ItemAt(TPoint Client)
{
    const auto& E = Measure();
    for (std::size_t I = 0; I < E.size(); ++I)
        if (E[I].Bounds.Contains(Client))
            return int(I);
    return -1;
}

int TMenuBar::ItemAtScreen(TPoint Screen)
{
    if (!HandleAllocated())
        return -1;
    const TPoint Client = ScreenToClient(Screen);
    if (!GetClientRect().Contains(Client))
        return -1;
    return ItemAt(Client);
}

int TMenuBar::Neighbour(int Index, int Step)
{
    const int N = GetItemCount();
    return N == 0 ? -1 : ((Index + Step) % N + N) % N;
}

void TMenuBar::SetState(int Selected, bool Dropped, bool ShowAccessKeys)
{
    if (Selected == FSelected && Dropped == FDropped && ShowAccessKeys == FShowAccessKeys)
        return;
    FSelected = Selected;
    FDropped = Dropped;
    FShowAccessKeys = ShowAccessKeys;
    Invalidate();
    Update();
}

void TMenuBar::Paint()
{
    TCanvas& Canvas = GetCanvas();
    Canvas.GetFont().Assign(FMeasureBitmap.GetCanvas().GetFont());
    Canvas.GetBrush().SetStyle(TBrushStyle::bsSolid);
    Canvas.GetBrush().SetColor(clMenu);
    Canvas.FillRect(GetClientRect());
    const auto& Entries = Measure();
    for (std::size_t I = 0; I < Entries.size(); ++I)
        PaintItem(Entries[I], int(I) == FSelected);
}

void TMenuBar::PaintItem(const TEntry& Entry, bool Selected)
{
    TCanvas& Canvas = GetCanvas();
    const TRect& B = Entry.Bounds;
    const bool Enabled = Entry.Item->GetEnabled();
    const bool Highlighted = Selected && !FDropped && Enabled;
    const bool Sunken = Selected && FDropped;
    const auto Fill = [&](const TRect& R, TColor C) {
        Canvas.GetBrush().SetStyle(TBrushStyle::bsSolid);
        Canvas.GetBrush().SetColor(C);
        Canvas.FillRect(R);
    };
    if (Highlighted)
        Fill(B, clHighlight);
    if (Sunken) {
        Fill({B.Left, B.Top, B.Right, B.Top + 1}, clBtnShadow);
        Fill({B.Left, B.Top, B.Left + 1, B.Bottom}, clBtnShadow);
        Fill({B.Left, B.Bottom - 1, B.Right, B.Bottom}, clBtnHighlight);
        Fill({B.Right - 1, B.Top, B.Right, B.Bottom}, clBtnHighlight);
    }
    const TMenuCaption C = ParseMenuCaption(Entry.Item->GetCaption());
    // The pressed-in look moves the caption a pixel down and right.
    const int X = B.Left + ItemMarginPixels + (Sunken ? 1 : 0);
    const int Y = B.Top + TMenuLayout::ItemPaddingPixels / 2 + (Sunken ? 1 : 0);
    const TColor Ink = Highlighted ? clHighlightText : Enabled ? clMenuText : clGrayText;
    const auto Underline = [&](int DX, int DY, TColor Color) {
        if (!FShowAccessKeys || !C.AccessLength)
            return;
        const int X0 = X + DX + Canvas.TextWidth(C.Text.substr(0, C.AccessOffset));
        const int X1 = X + DX + Canvas.TextWidth(C.Text.substr(0, C.AccessOffset + C.AccessLength));
        const int Row = Y + DY + Canvas.GetTextMetrics().Ascent + 1;
        Fill({X0, Row, X1, Row + 1}, Color);
        Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    };
    // A solid brush would fill the item behind each pass of the text, the engraving with it.
    Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    if (!Enabled) {
        PaintDisabledText(Canvas, B, X, Y, C.Text);
        Underline(1, 1, clBtnHighlight);
        Underline(0, 0, clGrayText);
        return;
    }
    Canvas.GetFont().SetColor(Ink);
    Canvas.TextOut(X, Y, C.Text);
    Underline(0, 0, Ink);
}

void TMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::Left)
        return;
    const int Index = ItemAt({X, Y});
    if (Index >= 0 && GetItem(Index)->GetEnabled())
        FMenu.Track(Index, true, false);
}
