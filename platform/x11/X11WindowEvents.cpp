// The input half of TX11Window: X events become the framework's events.
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Keys.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/X11Window.h"

#include <algorithm>
#include <vector>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

// Win32 virtual keys of the modifiers.
constexpr unsigned VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12;

TInputModifiers ModifiersOf(unsigned State)
{
    TInputModifiers Modifiers;
    if (State & ShiftMask)
        Modifiers.Include(TInputModifier::Shift);
    if (State & ControlMask)
        Modifiers.Include(TInputModifier::Ctrl);
    if (State & Mod1Mask)
        Modifiers.Include(TInputModifier::Alt);
    if (State & Button1Mask)
        Modifiers.Include(TInputModifier::LeftButton);
    if (State & Button2Mask)
        Modifiers.Include(TInputModifier::MiddleButton);
    if (State & Button3Mask)
        Modifiers.Include(TInputModifier::RightButton);
    return Modifiers;
}

TMouseButton ButtonOf(unsigned Button)
{
    switch (Button) {
    case Button1:
        return TMouseButton::Left;
    case Button2:
        return TMouseButton::Middle;
    case Button3:
        return TMouseButton::Right;
    default:
        return TMouseButton::None; // the wheel and extra buttons
    }
}

TInputModifier ModifierOf(TMouseButton Button)
{
    return Button == TMouseButton::Left    ? TInputModifier::LeftButton
           : Button == TMouseButton::Right ? TInputModifier::RightButton
                                           : TInputModifier::MiddleButton;
}

// Appends the code points of UTF-8 text; a malformed byte stands for itself (as Latin-1).
void DecodeUtf8(const std::string& Text, std::vector<char32_t>& Out)
{
    for (std::size_t I = 0; I < Text.size();) {
        const auto C = static_cast<unsigned char>(Text[I]);
        const int Length = C < 0x80         ? 1
                           : (C >> 5) == 6  ? 2
                           : (C >> 4) == 14 ? 3
                           : (C >> 3) == 30 ? 4
                                            : 0;
        bool Valid = Length > 0 && I + static_cast<std::size_t>(Length) <= Text.size();
        char32_t Code = Length == 1   ? C
                        : Length == 2 ? (C & 0x1F)
                        : Length == 3 ? (C & 0x0F)
                                      : (C & 0x07);
        for (int K = 1; Valid && K < Length; ++K) {
            const auto Next = static_cast<unsigned char>(Text[I + static_cast<std::size_t>(K)]);
            Valid = (Next & 0xC0) == 0x80;
            Code = (Code << 6) | (Next & 0x3F);
        }
        if (!Valid) {
            Out.push_back(C);
            ++I;
            continue;
        }
        Out.push_back(Code);
        I += static_cast<std::size_t>(Length);
    }
}

} // namespace

bool TX11Window::HandleEvent(XEvent& E)
{
    switch (E.type) {
    case Expose: {
        const XExposeEvent& X = E.xexpose;
        const TRect Exposed = TRect::FromSize(X.x, X.y, X.width, X.height);
        FOnServer.Forget(Exposed); // the server lost these pixels: they go again in full
        FEvents->HandleExpose(Exposed);
        return true;
    }
    case ConfigureNotify:
        return HandleConfigure(E);
    case ReparentNotify:
        FParentIsRoot = E.xreparent.parent == FPort->GetDisplay()->GetRoot();
        return false;
    case MapNotify:
        FMapped = true;
        if (FActivateOnMap) {
            FActivateOnMap = false;
            Activate();
        }
        return false;
    case UnmapNotify:
        FMapped = false;
        if (FCaptured) {
            // The server ends a grab whose window stops being viewable.
            FCaptured = false;
            if (FPort->GetCaptureWindow() == this)
                FPort->SetCaptureWindow(nullptr);
            FEvents->HandleCaptureLost();
            return true;
        }
        return false;
    case ButtonPress:
    case ButtonRelease:
        return HandleButton(E);
    case MotionNotify: {
        // Only the newest position matters: skip to the last of a run of movements.
        Display* D = FPort->GetDisplay()->Get();
        while (XEventsQueued(D, QueuedAfterReading) > 0) {
            XEvent Next;
            XPeekEvent(D, &Next);
            if (Next.type != MotionNotify || Next.xmotion.window != FWindow)
                break;
            XNextEvent(D, &E);
        }
        FEvents->HandleInput({.Kind = TInputKind::MouseMove,
                              .Client = ClientPointOf({E.xmotion.x, E.xmotion.y},
                                                      {E.xmotion.x_root, E.xmotion.y_root}),
                              .Modifiers = ModifiersOf(E.xmotion.state)});
        return true;
    }
    case KeyPress:
    case KeyRelease:
        return HandleKey(E);
    case FocusIn:
    case FocusOut: {
        // Keyboard grabs (a window manager's Alt+Tab) and the pointer's focus are no changes.
        const XFocusChangeEvent& F = E.xfocus;
        if (F.mode == NotifyGrab || F.mode == NotifyUngrab || F.detail == NotifyPointer ||
            F.detail == NotifyInferior)
            return false;
        const bool Gained = E.type == FocusIn;
        if (Gained == FFocused)
            return false;
        FFocused = Gained;
        if (FInputContext) {
            if (Gained)
                XSetICFocus(FInputContext);
            else
                XUnsetICFocus(FInputContext);
        }
        FEvents->HandleFocus(Gained);
        return true;
    }
    case ClientMessage:
        return HandleClientMessage(E);
    default:
        return false;
    }
}

TPoint TX11Window::ClientPointOf(TPoint Event, TPoint OnScreen) const
{
    // While a move of ours is on its way the server measures from where the window was; the
    // framework, as Windows does, from where it is now (it moved the window itself). A window
    // dragged by the pointer would otherwise run ahead of it by each move still in flight.
    if (FRequested.empty())
        return Event;
    const TRect Client = GetClientRectOnScreen();
    return {OnScreen.X - Client.Left, OnScreen.Y - Client.Top};
}

bool TX11Window::HandleButton(XEvent& E)
{
    const XButtonEvent& B = E.xbutton;
    const TMouseButton Button = ButtonOf(B.button);
    if (Button == TMouseButton::None)
        return false;
    // X reports the state before the event; Windows the state after it.
    TInputEvent Event{.Kind = TInputKind::MouseDown,
                      .Client = ClientPointOf({B.x, B.y}, {B.x_root, B.y_root}),
                      .Button = Button,
                      .Modifiers = ModifiersOf(B.state)};
    if (E.type == ButtonPress) {
        Event.Modifiers.Include(ModifierOf(Button));
        if (FPort->GetClickTracker().Press(FWindow, Button, {B.x_root, B.y_root},
                                           static_cast<std::uint32_t>(B.time)))
            Event.Kind = TInputKind::DoubleClick;
    } else {
        Event.Kind = TInputKind::MouseUp;
        Event.Modifiers.Exclude(ModifierOf(Button));
    }
    FEvents->HandleInput(Event);
    return true;
}

bool TX11Window::HandleKey(XEvent& E)
{
    XKeyEvent& K = E.xkey;
    const bool Press = E.type == KeyPress;
    KeySym Sym = 0;
    std::string Text;
    bool Utf8 = false;
    if (Press && FInputContext) {
        std::vector<char> Buffer(64);
        Status State = 0;
        int Length = Xutf8LookupString(FInputContext, &K, Buffer.data(),
                                       static_cast<int>(Buffer.size()), &Sym, &State);
        if (State == XBufferOverflow) {
            Buffer.resize(static_cast<std::size_t>(Length) + 1);
            Length = Xutf8LookupString(FInputContext, &K, Buffer.data(),
                                       static_cast<int>(Buffer.size()), &Sym, &State);
        }
        if (State == XLookupChars || State == XLookupBoth)
            Text.assign(Buffer.data(), static_cast<std::size_t>(std::max(0, Length)));
        if (State != XLookupKeySym && State != XLookupBoth)
            Sym = 0;
        Utf8 = true;
    } else {
        char Buffer[32];
        const int Length = XLookupString(&K, Buffer, sizeof Buffer, &Sym, nullptr);
        if (Press)
            Text.assign(Buffer, static_cast<std::size_t>(std::max(0, Length)));
    }
    const KeySym Base = XLookupKeysym(&K, 0);
    const unsigned Key = KeysymToVirtualKey(Base, Sym ? Sym : Base);
    TInputModifiers Modifiers = ModifiersOf(K.state);
    // Like the buttons, a modifier counts as held from its own press on.
    if (Key == VkShift || Key == VkControl || Key == VkMenu) {
        const TInputModifier Own = Key == VkShift     ? TInputModifier::Shift
                                   : Key == VkControl ? TInputModifier::Ctrl
                                                      : TInputModifier::Alt;
        if (Press)
            Modifiers.Include(Own);
        else
            Modifiers.Exclude(Own);
    }

    if (!Press) {
        if (!Key)
            return false;
        FEvents->HandleInput({.Kind = TInputKind::KeyUp, .Key = Key, .Modifiers = Modifiers});
        return true;
    }
    std::vector<char32_t> Characters;
    if (Utf8)
        DecodeUtf8(Text, Characters);
    else
        for (char C : Text)
            Characters.push_back(static_cast<unsigned char>(C)); // XLookupString gives Latin-1
    if (Characters.empty() && !Utf8)
        if (const char32_t C = KeysymToCharacter(Sym))
            Characters.push_back(C);
    // Windows types no character with Delete.
    std::erase(Characters, char32_t(0x7F));
    if (!Key && Characters.empty())
        return false;
    if (Key)
        FEvents->HandleInput({.Kind = TInputKind::KeyDown, .Key = Key, .Modifiers = Modifiers});
    for (char32_t C : Characters)
        FEvents->HandleInput({.Kind = TInputKind::Character, .Character = C});
    return true;
}

bool TX11Window::HandleConfigure(XEvent& E)
{
    const XConfigureEvent& C = E.xconfigure;
    if (C.window != FWindow)
        return false;
    TX11Display& X = *FPort->GetDisplay();
    int Left = C.x, Top = C.y;
    if (!C.send_event && !FParentIsRoot) {
        // Relative to the window manager's frame: ask where that puts us on the screen.
        Window Child = XNone;
        XTranslateCoordinates(X.Get(), FWindow, X.GetRoot(), 0, 0, &Left, &Top, &Child);
    }
    const TRect Client = TRect::FromSize(Left, Top, C.width, C.height);
    auto Echo = std::find(FRequested.begin(), FRequested.end(), Client);
    if (Echo != FRequested.end()) {
        FRequested.erase(FRequested.begin(), Echo + 1);
        if (!FRequested.empty())
            return false; // a newer request is on its way: this is history
    }
    const TRect Outer{Client.Left - FInsets.Left, Client.Top - FInsets.Top,
                      Client.Right + FInsets.Right, Client.Bottom + FInsets.Bottom};
    if (Outer == FBounds)
        return false;
    FBounds = Outer;
    FEvents->HandleMoved(Outer);
    return true;
}

bool TX11Window::HandleClientMessage(XEvent& E)
{
    TX11Display& X = *FPort->GetDisplay();
    const XClientMessageEvent& M = E.xclient;
    if (M.message_type != X.GetAtom(TX11Atom::WmProtocols) || M.format != 32)
        return false;
    const auto Protocol = static_cast<Atom>(M.data.l[0]);
    if (Protocol == X.GetAtom(TX11Atom::WmDeleteWindow)) {
        FEvents->HandleCloseRequest();
        return true;
    }
    if (Protocol == X.GetAtom(TX11Atom::NetWmPing)) {
        // Answer the window manager's "are you alive?" by sending the message back to the root.
        XEvent Reply = E;
        Reply.xclient.window = X.GetRoot();
        XSendEvent(X.Get(), X.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &Reply);
        XFlush(X.Get());
    }
    return false;
}
