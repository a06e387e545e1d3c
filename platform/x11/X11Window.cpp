#include "platform/x11/X11Window.h"

#include "platform/posix/PosixProcess.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/X11Presenter.h"

#include <algorithm>
#include <cctype>
#include <poll.h>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

constexpr long EventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                           KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask |
                           PropertyChangeMask;
constexpr unsigned GrabMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
// How long a new decorated window waits for the window manager to tell its frame.
constexpr int FrameExtentsWaitMs = 200;
constexpr long MaxFrameInset = 4096;

// The Motif hints (the _MOTIF_WM_HINTS property): flags, functions, decorations, input mode,
// status.
constexpr long MwmHintsFunctions = 1, MwmHintsDecorations = 2;
constexpr long MwmFuncMove = 4, MwmFuncMinimize = 8, MwmFuncClose = 32;
constexpr long MwmDecorBorder = 2, MwmDecorTitle = 8, MwmDecorMenu = 16, MwmDecorMinimize = 32;

// WM_CLASS names the program ("gallery", "Gallery"), so that desktops group its windows and
// match them to its launcher.
void SetProgramClass(Display* D, Window W)
{
    static const std::string Name = [] {
        const std::string Path = GetProcessExecutablePath();
        const std::size_t Slash = Path.find_last_of('/');
        const std::string Base = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
        return Base.empty() ? std::string("nixie") : Base;
    }();
    std::string ClassName = Name;
    ClassName[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(ClassName[0])));
    XClassHint Class{const_cast<char*>(Name.c_str()), ClassName.data()};
    XSetClassHint(D, W, &Class);
}

unsigned Clamp16(int V)
{
    return static_cast<unsigned>(std::clamp(V, 1, 32767));
}

// Text for WM_NAME: Latin-1 when the title has nothing else, as ICCCM wants; else UTF-8.
bool ToLatin1(const std::string& Utf8, std::string& Latin1)
{
    Latin1.clear();
    for (std::size_t I = 0; I < Utf8.size(); ++I) {
        const auto C = static_cast<unsigned char>(Utf8[I]);
        if (C < 0x80) {
            Latin1 += static_cast<char>(C);
        } else if ((C == 0xC2 || C == 0xC3) && I + 1 < Utf8.size() &&
                   (static_cast<unsigned char>(Utf8[I + 1]) & 0xC0) == 0x80) {
            Latin1 += static_cast<char>(((C & 0x1F) << 6) |
                                        (static_cast<unsigned char>(Utf8[I + 1]) & 0x3F));
            ++I;
        } else {
            return false;
        }
    }
    return true;
}

// Where the events of a window nobody listens to go.
TPlatformWindowEvents NoListener;

} // namespace

TX11Window::TX11Window(TX11Platform& Port, const TPlatformWindowParams& Params,
                       TPlatformWindowEvents* Events)
    : FPort(&Port), FEvents(Events ? Events : &NoListener), FBounds(Params.Bounds),
      FFrame(Params.Frame), FPopup(Params.Popup), FStayOnTop(Params.StayOnTop),
      FTaskbarButton(Params.TaskbarButton)
{
    Create(Params);
    FPort->AddWindow(this);
}

TX11Window::~TX11Window()
{
    if (!FPort)
        return;
    Display* D = FPort->GetDisplay()->Get();
    if (FCaptured)
        XUngrabPointer(D, CurrentTime);
    if (FInputContext)
        XDestroyIC(FInputContext);
    XFreeGC(D, FGc);
    XDestroyWindow(D, FWindow);
    XFlush(D);
    FPort->RemoveWindow(this);
}

TPoint TX11Window::GetClientSize() const
{
    return {std::max(0, FBounds.Width() - FInsets.Left - FInsets.Right),
            std::max(0, FBounds.Height() - FInsets.Top - FInsets.Bottom)};
}

TRect TX11Window::GetClientRectOnScreen() const
{
    const TPoint Size = GetClientSize();
    return TRect::FromSize(FBounds.Left + FInsets.Left, FBounds.Top + FInsets.Top,
                           std::max(1, Size.X), std::max(1, Size.Y));
}

void TX11Window::Create(const TPlatformWindowParams& Params)
{
    TX11Display& X = *FPort->GetDisplay();
    Display* D = X.Get();
    XSetWindowAttributes A{};
    // No background: the server leaves exposed parts alone until we present the back buffer,
    // which never flickers.
    A.background_pixmap = XNone;
    A.border_pixel = 0;
    A.colormap = X.GetColormap();
    A.bit_gravity = NorthWestGravity;
    A.event_mask = EventMask;
    A.override_redirect = Params.Popup ? True : False;
    A.save_under = Params.Popup ? True : False;
    const TRect Client = GetClientRectOnScreen();
    FWindow = XCreateWindow(D, X.GetRoot(), Client.Left, Client.Top, Clamp16(Client.Width()),
                            Clamp16(Client.Height()), 0, X.GetDepth(), InputOutput,
                            static_cast<Visual*>(X.GetVisual()),
                            CWBackPixmap | CWBorderPixel | CWColormap | CWBitGravity | CWEventMask |
                                CWOverrideRedirect | CWSaveUnder,
                            &A);
    FGc = XCreateGC(D, FWindow, 0, nullptr);
    XSetGraphicsExposures(D, FGc, False);

    Atom Protocols[] = {X.GetAtom(TX11Atom::WmDeleteWindow), X.GetAtom(TX11Atom::NetWmPing)};
    XSetWMProtocols(D, FWindow, Protocols, 2);
    SetProgramClass(D, FWindow);
    const long Pid = getpid();
    XChangeProperty(D, FWindow, X.GetAtom(TX11Atom::NetWmPid), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Pid), 1);
    const Atom Type = X.GetAtom(Params.Popup ? TX11Atom::NetWmWindowTypePopupMenu
                                             : TX11Atom::NetWmWindowTypeNormal);
    XChangeProperty(D, FWindow, X.GetAtom(TX11Atom::NetWmWindowType), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Type), 1);
    SetTitle(Params.Title);
    SetMotifHints();
    WriteNetWmState();
    if (FFrame != TWindowFrame::None && !FPopup)
        LearnFrameExtents();
    SetWindowManagerHints();
    if (FInsets != TRect{}) {
        const TRect Placed = GetClientRectOnScreen();
        XMoveResizeWindow(D, FWindow, FBounds.Left, FBounds.Top, Clamp16(Placed.Width()),
                          Clamp16(Placed.Height()));
    }
    XDefineCursor(D, FWindow, X.GetCursor(FCursor));
    XFlush(D);
}

void TX11Window::PrepareForKeys()
{
    if (FInputContextTried || !FPort)
        return;
    FInputContextTried = true;
    if (_XIM* Method = FPort->GetDisplay()->GetInputMethod()) {
        FInputContext = XCreateIC(Method, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                                  XNClientWindow, FWindow, XNFocusWindow, FWindow, nullptr);
        if (FInputContext && FFocused)
            XSetICFocus(FInputContext);
    }
}

void TX11Window::LearnFrameExtents()
{
    // EWMH lets a client ask the window manager, before mapping, what frame it would get; the
    // answer comes as the _NET_FRAME_EXTENTS property. Without a window manager (or one that
    // does not answer quickly) there is no frame to know of.
    TX11Display& X = *FPort->GetDisplay();
    Display* D = X.Get();
    const Atom Extents = X.GetAtom(TX11Atom::NetFrameExtents);
    const Atom Request = X.GetAtom(TX11Atom::NetRequestFrameExtents);
    if (!X.HasWindowManager() || !X.WindowManagerSupports(Request))
        return;
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = FWindow;
    E.xclient.message_type = Request;
    E.xclient.format = 32;
    XSendEvent(D, X.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask, &E);
    XFlush(D);
    struct TMatch
    {
        Window W;
        Atom A;
    } Match{FWindow, Extents};
    auto IsAnswer = [](Display*, XEvent* Ev, XPointer Arg) -> Bool {
        const auto* M = reinterpret_cast<const TMatch*>(Arg);
        return Ev->type == PropertyNotify && Ev->xproperty.window == M->W &&
               Ev->xproperty.atom == M->A;
    };
    for (int Waited = 0; Waited < FrameExtentsWaitMs; Waited += 10) {
        XEvent Answer{};
        if (XCheckIfEvent(D, &Answer, IsAnswer, reinterpret_cast<XPointer>(&Match)))
            break;
        pollfd P{X.GetConnectionFd(), POLLIN, 0};
        poll(&P, 1, 10);
    }
    Atom Type = XNone;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    if (XGetWindowProperty(D, FWindow, Extents, 0, 4, False, XA_CARDINAL, &Type, &Format, &Count,
                           &After, &Data) == Success &&
        Data && Format == 32 && Count == 4) {
        // The extents are the window manager's word: a negative or absurd one must not turn
        // the client rectangle inside out or overflow it.
        const auto* L = reinterpret_cast<const long*>(Data);
        const auto Inset = [L](int I) { return int(std::clamp<long>(L[I], 0, MaxFrameInset)); };
        FInsets = {Inset(0), Inset(2), Inset(1), Inset(3)};
    }
    if (Data)
        XFree(Data);
}

TWindowShowState TX11Window::GetShowState() const
{
    // The window manager says so in properties of the window: ICCCM's WM_STATE for an icon,
    // the EWMH state list for hidden and maximized windows.
    TX11Display& X = *FPort->GetDisplay();
    const auto ReadLongs = [&](Atom Property, Atom Kind) {
        std::vector<long> Values;
        Atom Type = XNone;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Data = nullptr;
        if (XGetWindowProperty(X.Get(), FWindow, Property, 0, 64, False, Kind, &Type, &Format,
                               &Count, &After, &Data) == Success &&
            Data && Format == 32)
            Values.assign(reinterpret_cast<const long*>(Data),
                          reinterpret_cast<const long*>(Data) + Count);
        if (Data)
            XFree(Data);
        return Values;
    };
    const Atom WmState = X.GetAtom(TX11Atom::WmState);
    if (const std::vector<long> State = ReadLongs(WmState, WmState);
        !State.empty() && State[0] == IconicState)
        return TWindowShowState::Minimized;
    bool Vertical = false, Horizontal = false;
    for (const long A : ReadLongs(X.GetAtom(TX11Atom::NetWmState), XA_ATOM)) {
        if (Atom(A) == X.GetAtom(TX11Atom::NetWmStateHidden))
            return TWindowShowState::Minimized;
        Vertical |= Atom(A) == X.GetAtom(TX11Atom::NetWmStateMaximizedVert);
        Horizontal |= Atom(A) == X.GetAtom(TX11Atom::NetWmStateMaximizedHorz);
    }
    return Vertical && Horizontal ? TWindowShowState::Maximized : TWindowShowState::Normal;
}

void TX11Window::SetWindowManagerHints()
{
    Display* D = FPort->GetDisplay()->Get();
    XSizeHints* Size = XAllocSizeHints();
    const TRect Client = GetClientRectOnScreen();
    // The position is the frame's top-left corner (north-west gravity), as our outer bounds.
    Size->flags = PPosition | USPosition | PSize | PWinGravity;
    Size->x = FBounds.Left;
    Size->y = FBounds.Top;
    Size->width = Client.Width();
    Size->height = Client.Height();
    Size->win_gravity = NorthWestGravity;
    if (FFrame != TWindowFrame::Sizeable) {
        Size->flags |= PMinSize | PMaxSize;
        Size->min_width = Size->max_width = Client.Width();
        Size->min_height = Size->max_height = Client.Height();
    }
    XSetWMNormalHints(D, FWindow, Size);
    XFree(Size);
    XWMHints* Hints = XAllocWMHints();
    Hints->flags = InputHint | StateHint;
    Hints->input = FPopup ? False : True;
    Hints->initial_state = NormalState;
    XSetWMHints(D, FWindow, Hints);
    XFree(Hints);
}

void TX11Window::SetMotifHints()
{
    TX11Display& X = *FPort->GetDisplay();
    const Atom Motif = X.GetAtom(TX11Atom::MotifWmHints);
    long Hints[5] = {};
    if (FFrame == TWindowFrame::None) {
        Hints[0] = MwmHintsDecorations;
    } else if (FFrame == TWindowFrame::Dialog) {
        Hints[0] = MwmHintsFunctions | MwmHintsDecorations;
        Hints[1] = MwmFuncMove | MwmFuncMinimize | MwmFuncClose;
        Hints[2] = MwmDecorBorder | MwmDecorTitle | MwmDecorMenu | MwmDecorMinimize;
    } else {
        XDeleteProperty(X.Get(), FWindow, Motif);
        return;
    }
    XChangeProperty(X.Get(), FWindow, Motif, Motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Hints), 5);
}

void TX11Window::WriteNetWmState()
{
    TX11Display& X = *FPort->GetDisplay();
    std::vector<Atom> States;
    if (FStayOnTop)
        States.push_back(X.GetAtom(TX11Atom::NetWmStateAbove));
    if (!FTaskbarButton)
        States.push_back(X.GetAtom(TX11Atom::NetWmStateSkipTaskbar));
    XChangeProperty(X.Get(), FWindow, X.GetAtom(TX11Atom::NetWmState), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(States.data()),
                    static_cast<int>(States.size()));
}

void TX11Window::ChangeNetWmState(bool Add, unsigned long State)
{
    // Once mapped the state is the window manager's; without one nobody else keeps it.
    TX11Display& X = *FPort->GetDisplay();
    if (!FMapped || FPopup || !X.HasWindowManager()) {
        WriteNetWmState();
    } else {
        XEvent E{};
        E.xclient.type = ClientMessage;
        E.xclient.window = FWindow;
        E.xclient.message_type = X.GetAtom(TX11Atom::NetWmState);
        E.xclient.format = 32;
        E.xclient.data.l[0] = Add ? 1 : 0;
        E.xclient.data.l[1] = static_cast<long>(State);
        E.xclient.data.l[3] = 1; // a normal application asks
        XSendEvent(X.Get(), X.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &E);
    }
    XFlush(X.Get());
}

void TX11Window::Show(bool Activate)
{
    Display* D = FPort->GetDisplay()->Get();
    FShown = true;
    FActivateOnMap = Activate && !FPopup;
    if (!FMapped) {
        WriteNetWmState(); // a window manager reads it when the window maps
        SetWindowManagerHints();
    }
    XMapRaised(D, FWindow);
    XFlush(D);
}

void TX11Window::Hide()
{
    TX11Display& X = *FPort->GetDisplay();
    FShown = false;
    FActivateOnMap = false;
    if (FPopup)
        XUnmapWindow(X.Get(), FWindow);
    else
        XWithdrawWindow(X.Get(), FWindow, X.GetScreen());
    XFlush(X.Get());
    // An unmapped window keeps no contents on the server: nothing shown is left to compare.
    FOnServer.Reset({0, 0});
}

void TX11Window::SetBounds(const TRect& Outer)
{
    Display* D = FPort->GetDisplay()->Get();
    const bool Sized = Outer.Width() != FBounds.Width() || Outer.Height() != FBounds.Height();
    FBounds = Outer;
    if (Sized)
        SetWindowManagerHints(); // a fixed size changes with the size
    const TRect Client = GetClientRectOnScreen();
    FRequested.push_back(Client);
    if (FRequested.size() > 32)
        FRequested.pop_front();
    XMoveResizeWindow(D, FWindow, Outer.Left, Outer.Top, Clamp16(Client.Width()),
                      Clamp16(Client.Height()));
    XFlush(D);
}

void TX11Window::SetTitle(const std::string& Utf8)
{
    TX11Display& X = *FPort->GetDisplay();
    const Atom Utf8Type = X.GetAtom(TX11Atom::Utf8String);
    const auto* Bytes = reinterpret_cast<const unsigned char*>(Utf8.data());
    XChangeProperty(X.Get(), FWindow, X.GetAtom(TX11Atom::NetWmName), Utf8Type, 8, PropModeReplace,
                    Bytes, static_cast<int>(Utf8.size()));
    std::string Latin1;
    if (ToLatin1(Utf8, Latin1))
        XChangeProperty(X.Get(), FWindow, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(Latin1.data()),
                        static_cast<int>(Latin1.size()));
    else
        XChangeProperty(X.Get(), FWindow, XA_WM_NAME, Utf8Type, 8, PropModeReplace, Bytes,
                        static_cast<int>(Utf8.size()));
    XFlush(X.Get());
}

void TX11Window::SetStayOnTop(bool StayOnTop)
{
    if (StayOnTop == FStayOnTop)
        return;
    FStayOnTop = StayOnTop;
    TX11Display& X = *FPort->GetDisplay();
    ChangeNetWmState(StayOnTop, X.GetAtom(TX11Atom::NetWmStateAbove));
    if (StayOnTop && FMapped && !X.HasWindowManager())
        XRaiseWindow(X.Get(), FWindow);
}

void TX11Window::SetTaskbarButton(bool Visible)
{
    if (Visible == FTaskbarButton)
        return;
    FTaskbarButton = Visible;
    ChangeNetWmState(!Visible, FPort->GetDisplay()->GetAtom(TX11Atom::NetWmStateSkipTaskbar));
}

void TX11Window::SetShape(const std::optional<std::vector<TRect>>& Rects)
{
    TX11Display& X = *FPort->GetDisplay();
    if (!X.HasShape())
        return;
    Display* D = X.Get();
    // The input shape too: a click outside the outline belongs to the window behind.
    const int Kinds[] = {ShapeBounding, ShapeInput};
    const int KindCount = X.HasInputShape() ? 2 : 1;
    if (!Rects) {
        for (int K = 0; K < KindCount; ++K)
            XShapeCombineMask(D, FWindow, Kinds[K], 0, 0, XNone, ShapeSet);
    } else {
        std::vector<XRectangle> List;
        List.reserve(Rects->size());
        for (const TRect& R : *Rects) {
            const TRect C = R.Intersect({-32768, -32768, 32767, 32767});
            if (C.IsEmpty())
                continue;
            List.push_back({static_cast<short>(C.Left), static_cast<short>(C.Top),
                            static_cast<unsigned short>(C.Width()),
                            static_cast<unsigned short>(C.Height())});
        }
        for (int K = 0; K < KindCount; ++K)
            XShapeCombineRectangles(D, FWindow, Kinds[K], 0, 0, List.data(),
                                    static_cast<int>(List.size()), ShapeSet, Unsorted);
    }
    XFlush(D);
}

void TX11Window::Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect& Changed)
{
    const TPoint Size = GetClientSize();
    const TRect Clip = Rect.Intersect({0, 0, Size.X, Size.Y})
                           .Intersect({0, 0, BackBuffer.Width, BackBuffer.Height});
    if (Clip.IsEmpty() || !BackBuffer.Pixels)
        return;
    if (FOnServer.GetSize() != Size)
        FOnServer.Reset(Size);
    const std::vector<TRect> Changes = FOnServer.TakeChanges(BackBuffer, Clip, Changed);
    if (Changes.empty())
        return;
    for (const TRect& R : Changes)
        FPort->GetPresenter()->Present(FWindow, FGc, BackBuffer, R);
    XFlush(FPort->GetDisplay()->Get());
}

void TX11Window::ForgetScreenArea(const TRect& OnScreen)
{
    const TRect Client = GetClientRectOnScreen();
    const TRect Common = OnScreen.Intersect(Client);
    if (!Common.IsEmpty())
        FOnServer.Forget(Common.Offset(-Client.Left, -Client.Top));
}

void TX11Window::Activate()
{
    if (FPopup)
        return;
    if (!FMapped) {
        FActivateOnMap = FShown;
        return;
    }
    TX11Display& X = *FPort->GetDisplay();
    const Atom Active = X.GetAtom(TX11Atom::NetActiveWindow);
    if (X.HasWindowManager() && X.WindowManagerSupports(Active)) {
        XEvent E{};
        E.xclient.type = ClientMessage;
        E.xclient.window = FWindow;
        E.xclient.message_type = Active;
        E.xclient.format = 32;
        E.xclient.data.l[0] = 1; // a normal application asks
        E.xclient.data.l[1] = CurrentTime;
        XSendEvent(X.Get(), X.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &E);
    } else {
        XRaiseWindow(X.Get(), FWindow);
        XSetInputFocus(X.Get(), FWindow, RevertToParent, CurrentTime);
    }
    XFlush(X.Get());
}

unsigned long TX11Window::GetCurrentCursor() const
{
    return FPort->GetDisplay()->GetCursor(FCursor);
}

void TX11Window::SetCursor(TCursorShape Shape)
{
    if (Shape == FCursor)
        return;
    FCursor = Shape;
    Display* D = FPort->GetDisplay()->Get();
    XDefineCursor(D, FWindow, GetCurrentCursor());
    if (FCaptured)
        XChangeActivePointerGrab(D, GrabMask, GetCurrentCursor(), CurrentTime);
    XFlush(D);
}

void TX11Window::SetCapture(bool Captured)
{
    Display* D = FPort->GetDisplay()->Get();
    if (!Captured) {
        if (FCaptured) {
            XUngrabPointer(D, CurrentTime);
            XFlush(D);
            FCaptured = false;
            if (FPort->GetCaptureWindow() == this)
                FPort->SetCaptureWindow(nullptr);
        }
        return;
    }
    if (FCaptured)
        return;
    // Owner events: over our own windows the pointer is theirs, elsewhere it is this window's.
    const int Result = XGrabPointer(D, FWindow, True, GrabMask, GrabModeAsync, GrabModeAsync, XNone,
                                    GetCurrentCursor(), CurrentTime);
    if (Result != GrabSuccess) {
        // Another client holds the pointer (or we are not viewable): the framework hears that
        // the capture is gone at the next wait, not in the middle of asking for it.
        FPort->QueueCaptureLost(FWindow);
        return;
    }
    if (TX11Window* Old = FPort->GetCaptureWindow(); Old && Old != this)
        Old->FCaptured = false; // one grab per client: ours moved here
    FCaptured = true;
    FPort->SetCaptureWindow(this);
}
