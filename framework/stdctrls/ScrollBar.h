#pragma once

#include "framework/windows/CustomControl.h"

#include <algorithm>

enum TScrollBarKind
{
    sbHorizontal,
    sbVertical
};

// What moved the thumb, as OnScroll reports it.
enum TScrollCode
{
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition, // the thumb was let go
    scTrack,    // the thumb is being dragged
    scTop,
    scBottom,
    scEndScroll // the button or key that scrolled was released
};

// OnScroll(Sender, ScrollCode, ScrollPos): ScrollPos is the position about to be taken; the
// handler may change it.
using TScrollEvent = TEvent<TObject* /*Sender*/, TScrollCode, int& /*ScrollPos*/>;

// A scroll bar in the classic look: an arrow button at each end and a thumb on a dithered track.
// Position stays within Min..Max, and with a PageSize within Min..Max - PageSize + 1, as on
// Windows; the thumb is PageSize / (Max - Min + 1) of the track (at least 8 pixels), square when
// PageSize is 0. An arrow moves by SmallChange and the track by LargeChange, repeating while the
// button is held; the thumb can be dragged. A click focuses a bar that is a tab stop; when
// focused the arrows, PageUp/PageDown and Home/End scroll. OnChange fires once for every change of
// Position, from code too.
class TScrollBar : public TCustomControl
{
    PUBLISHED_CLASS(TScrollBar, TCustomControl)

    explicit TScrollBar(TComponent* AOwner);
    ~TScrollBar() override;

    TScrollBarKind GetKind() const { return FKind; }
    // Turns the bar, swapping its width and height.
    void SetKind(TScrollBarKind Value);
    int GetMin() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, std::max(FMax, Value)); }
    int GetMax() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, std::min(FMin, Value), Value); }
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int GetSmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    int GetLargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    // Sets all three at once (a Max below Min is taken as Min), clamping Position.
    void SetParams(int APosition, int AMin, int AMax);
    // The largest position the bar takes: Max, less PageSize - 1 with a page.
    int GetMaxPosition() const;

    // The thumb in client coordinates; empty when none is shown.
    TRect GetThumbRect() const;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    static void DeclareClass(TClassDeclaration<TScrollBar>& D);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyUp(unsigned& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void EnabledChanged() override;

private:
    enum class TPart
    {
        None,
        LineUp,
        PageUp,
        Thumb,
        PageDown,
        LineDown
    };
    struct TLayout
    {
        int Arrow;       // length of each arrow button along the bar
        int TrackStart;  // along the bar
        int TrackLength; // between the arrows
        int ThumbLength; // 0 when there is no thumb
        int ThumbStart;  // along the bar
    };

    TLayout Layout() const;
    // The length of the bar and its thickness.
    int Length() const;
    int Thickness() const;
    // A rectangle from Start to End along the bar, the bar's full thickness across.
    TRect Span(int Start, int End) const;
    int Along(TPoint P) const;
    TPart PartAt(TPoint P) const;
    // Moves by the step of Part, through OnScroll.
    void Step(TPart Part);
    void Scroll(TScrollCode Code, int NewPosition);
    void StopHolding();
    void PaintButton(TCanvas& Canvas, TRect R, bool Pushed);
    void PaintArrow(TCanvas& Canvas, const TRect& R, bool TowardsMax, bool Pushed);
    void PaintTrack(TCanvas& Canvas, const TRect& R, bool Pushed);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    int FPageSize = 0;
    TPart FHeld = TPart::None;
    bool FHeldHot = false; // the pointer is over the held part
    int FGrabOffset = 0;   // from the thumb's start to the pointer, while dragging
    TPoint FPointer;       // the pointer's last client position while a part is held
    bool FKeyHeld = false;
};
