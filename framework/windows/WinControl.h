#pragma once

#include "framework/windows/Control.h"
#include "framework/windows/WindowManager.h"

#include <exception>
#include <functional>
#include <vector>

class TCanvas;

// What a windowed control asks of the window it creates (the CreateParams hook).
struct TCreateParams
{
    std::string Caption;
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = 0;
    std::string WinClassName;
};

// A window procedure in object form (the control's WindowProc property).
using TWndMethod = std::function<void(TMessage&)>;

// Key events: a handler that sets Key to 0 consumes the key.
using TKeyEvent = TEvent<TObject* /*Sender*/, unsigned& /*Key*/, TShiftState>;
using TKeyPressEvent = TEvent<TObject* /*Sender*/, char32_t& /*Key*/>;

// Sent to the windowed controls of a form for Enter and Escape that the focused control does not
// want: WParam is the key; a control that acts on it answers 1.
constexpr UINT CM_DIALOGKEY = WM_USER + 0x1100;

// A control with a window of its own (a virtual window of the window manager; a native one for a
// top-level form). It holds child controls in z-order, paints the graphic ones itself, routes
// mouse messages to them, aligns children and creates its window on demand.
class TWinControl : public TControl
{
    PUBLISHED_CLASS(TWinControl, TControl)

    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    HWND GetHandle(); // creates the window when needed
    HWND GetHandleIfAllocated() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded() { GetHandle(); }
    // Destroys the window and creates it anew with the current parameters.
    void RecreateWnd();

    int GetControlCount() const { return int(FControls.size()); }
    TControl* GetControl(int Index) const { return FControls.at(std::size_t(Index)); }
    // The topmost visible control at a client point; graphic controls only unless AllowWindowed.
    TControl* ControlAtPos(TPoint Client, bool AllowDisabled, bool AllowWindowed = false) const;

    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    int GetTabOrder() const { return FTabOrder; }
    void SetTabOrder(int Value) { FTabOrder = Value; }
    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    bool Focused() const;
    virtual void SetFocus();
    bool CanFocus() const;

    TWndMethod GetWindowProc() const { return FWindowProc; }
    void SetWindowProc(TWndMethod Value) { FWindowProc = std::move(Value); }

    virtual bool IsTopLevelControl() const { return false; }

    // The windowed controls that Tab visits, in tab order: TabStop ones in TabOrder (ties in
    // creation order), each followed by those it contains.
    std::vector<TWinControl*> GetTabOrderList() const;
    // Focuses the next (or previous) control of the tab order after Current, wrapping around.
    // False when there is none that can take the focus.
    bool SelectNext(TWinControl* Current, bool GoForward);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TPoint ClientToScreen(TPoint P) const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    static void DeclareClass(TClassDeclaration<TWinControl>& D);

    // Points Canvas at Context's surface with the origin at Offset, clipped to the update region
    // within Limit (surface coordinates).
    static void PrepareControlCanvas(TCanvas& Canvas, const TPaintContext& Context, TPoint Offset,
                                     const TRect& Limit);

    // Receives errors escaping a message handler (the application installs its display).
    static std::function<void(const std::exception&)> ExceptionHandler;

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Creates the window, then the windows of the windowed children, then tells the other
    // children (ParentWindowCreated) and ends with CreateHandleDone.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Runs once the window and its children's windows exist.
    virtual void CreateHandleDone() {}
    // Paints the control itself into the paint context; the graphic children come after.
    virtual void PaintWindow(const TPaintContext& Context);
    void PaintControls(const TPaintContext& Context);
    // Lays the children out: the aligned ones fill the client area from its edges inwards,
    // the others keep their distances to the edges they are anchored to.
    virtual void AlignControls();
    // Whether the client size is not yet the one the control was designed with (while its
    // description is read, or while a form's window and frame are still being made): changes
    // of it then move no anchored child.
    virtual bool ClientSizeProvisional() const;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void Loaded() override;

    virtual void KeyDown(unsigned& Key, TShiftState Shift);
    virtual void KeyUp(unsigned& Key, TShiftState Shift);
    virtual void KeyPress(char32_t& Key);
    // A form answers the keys that move between its controls; true when it used Key.
    virtual bool DialogKey(TWinControl* /*From*/, unsigned /*Key*/, TShiftState /*Shift*/)
    {
        return false;
    }
    // A form's menu sees every key event of the form's controls first; true when it used it.
    virtual bool MenuKey(UINT /*Msg*/, unsigned /*Key*/, TShiftState /*Shift*/) { return false; }
    // The part of the client area the aligned children share.
    virtual void AdjustClientRect(TRect& /*Rect*/) const {}
    // Whether a form sees its controls' keys before they do.
    virtual bool PreviewsKeys() const { return false; }

    // Message handlers.
    virtual void WMPaint(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);

private:
    friend class TControl;

    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void MoveControlToFront(TControl* AControl);
    void InvalidateArea(const TRect& Client, bool Erase);
    void SetCaptureControl(TControl* AControl);
    void ReleaseCaptureControl(TControl* AControl);
    bool RouteMouseToControl(TMessage& Message);
    // The control without a window of its own that takes mouse input at a client point: the
    // one holding the capture, else the one there; none when the window itself takes it.
    TControl* MouseTarget(TPoint Client) const;
    void CreateChildHandles();
    void AnchorControls();
    void WMKey(TMessage& Message);
    void AddTabOrder(std::vector<TWinControl*>& List) const;
    void UpdateShowing();
    LRESULT MainWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

    HWND FHandle = 0;
    std::vector<TControl*> FControls; // z-order, bottom first
    TControl* FCaptureControl = nullptr;
    TWndMethod FWindowProc;
    bool FTabStop = false;
    int FTabOrder = 0;
    bool FDoubleBuffered = false;
    bool FAligning = false;
};
