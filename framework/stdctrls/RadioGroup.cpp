#include "framework/stdctrls/RadioGroup.h"

#include "framework/graphics/DisabledText.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int ButtonSize = 12;
constexpr int ButtonIndent = 4; // from the cell's left to the button
constexpr int CaptionGap = 4;   // from the button to the item's caption
constexpr int CaptionLeft = 8;  // the group's caption on the frame's top line
constexpr int DotSize = 4;

// Which part of the sunken 12 x 12 circle a pixel belongs to: 0 outside, 1 the outer ring,
// 2 the inner ring, 3 the inside. Pixel centres are tested against circles of radius 6, 5 and 4
// about the box's centre, which gives the classic stepped outline.
int RadioPart(int X, int Y)
{
    const double DX = X + 0.5 - ButtonSize / 2.0, DY = Y + 0.5 - ButtonSize / 2.0;
    const double D2 = DX * DX + DY * DY;
    if (D2 <= 16)
        return 3;
    if (D2 <= 25)
        return 2;
    return D2 <= 36 ? 1 : 0;
}
} // namespace

TRadioGroup::TRadioGroup(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csShowsFocus);
    // Selecting happens on the press; the generic click would fire OnClick a second time.
    FControlStyle.Exclude(csClickEvents);
    FControlStyle.Exclude(csDoubleClicks);
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup() = default;

void TRadioGroup::DeclareClass(TClassDeclaration<TRadioGroup>& D)
{
    D.Color("Color", &TRadioGroup::GetColor, &TRadioGroup::SetColor).Default(clBtnFace);
    D.Boolean("TabStop", &TRadioGroup::GetTabStop, &TRadioGroup::SetTabStop).Default(1);
    D.Strings("Items", &TRadioGroup::GetItems, &TRadioGroup::SetItems);
    D.Integer("Columns", &TRadioGroup::GetColumns, &TRadioGroup::SetColumns).Default(1);
    D.Integer("ItemIndex", &TRadioGroup::GetItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
}

void TRadioGroup::SetItems(const std::vector<std::string>& Value)
{
    FItems = Value;
    if (!IsLoading() && FItemIndex >= int(FItems.size()))
        FItemIndex = int(FItems.size()) - 1;
    Invalidate();
}

void TRadioGroup::SetColumns(int Value)
{
    Value = std::max(Value, 1);
    if (FColumns == Value)
        return;
    FColumns = Value;
    Invalidate();
}

void TRadioGroup::SetItemIndex(int Value)
{
    // A description may give the index before the items; Loaded puts it in range.
    if (IsLoading()) {
        FItemIndex = Value;
        return;
    }
    Value = std::clamp(Value, -1, int(FItems.size()) - 1);
    if (FItemIndex == Value)
        return;
    FItemIndex = Value;
    Invalidate();
    Click();
}

void TRadioGroup::Loaded()
{
    TCustomControl::Loaded();
    FItemIndex = std::clamp(FItemIndex, -1, int(FItems.size()) - 1);
}

void TRadioGroup::FontChanged()
{
    // The caption's height sets where the items start.
    Invalidate();
}

// ---- Layout ---------------------------------------------------------------------------------

int TRadioGroup::Rows() const
{
    const int Count = int(FItems.size());
    return (Count + FColumns - 1) / FColumns;
}

int TRadioGroup::CaptionHeight() const
{
    // The font's em height plus the leading of the classic 8-point face: a line of text.
    return std::abs(GetFont().GetHeight()) + 2;
}

TRect TRadioGroup::GetItemRect(int Index) const
{
    if (Index < 0 || Index >= int(FItems.size()))
        return {};
    const TRect Client = GetClientRect();
    const TRect Area{2, CaptionHeight(), Client.Right - 2, Client.Bottom - 2};
    const int RowCount = Rows();
    const int Column = Index / RowCount, Row = Index % RowCount;
    const auto Split = [](int From, int Length, int Parts, int I) {
        return From + Length * I / Parts;
    };
    return {Split(Area.Left, Area.Width(), FColumns, Column),
            Split(Area.Top, Area.Height(), RowCount, Row),
            Split(Area.Left, Area.Width(), FColumns, Column + 1),
            Split(Area.Top, Area.Height(), RowCount, Row + 1)};
}

int TRadioGroup::ItemAt(TPoint P) const
{
    for (int I = 0; I < int(FItems.size()); ++I)
        if (GetItemRect(I).Contains(P))
            return I;
    return -1;
}

// ---- Input ----------------------------------------------------------------------------------

void TRadioGroup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left && GetEnabled()) {
        if (CanFocus() && !Focused())
            SetFocus();
        const int Hit = ItemAt({X, Y});
        if (Hit >= 0)
            SetItemIndex(Hit);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TRadioGroup::KeyDown(unsigned& Key, TShiftState Shift)
{
    if (!(Shift & (ssCtrl | ssAlt)) && !FItems.empty()) {
        int Step = 0;
        if (Key == VK_UP || Key == VK_LEFT)
            Step = -1;
        else if (Key == VK_DOWN || Key == VK_RIGHT)
            Step = 1;
        if (Step) {
            // From no selection any arrow starts at the first item; the ends hold.
            const int Last = int(FItems.size()) - 1;
            SetItemIndex(FItemIndex < 0 ? 0 : std::clamp(FItemIndex + Step, 0, Last));
            Key = 0;
        }
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TRadioGroup::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

// ---- Painting -------------------------------------------------------------------------------

void TRadioGroup::Paint()
{
    TCanvas& Canvas = GetCanvas();
    const TRect Client = FillClient();
    TBrush& Brush = Canvas.GetBrush();

    // The etched frame: the highlight one pixel right of and below the shadow.
    const int FrameTop = CaptionHeight() / 2;
    Brush.SetColor(clBtnHighlight);
    Canvas.FrameRect({1, FrameTop + 1, Client.Right, Client.Bottom});
    Brush.SetColor(clBtnShadow);
    Canvas.FrameRect({0, FrameTop, Client.Right - 1, Client.Bottom - 1});

    Canvas.SetFont(GetFont());
    if (!GetCaption().empty()) {
        const TSize Extent = Canvas.TextExtent(GetCaption());
        Brush.SetColor(GetColor());
        Canvas.FillRect(TRect::FromSize(CaptionLeft, 0, Extent.Width, Extent.Height));
        Brush.SetStyle(TBrushStyle::bsClear);
        if (GetEnabled())
            Canvas.TextRect(Client, CaptionLeft, 0, GetCaption());
        else
            PaintDisabledText(Canvas, Client, CaptionLeft, 0, GetCaption());
    }
    for (int I = 0; I < int(FItems.size()); ++I)
        PaintItem(Canvas, I);
}

void TRadioGroup::PaintItem(TCanvas& Canvas, int Index)
{
    const TRect Cell = GetItemRect(Index);
    const int Left = Cell.Left + ButtonIndent;
    const int Top = Cell.Top + (Cell.Height() - ButtonSize) / 2;
    const TColor Inside = GetEnabled() ? clWindow : clBtnFace;
    for (int Y = 0; Y < ButtonSize; ++Y)
        for (int X = 0; X < ButtonSize; ++X) {
            const int Part = RadioPart(X, Y);
            if (!Part)
                continue;
            // Above the anti-diagonal the edge is in shadow, below it in light.
            const bool TopLeft = X + Y < ButtonSize - 1;
            const TColor Colors[] = {clNone, TopLeft ? clBtnShadow : clBtnHighlight,
                                     TopLeft ? cl3DDkShadow : clBtnFace, Inside};
            Canvas.SetPixel(Left + X, Top + Y, Colors[Part]);
        }
    TBrush& Brush = Canvas.GetBrush();
    if (Index == FItemIndex) {
        Brush.SetStyle(TBrushStyle::bsSolid);
        Brush.SetColor(GetEnabled() ? clWindowText : clGrayText);
        const int Offset = (ButtonSize - DotSize) / 2;
        Canvas.FillRect(TRect::FromSize(Left + Offset, Top + Offset, DotSize, DotSize));
    }

    Brush.SetStyle(TBrushStyle::bsClear);
    const std::string& Text = FItems[std::size_t(Index)];
    const TSize Extent = Canvas.TextExtent(Text);
    const int X = Left + ButtonSize + CaptionGap;
    const int Y = Cell.Top + (Cell.Height() - Extent.Height) / 2;
    if (GetEnabled())
        Canvas.TextRect(Cell, X, Y, Text);
    else
        PaintDisabledText(Canvas, Cell, X, Y, Text);
    const int FocusItem = std::max(FItemIndex, 0);
    if (Focused() && Index == FocusItem)
        Canvas.DrawFocusRect(
            TRect{X - 1, Y - 1, X + Extent.Width + 1, Y + Extent.Height + 1}.Intersect(Cell));
}
