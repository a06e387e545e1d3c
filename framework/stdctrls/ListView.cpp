#include "framework/stdctrls/ListView.h"

#include "framework/graphics/DisabledText.h"
#include "framework/graphics/Frame3D.h"
#include "framework/stdctrls/ScrollBar.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int EdgeWidth = 2;
constexpr int ScrollBarWidth = 16;
constexpr int TextMargin = 4; // from a column's left to its text
constexpr int WheelDelta = 120;
constexpr int WheelRows = 3; // the Windows default for a notch
} // namespace

TListView::TListView(TComponent* AOwner) : TCustomControl(AOwner), FColumns(*this), FItems(*this)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csShowsFocus);
    FControlStyle.Exclude(csAcceptsControls);
    SetColor(clWindow);
    SetTabStop(true);
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetKind(sbVertical);
    // Clicking the list's own bar leaves the focus on the list, as on Windows.
    FScrollBar->SetTabStop(false);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->OnChange = [this](TObject*) {
        if (!FSyncingBar)
            SetTopIndex(FScrollBar->GetPosition());
    };
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() = default;

void TListView::DeclareClass(TClassDeclaration<TListView>& D)
{
    D.Color("Color", &TListView::GetColor, &TListView::SetColor).Default(clWindow);
    D.Boolean("TabStop", &TListView::GetTabStop, &TListView::SetTabStop).Default(1);
    D.Boolean("ShowColumnHeaders", &TListView::GetShowColumnHeaders,
              &TListView::SetShowColumnHeaders)
        .Default(1);
}

void TListView::SetShowColumnHeaders(bool Value)
{
    if (Value == FShowColumnHeaders)
        return;
    FShowColumnHeaders = Value;
    ItemsChanged();
}

// ---- Geometry -------------------------------------------------------------------------------

TRect TListView::InnerRect() const
{
    const TRect C = GetClientRect();
    return {C.Left + EdgeWidth, C.Top + EdgeWidth,
            std::max(C.Left + EdgeWidth, C.Right - EdgeWidth),
            std::max(C.Top + EdgeWidth, C.Bottom - EdgeWidth)};
}

int TListView::GetHeaderHeight() const
{
    if (!FShowColumnHeaders)
        return 0;
    return std::abs(GetFont().GetHeight()) + 6;
}

int TListView::GetRowHeight() const
{
    return std::abs(GetFont().GetHeight()) + 5;
}

TRect TListView::RowsRect() const
{
    TRect R = InnerRect();
    R.Top = std::min(R.Bottom, R.Top + GetHeaderHeight());
    if (FScrollBar->GetVisible())
        R.Right = std::max(R.Left, R.Right - ScrollBarWidth);
    return R;
}

int TListView::GetVisibleRowCount() const
{
    return std::max(0, RowsRect().Height() / GetRowHeight());
}

int TListView::MaxTopIndex() const
{
    return std::max(0, FItems.GetCount() - GetVisibleRowCount());
}

TRect TListView::GetItemRect(int Index) const
{
    if (Index < 0 || Index >= FItems.GetCount())
        return {};
    const TRect Rows = RowsRect();
    const int Top = Rows.Top + (Index - FTopIndex) * GetRowHeight();
    return {Rows.Left, Top, Rows.Right, Top + GetRowHeight()};
}

int TListView::ItemAt(TPoint P) const
{
    const TRect Rows = RowsRect();
    if (!Rows.Contains(P))
        return -1;
    const int Index = FTopIndex + (P.Y - Rows.Top) / GetRowHeight();
    return Index < FItems.GetCount() ? Index : -1;
}

// ---- State ----------------------------------------------------------------------------------

void TListView::ItemsChanged()
{
    if (FItems.IsUpdating())
        return;
    UpdateScrollBar();
    Invalidate();
}

void TListView::ItemDeleted(int Index)
{
    // Deleting the selected item leaves none selected, as on Windows.
    if (Index < 0 || Index == FItemIndex)
        FItemIndex = -1;
    else if (Index < FItemIndex)
        --FItemIndex;
    if (Index < 0)
        FTopIndex = 0;
    ItemsChanged();
}

void TListView::SetItemIndex(int Value)
{
    if (Value < 0 || Value >= FItems.GetCount())
        Value = -1;
    if (Value == FItemIndex)
        return;
    if (FItemIndex >= 0)
        OnSelectItem(this, FItems[FItemIndex], false);
    FItemIndex = Value;
    Invalidate();
    if (FItemIndex >= 0)
        OnSelectItem(this, FItems[FItemIndex], true);
}

TListItem* TListView::GetSelected() const
{
    return FItemIndex >= 0 ? FItems[FItemIndex] : nullptr;
}

void TListView::SetTopIndex(int Value)
{
    // While the items are being filled the range is not known yet; EndUpdate clamps.
    const int Top = FItems.IsUpdating() ? std::max(0, Value) : std::clamp(Value, 0, MaxTopIndex());
    if (Top == FTopIndex)
        return;
    FTopIndex = Top;
    ItemsChanged();
}

void TListView::MakeRowVisible(int Index, bool PartialOK)
{
    if (Index < 0 || Index >= FItems.GetCount())
        return;
    const int Rows = std::max(1, GetVisibleRowCount());
    // A row below the last full one may still show its top part.
    const bool Partly = RowsRect().Height() % GetRowHeight() != 0;
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + Rows && !(PartialOK && Partly && Index == FTopIndex + Rows))
        SetTopIndex(Index - Rows + 1);
}

void TListView::UpdateScrollBar()
{
    const int Rows = GetVisibleRowCount();
    const bool Needed = FItems.GetCount() > Rows;
    const TRect Inner = InnerRect();
    FScrollBar->SetBounds(Inner.Right - ScrollBarWidth, Inner.Top, ScrollBarWidth, Inner.Height());
    FScrollBar->SetVisible(Needed);
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    if (!Needed)
        return;
    // The bar follows the list here; its change events are for the user's scrolling.
    FSyncingBar = true;
    FScrollBar->SetPageSize(0);
    FScrollBar->SetParams(FTopIndex, 0, FItems.GetCount() - 1);
    FScrollBar->SetPageSize(Rows);
    FScrollBar->SetLargeChange(std::max(1, Rows));
    FScrollBar->SetPosition(FTopIndex);
    FSyncingBar = false;
}

// ---- Input ----------------------------------------------------------------------------------

void TListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if ((Button == TMouseButton::Left || Button == TMouseButton::Right) && GetEnabled()) {
        if (CanFocus() && !Focused())
            SetFocus();
        const int Index = ItemAt({X, Y});
        if (Index >= 0) {
            SetItemIndex(Index);
            MakeRowVisible(Index, false);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TListView::KeyDown(unsigned& Key, TShiftState Shift)
{
    const int Count = FItems.GetCount();
    const int Page = std::max(1, GetVisibleRowCount() - 1);
    int Target = -2;
    switch (Key) {
    case VK_UP:
        Target = FItemIndex < 0 ? 0 : FItemIndex - 1;
        break;
    case VK_DOWN:
        Target = FItemIndex + 1;
        break;
    case VK_PRIOR:
        Target = FItemIndex - Page;
        break;
    case VK_NEXT:
        Target = FItemIndex + Page;
        break;
    case VK_HOME:
        Target = 0;
        break;
    case VK_END:
        Target = Count - 1;
        break;
    default:
        break;
    }
    if (Target != -2) {
        Key = 0;
        if (Count > 0) {
            Target = std::clamp(Target, 0, Count - 1);
            SetItemIndex(Target);
            MakeRowVisible(Target, false);
        }
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TListView::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_MOUSEWHEEL: {
        // The high word is the signed distance, a notch being 120, away from the user up.
        const int Delta = static_cast<std::int16_t>((Message.WParam >> 16) & 0xFFFF);
        SetTopIndex(FTopIndex - Delta * WheelRows / WheelDelta);
        Message.Result = 0;
        return;
    }
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TListView::BoundsChanged()
{
    ItemsChanged();
}

void TListView::FontChanged()
{
    TCustomControl::FontChanged();
    ItemsChanged();
}

// ---- Painting -------------------------------------------------------------------------------

void TListView::PaintHeader(TCanvas& Canvas, const TRect& Inner)
{
    TBrush& Brush = Canvas.GetBrush();
    const int Bottom = std::min(Inner.Bottom, Inner.Top + GetHeaderHeight());
    int X = Inner.Left;
    // One button per column, then an empty one to the right edge, as Windows draws the header.
    for (int I = 0; I <= FColumns.GetCount(); ++I) {
        const bool Filler = I == FColumns.GetCount();
        const int Right = Filler ? std::max(X, Inner.Right) : X + FColumns[I]->GetWidth();
        if (Right <= X || X >= Inner.Right) {
            X = Right;
            continue;
        }
        TRect Button{X, Inner.Top, Right, Bottom};
        Frame3D(Canvas, Button, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(Canvas, Button, clBtnFace, clBtnShadow, 1);
        Brush.SetStyle(TBrushStyle::bsSolid);
        Brush.SetColor(clBtnFace);
        Canvas.FillRect(Button);
        if (!Filler) {
            Brush.SetStyle(TBrushStyle::bsClear);
            Canvas.GetFont().SetColor(clBtnText);
            const std::string& Text = FColumns[I]->GetCaption();
            const int TY = Inner.Top + (Bottom - Inner.Top - Canvas.TextHeight(Text)) / 2;
            const TRect Clip{X + 2, Button.Top, Right - 2, Button.Bottom};
            if (GetEnabled())
                Canvas.TextRect(Clip, X + TextMargin + 2, TY, Text);
            else
                PaintDisabledText(Canvas, Clip, X + TextMargin + 2, TY, Text);
        }
        X = Right;
    }
}

void TListView::PaintRow(TCanvas& Canvas, int Index, const TRect& Row)
{
    const TListItem& Item = *FItems[Index];
    const bool Highlit = Index == FItemIndex && Focused();
    TBrush& Brush = Canvas.GetBrush();
    Brush.SetStyle(TBrushStyle::bsSolid);
    Brush.SetColor(Highlit ? clHighlight : GetColor());
    Canvas.FillRect(Row);
    Brush.SetStyle(TBrushStyle::bsClear);
    Canvas.GetFont().SetColor(!GetEnabled() ? clGrayText
                              : Highlit     ? clHighlightText
                                            : GetFont().GetColor());
    int X = Row.Left;
    for (int C = 0; C < FColumns.GetCount() && X < Row.Right; ++C) {
        const int Right = X + FColumns[C]->GetWidth();
        const std::string* Text = nullptr;
        if (C == 0)
            Text = &Item.GetCaption();
        else if (C - 1 < Item.GetSubItems().GetCount())
            Text = &Item.GetSubItems()[C - 1];
        if (Text && !Text->empty()) {
            const TRect Cell = TRect{X, Row.Top, std::min(Right, Row.Right), Row.Bottom};
            const int TY = Row.Top + (Row.Height() - Canvas.TextHeight(*Text)) / 2;
            Canvas.TextRect(Cell, X + TextMargin, TY, *Text);
        }
        X = Right;
    }
    if (Index == FItemIndex && Focused())
        Canvas.DrawFocusRect(Row);
}

void TListView::Paint()
{
    TCanvas& Canvas = GetCanvas();
    TRect Edge = GetClientRect();
    Frame3D(Canvas, Edge, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, Edge, cl3DDkShadow, cl3DLight, 1);
    Canvas.SetFont(GetFont());
    const TRect Rows = RowsRect();
    // Nothing is painted under the scroll bar, which spans the header's height too.
    TRect Inner = InnerRect();
    Inner.Right = Rows.Right;
    if (FShowColumnHeaders)
        PaintHeader(Canvas, Inner);
    TBrush& Brush = Canvas.GetBrush();
    int Y = Rows.Top;
    for (int I = FTopIndex; I < FItems.GetCount() && Y < Rows.Bottom; ++I, Y += GetRowHeight())
        PaintRow(Canvas, I,
                 TRect{Rows.Left, Y, Rows.Right, std::min(Rows.Bottom, Y + GetRowHeight())});
    Brush.SetStyle(TBrushStyle::bsSolid);
    Brush.SetColor(GetColor());
    Canvas.FillRect({Rows.Left, std::min(Y, Rows.Bottom), Rows.Right, Rows.Bottom});
}
