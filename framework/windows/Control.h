#pragma once

#include "base/Rect.h"
#include "base/Set.h"
#include "framework/graphics/Font.h"
#include "framework/objects/Component.h"
#include "framework/objects/Event.h"
#include "framework/windows/Messages.h"
#include "framework/windows/ShiftState.h"
#include "platform/Platform.h"

class TWinControl;

enum TAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient
};

// The edges of its parent that a control keeps its distance to when the parent's client area
// changes size; with both edges of a direction it stretches, with neither it keeps its centre.
enum TAnchorKind
{
    akLeft,
    akTop,
    akRight,
    akBottom
};
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleFlag
{
    csAcceptsControls, // children may be placed on it
    csCaptureMouse,    // a press captures the mouse until the release
    csClickEvents,     // a press and release inside make a click
    csOpaque,          // paints its whole rectangle: invalidating it needs no erase
    csDoubleClicks,    // double clicks arrive as such, not as a second press
    csShowsFocus,      // draws a focus mark: gaining or losing the focus repaints it
    csReplicatable
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TControlStateFlag
{
    csLButtonDown,
    csClicked,
    csFocusing,
    csCreating
};
using TControlState = TSet<TControlStateFlag>;

using TMouseEvent = TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TEvent<TObject* /*Sender*/, TShiftState, int /*X*/, int /*Y*/>;
using TContextPopupEvent = TEvent<TObject* /*Sender*/, TPoint /*MousePos*/, bool& /*Handled*/>;

// Cursors of controls, by the numbers form descriptions store (crHandPoint = -21).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The shape the platform shows for a cursor; the arrow for crDefault and any other number.
TCursorShape CursorShapeOf(TCursor Cursor);

// A visual component: bounds in its parent's client coordinates, visibility, colour and font, the
// mouse events, and a message handler. Messages reach a control through Perform (or, for a
// windowed control, through its window procedure) and go WndProc -> Dispatch -> DefaultHandler.
class TControl : public TComponent
{
    PUBLISHED_CLASS(TControl, TComponent)

    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* GetParent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    int GetLeft() const { return FLeft; }
    int GetTop() const { return FTop; }
    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect GetBoundsRect() const { return TRect::FromSize(FLeft, FTop, FWidth, FHeight); }
    virtual TRect GetClientRect() const { return {0, 0, FWidth, FHeight}; }
    int GetClientWidth() const { return GetClientRect().Width(); }
    int GetClientHeight() const { return GetClientRect().Height(); }
    virtual void SetClientWidth(int Value);
    virtual void SetClientHeight(int Value);
    // Client coordinates of this control and the screen.
    virtual TPoint ClientToScreen(TPoint P) const;
    virtual TPoint ScreenToClient(TPoint P) const;

    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors GetAnchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    bool GetVisible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    TColor GetColor() const { return FColor; }
    virtual void SetColor(TColor Value);
    TFont& GetFont() { return FFont; }
    const TFont& GetFont() const { return FFont; }
    const std::string& GetCaption() const { return FCaption; }
    virtual void SetCaption(const std::string& Value);
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    const std::string& GetHint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    // The pointer's shape over the control (crDefault: the arrow).
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    TControlStyle GetControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState GetControlState() const { return FControlState; }

    // Repainting: Invalidate marks the control's area; Update paints what is marked at once;
    // Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void BringToFront();

    LRESULT Perform(UINT Msg, WPARAM W, LPARAM L);
    // Takes the mouse for the control, as a left press does with csCaptureMouse: every mouse
    // message of its window goes to it, wherever the pointer is, until its left-button release
    // (or until the capture is lost). False gives it back.
    void SetMouseCapture(bool Value);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    // Whether the point (client coordinates) belongs to the control for the mouse.
    virtual bool HitTest(TPoint /*Client*/) const { return true; }

    // The form the control sits on (itself for a form), or null.
    TWinControl* GetParentForm() const;

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TContextPopupEvent OnContextPopup;

    static void DeclareClass(TClassDeclaration<TControl>& D);

protected:
    // Bounds are window coordinates, whatever a caller (or a stored setting) asks for: each of
    // the four stops at the ends of the 16-bit range a window takes.
    static void ClampBounds(int& ALeft, int& ATop, int& AWidth, int& AHeight);

    // A property setter that draws what it stores: the field takes the value, the control repaints.
    template <class T>
    void SetAndRepaint(T& Field, const T& Value)
    {
        Field = Value;
        Repaint();
    }
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    // Answers a context-menu request at MousePos (client coordinates; (-1, -1) from the
    // keyboard). Returns true when it was handled.
    virtual bool DoContextPopup(TPoint MousePos);
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void FontChanged();
    virtual void BoundsChanged() {}
    // Tells a control without a window of its own that its parent has made its window, the
    // first time or anew after destroying the last one (RecreateWnd): Window is the new one,
    // and the parent's windowed children have theirs by then. A control that tied itself to
    // the parent's window (a hook, a style it changed) ties itself to this one here.
    virtual void ParentWindowCreated(HWND /*Window*/) {}

    TControlStyle FControlStyle;
    TControlState FControlState;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    friend class TWinControl;

    void HandleMouseMessage(TMessage& Message);
    // Takes the current bounds and the parent's client size as where anchoring starts from.
    void RecordAnchorOrigin();

    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    // The bounds last given by anything but the parent's anchoring, and the parent's client
    // size then (negative: not known yet).
    TRect FAnchorOrigin;
    TPoint FAnchorParentSize{-1, -1};
    bool FAnchoring = false; // the parent is moving it by its anchors
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    TFont FFont;
    std::string FCaption;
    bool FShowHint = false;
    std::string FHint;
    TCursor FCursor = crDefault;
    int FTag = 0;
};
