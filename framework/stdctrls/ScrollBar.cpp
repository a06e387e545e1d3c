#include "framework/stdctrls/ScrollBar.h"

#include "framework/graphics/Frame3D.h"

#include <algorithm>

namespace {
constexpr std::uint32_t RepeatTimer = 1;
constexpr std::uint32_t FirstRepeatMs = 350;
constexpr std::uint32_t NextRepeatMs = 50;
constexpr int MinThumb = 8;
} // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csCaptureMouse);
    FControlStyle.Exclude(csClickEvents);
    FControlStyle.Exclude(csDoubleClicks);
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 121, 17);
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::DeclareClass(TClassDeclaration<TScrollBar>& D)
{
    D.Enumeration<TScrollBarKind>("Kind", &TScrollBar::GetKind, &TScrollBar::SetKind,
                                  {"sbHorizontal", "sbVertical"});
    // Max before Min and both before Position, so that reading a description never clamps.
    D.Integer("Max", &TScrollBar::GetMax, &TScrollBar::SetMax).Default(100);
    D.Integer("Min", &TScrollBar::GetMin, &TScrollBar::SetMin);
    D.Integer("PageSize", &TScrollBar::GetPageSize, &TScrollBar::SetPageSize);
    D.Integer("Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition);
    D.Integer("SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange).Default(1);
    D.Integer("LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange).Default(1);
    D.Boolean("TabStop", &TScrollBar::GetTabStop, &TScrollBar::SetTabStop).Default(1);
    D.Event("OnChange", &TScrollBar::OnChange);
    D.Event("OnScroll", &TScrollBar::OnScroll);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (FKind == Value)
        return;
    FKind = Value;
    if (!IsLoading())
        SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    Invalidate();
}

void TScrollBar::SetPageSize(int Value)
{
    FPageSize = std::max(0, Value);
    SetParams(FPosition, FMin, FMax);
    Invalidate();
}

int TScrollBar::GetMaxPosition() const
{
    return std::max(FMin, FMax - std::max(FPageSize - 1, 0));
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    const bool RangeChanged = AMin != FMin || std::max(AMin, AMax) != FMax;
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    const int Clamped = std::clamp(APosition, FMin, GetMaxPosition());
    const bool Moved = Clamped != FPosition;
    FPosition = Clamped;
    if (RangeChanged || Moved)
        Invalidate();
    if (Moved && !IsLoading())
        OnChange(this);
}

// ---- Geometry -------------------------------------------------------------------------------

int TScrollBar::Length() const
{
    return FKind == sbVertical ? GetHeight() : GetWidth();
}

int TScrollBar::Thickness() const
{
    return FKind == sbVertical ? GetWidth() : GetHeight();
}

TRect TScrollBar::Span(int Start, int End) const
{
    return FKind == sbVertical ? TRect{0, Start, GetWidth(), End}
                               : TRect{Start, 0, End, GetHeight()};
}

int TScrollBar::Along(TPoint P) const
{
    return FKind == sbVertical ? P.Y : P.X;
}

TScrollBar::TLayout TScrollBar::Layout() const
{
    TLayout L{};
    // Arrows shrink to share a bar shorter than two of them; then there is no track.
    L.Arrow = std::min(Thickness(), Length() / 2);
    L.TrackStart = L.Arrow;
    L.TrackLength = std::max(0, Length() - 2 * L.Arrow);
    int Thumb = Thickness();
    if (FPageSize > 0) {
        const long long Range = static_cast<long long>(FMax) - FMin + 1;
        Thumb = int(std::min<long long>(L.TrackLength,
                                        L.TrackLength * static_cast<long long>(FPageSize) / Range));
        Thumb = std::max(Thumb, MinThumb);
    }
    // Windows shows no thumb where it would not fit, where a page shows the whole range, nor
    // on a disabled bar.
    const bool WholeRange =
        FPageSize > 0 && static_cast<long long>(FPageSize) > static_cast<long long>(FMax) - FMin;
    if (!GetEnabled() || WholeRange || Thumb > L.TrackLength || L.TrackLength < MinThumb)
        return L;
    L.ThumbLength = Thumb;
    const int Free = L.TrackLength - Thumb;
    const int Span = GetMaxPosition() - FMin;
    L.ThumbStart =
        L.TrackStart + (Span > 0 ? int(static_cast<long long>(FPosition - FMin) * Free / Span) : 0);
    return L;
}

TRect TScrollBar::GetThumbRect() const
{
    const TLayout L = Layout();
    return L.ThumbLength ? Span(L.ThumbStart, L.ThumbStart + L.ThumbLength) : TRect{};
}

TScrollBar::TPart TScrollBar::PartAt(TPoint P) const
{
    if (!GetClientRect().Contains(P))
        return TPart::None;
    const TLayout L = Layout();
    const int A = Along(P);
    if (A < L.Arrow)
        return TPart::LineUp;
    if (A >= Length() - L.Arrow)
        return TPart::LineDown;
    if (!L.ThumbLength)
        return TPart::None;
    if (A < L.ThumbStart)
        return TPart::PageUp;
    return A < L.ThumbStart + L.ThumbLength ? TPart::Thumb : TPart::PageDown;
}

// ---- Scrolling ------------------------------------------------------------------------------

void TScrollBar::Scroll(TScrollCode Code, int NewPosition)
{
    int Pos = std::clamp(NewPosition, FMin, GetMaxPosition());
    OnScroll(this, Code, Pos);
    SetPosition(Pos);
}

void TScrollBar::Step(TPart Part)
{
    switch (Part) {
    case TPart::LineUp:
        Scroll(scLineUp, FPosition - FSmallChange);
        break;
    case TPart::LineDown:
        Scroll(scLineDown, FPosition + FSmallChange);
        break;
    case TPart::PageUp:
        Scroll(scPageUp, FPosition - FLargeChange);
        break;
    case TPart::PageDown:
        Scroll(scPageDown, FPosition + FLargeChange);
        break;
    default:
        break;
    }
}

void TScrollBar::StopHolding()
{
    if (FHeld == TPart::None)
        return;
    if (HandleAllocated())
        TWindowManager::Get().KillTimer(GetHandle(), RepeatTimer);
    const TPart Was = FHeld;
    FHeld = TPart::None;
    FHeldHot = false;
    Invalidate();
    if (Was == TPart::Thumb)
        Scroll(scPosition, FPosition);
    int Pos = FPosition;
    OnScroll(this, scEndScroll, Pos);
}

// ---- Input ----------------------------------------------------------------------------------

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left && FHeld == TPart::None && GetEnabled()) {
        if (GetTabStop() && CanFocus() && !Focused())
            SetFocus();
        FPointer = {X, Y};
        FHeld = PartAt(FPointer);
        FHeldHot = true;
        if (FHeld == TPart::Thumb) {
            FGrabOffset = Along(FPointer) - Layout().ThumbStart;
        } else if (FHeld != TPart::None) {
            Step(FHeld);
            TWindowManager::Get().SetTimer(GetHandle(), RepeatTimer, FirstRepeatMs);
        }
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    FPointer = {X, Y};
    if (FHeld == TPart::Thumb) {
        const TLayout L = Layout();
        const int Free = L.TrackLength - L.ThumbLength;
        const int Offset = std::clamp(Along(FPointer) - FGrabOffset - L.TrackStart, 0, Free);
        const int Span = GetMaxPosition() - FMin;
        // Rounded, so that each pixel of travel lands on the nearest position.
        const int Pos =
            Free > 0 ? FMin + int((static_cast<long long>(Offset) * Span * 2 + Free) / (2 * Free))
                     : FMin;
        if (Pos != FPosition)
            Scroll(scTrack, Pos);
    } else if (FHeld != TPart::None) {
        // An arrow or a page looks pushed only while the pointer is on it, as a button does.
        const bool Hot = PartAt(FPointer) == FHeld;
        if (Hot != FHeldHot) {
            FHeldHot = Hot;
            Invalidate();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left)
        StopHolding();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TScrollBar::KeyDown(unsigned& Key, TShiftState Shift)
{
    const unsigned K = Key;
    Key = 0;
    FKeyHeld = true;
    switch (K) {
    case VK_UP:
    case VK_LEFT:
        Step(TPart::LineUp);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        Step(TPart::LineDown);
        break;
    case VK_PRIOR:
        Step(TPart::PageUp);
        break;
    case VK_NEXT:
        Step(TPart::PageDown);
        break;
    case VK_HOME:
        Scroll(scTop, FMin);
        break;
    case VK_END:
        Scroll(scBottom, GetMaxPosition());
        break;
    default:
        Key = K;
        FKeyHeld = false;
        break;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TScrollBar::KeyUp(unsigned& Key, TShiftState Shift)
{
    if (FKeyHeld) {
        FKeyHeld = false;
        int Pos = FPosition;
        OnScroll(this, scEndScroll, Pos);
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TScrollBar::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_TIMER:
        if (Message.WParam == RepeatTimer) {
            // A page keeps repeating only while the pointer stays on the same side of the
            // thumb, so that the thumb stops under it.
            if (FHeld != TPart::None && FHeld != TPart::Thumb && PartAt(FPointer) == FHeld)
                Step(FHeld);
            if (FHeld != TPart::None)
                TWindowManager::Get().SetTimer(GetHandle(), RepeatTimer, NextRepeatMs);
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        StopHolding();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TScrollBar::EnabledChanged()
{
    StopHolding();
    Invalidate();
}

// ---- Painting -------------------------------------------------------------------------------

void TScrollBar::PaintButton(TCanvas& Canvas, TRect R, bool Pushed)
{
    TBrush& Brush = Canvas.GetBrush();
    Brush.SetStyle(TBrushStyle::bsSolid);
    if (Pushed) {
        Brush.SetColor(clBtnShadow);
        Canvas.FrameRect(R);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    } else {
        Frame3D(Canvas, R, cl3DLight, cl3DDkShadow, 1);
        Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, 1);
    }
    Brush.SetColor(clBtnFace);
    Canvas.FillRect(R);
}

void TScrollBar::PaintArrow(TCanvas& Canvas, const TRect& R, bool TowardsMax, bool Pushed)
{
    PaintButton(Canvas, R, Pushed);
    // A triangle Height rows deep with a base of 2 * Height - 1, centred, as the classic glyph.
    const int Size = std::min(R.Width(), R.Height());
    const int Height = std::max(1, (Size - 4) / 3);
    const int Shift = Pushed ? 1 : 0;
    const int CX = R.Left + (R.Width() - 1) / 2 + Shift;
    const int CY = R.Top + (R.Height() - 1) / 2 + Shift;
    // The first row along the bar; the point is there for an arrow towards Min, at the far end
    // for one towards Max.
    const int First = (FKind == sbVertical ? CY : CX) - Height / 2;
    auto Triangle = [&](int DX, int DY, TColor Color) {
        Canvas.GetBrush().SetColor(Color);
        for (int I = 0; I < Height; ++I) {
            const int Row = First + (TowardsMax ? Height - 1 - I : I);
            if (FKind == sbVertical)
                Canvas.FillRect(TRect::FromSize(CX - I + DX, Row + DY, 2 * I + 1, 1));
            else
                Canvas.FillRect(TRect::FromSize(Row + DX, CY - I + DY, 1, 2 * I + 1));
        }
    };
    if (GetEnabled()) {
        Triangle(0, 0, clBtnText);
    } else {
        Triangle(1, 1, clBtnHighlight);
        Triangle(0, 0, clBtnShadow);
    }
}

void TScrollBar::PaintTrack(TCanvas& Canvas, const TRect& R, bool Pushed)
{
    if (R.IsEmpty())
        return;
    // The classic checker of two colours, aligned to the control so that it does not crawl
    // when the thumb moves; a held page shows darker.
    const TColor Even = ColorToRGB(Pushed ? cl3DDkShadow : clBtnHighlight);
    const TColor Odd = ColorToRGB(Pushed ? clBtnShadow : clBtnFace);
    Canvas.GetBrush().SetStyle(TBrushStyle::bsSolid);
    Canvas.GetBrush().SetColor(Odd);
    Canvas.FillRect(R);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left + ((R.Left + Y) & 1); X < R.Right; X += 2)
            Canvas.SetPixel(X, Y, Even);
}

void TScrollBar::Paint()
{
    TCanvas& Canvas = GetCanvas();
    const TLayout L = Layout();
    const int End = Length();
    PaintArrow(Canvas, Span(0, L.Arrow), false, FHeld == TPart::LineUp && FHeldHot);
    PaintArrow(Canvas, Span(End - L.Arrow, End), true, FHeld == TPart::LineDown && FHeldHot);
    const int TrackEnd = L.TrackStart + L.TrackLength;
    if (!L.ThumbLength) {
        PaintTrack(Canvas, Span(L.TrackStart, TrackEnd), false);
        return;
    }
    const int ThumbEnd = L.ThumbStart + L.ThumbLength;
    // Measured now, for the thumb may have moved under a pointer that stayed put.
    const bool PageHeld = FHeld == PartAt(FPointer);
    PaintTrack(Canvas, Span(L.TrackStart, L.ThumbStart), FHeld == TPart::PageUp && PageHeld);
    PaintTrack(Canvas, Span(ThumbEnd, TrackEnd), FHeld == TPart::PageDown && PageHeld);
    PaintButton(Canvas, Span(L.ThumbStart, ThumbEnd), false);
}
