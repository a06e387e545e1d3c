#include "platform/x11/X11Clipboard.h"

#include "platform/x11/X11Display.h"

#include <chrono>
#include <poll.h>
#include <vector>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {
constexpr int WaitMs = 1000;

std::string Latin1ToUtf8(const unsigned char* Data, std::size_t Size)
{
    std::string Out;
    for (std::size_t I = 0; I < Size; ++I) {
        const unsigned char C = Data[I];
        if (C < 0x80) {
            Out += char(C);
        } else {
            Out += char(0xC0 | C >> 6);
            Out += char(0x80 | (C & 0x3F));
        }
    }
    return Out;
}

// Characters beyond Latin-1 become '?'; malformed bytes too.
std::string Utf8ToLatin1(const std::string& Text)
{
    std::string Out;
    for (std::size_t I = 0; I < Text.size();) {
        const unsigned char C = static_cast<unsigned char>(Text[I]);
        std::size_t Length = C < 0x80 ? 1 : C >= 0xF0 ? 4 : C >= 0xE0 ? 3 : C >= 0xC0 ? 2 : 1;
        if (C >= 0xC2 && C <= 0xC3 && I + 1 < Text.size())
            Out += char((C & 0x03) << 6 | (static_cast<unsigned char>(Text[I + 1]) & 0x3F));
        else
            Out += C < 0x80 ? char(C) : '?';
        I += Length;
    }
    return Out;
}
} // namespace

TX11Clipboard::TX11Clipboard(TX11Display& Connection) : FDisplay(Connection)
{
    Display* D = FDisplay.Get();
    XSetWindowAttributes Attributes{};
    FWindow = XCreateWindow(D, FDisplay.GetRoot(), -10, -10, 1, 1, 0, 0, InputOnly, nullptr, 0,
                            &Attributes);
    FClipboard = XInternAtom(D, "CLIPBOARD", False);
    FTargets = XInternAtom(D, "TARGETS", False);
    FUtf8 = XInternAtom(D, "UTF8_STRING", False);
    FIncr = XInternAtom(D, "INCR", False);
    FProperty = XInternAtom(D, "NIXIE_CLIPBOARD", False);
    // Room in one ChangeProperty request, less its header.
    long Words = XExtendedMaxRequestSize(D);
    if (Words == 0)
        Words = XMaxRequestSize(D);
    FMaxText = static_cast<std::size_t>(Words) * 4 - 64;
}

TX11Clipboard::~TX11Clipboard()
{
    XDestroyWindow(FDisplay.Get(), FWindow);
}

bool TX11Clipboard::Put(const std::string& Utf8)
{
    if (Utf8.size() > FMaxText)
        return false;
    Display* D = FDisplay.Get();
    XSetSelectionOwner(D, FClipboard, FWindow, CurrentTime);
    if (XGetSelectionOwner(D, FClipboard) != FWindow) {
        FText.reset();
        return false;
    }
    FText = Utf8;
    return true;
}

std::optional<std::string> TX11Clipboard::Get()
{
    const unsigned long Owner = XGetSelectionOwner(FDisplay.Get(), FClipboard);
    if (Owner == FWindow && FText)
        return FText;
    if (Owner == XNone)
        return std::nullopt;
    if (auto Text = Convert(FUtf8))
        return Text;
    return Convert(XA_STRING);
}

std::optional<std::string> TX11Clipboard::Convert(unsigned long Target)
{
    Display* D = FDisplay.Get();
    XDeleteProperty(D, FWindow, FProperty);
    XConvertSelection(D, FClipboard, Target, FProperty, FWindow, CurrentTime);
    XFlush(D);
    // Only the answer is taken from the queue here; every other event stays queued for the
    // port's next dispatch, in order, so no input is lost while we wait.
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    XEvent Notify;
    while (!XCheckTypedWindowEvent(D, FWindow, SelectionNotify, &Notify)) {
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
            Deadline - std::chrono::steady_clock::now());
        if (Left.count() <= 0)
            return std::nullopt;
        pollfd Fd{FDisplay.GetConnectionFd(), POLLIN, 0};
        poll(&Fd, 1, static_cast<int>(std::min<long long>(Left.count(), 10)));
    }
    if (Notify.xselection.property == XNone)
        return std::nullopt;
    Atom Type = XNone;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    if (XGetWindowProperty(D, FWindow, FProperty, 0, static_cast<long>(FMaxText / 4 + 1), True,
                           AnyPropertyType, &Type, &Format, &Count, &After, &Data) != Success)
        return std::nullopt;
    std::optional<std::string> Text;
    if (Format == 8 && Type == FUtf8)
        Text = std::string(reinterpret_cast<char*>(Data), Count);
    else if (Format == 8 && Type == XA_STRING)
        Text = Latin1ToUtf8(Data, Count);
    // Anything else, INCR among it, is no text we read.
    if (Data)
        XFree(Data);
    return Text;
}

bool TX11Clipboard::HandleEvent(XEvent& Event)
{
    switch (Event.type) {
    case SelectionRequest:
        if (Event.xselectionrequest.owner != FWindow)
            return false;
        Answer(Event);
        return true;
    case SelectionClear:
        if (Event.xselectionclear.window != FWindow)
            return false;
        if (Event.xselectionclear.selection == FClipboard)
            FText.reset();
        return true;
    case SelectionNotify:
        // A late answer to a conversion that timed out.
        return Event.xselection.requestor == FWindow;
    default:
        return false;
    }
}

void TX11Clipboard::Answer(XEvent& Event)
{
    const XSelectionRequestEvent& Request = Event.xselectionrequest;
    Display* D = FDisplay.Get();
    // Obsolete clients name no property: the target is the property then.
    const Atom Property = Request.property == XNone ? Request.target : Request.property;
    bool Given = false;
    if (Request.selection == FClipboard && FText) {
        if (Request.target == FTargets) {
            const Atom Offered[] = {FTargets, FUtf8, XA_STRING};
            XChangeProperty(D, Request.requestor, Property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(Offered), 3);
            Given = true;
        } else if (Request.target == FUtf8 || Request.target == XA_STRING) {
            const std::string Bytes = Request.target == FUtf8 ? *FText : Utf8ToLatin1(*FText);
            XChangeProperty(D, Request.requestor, Property, Request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(Bytes.data()),
                            static_cast<int>(Bytes.size()));
            Given = true;
        }
    }
    XEvent Reply{};
    Reply.xselection.type = SelectionNotify;
    Reply.xselection.display = D;
    Reply.xselection.requestor = Request.requestor;
    Reply.xselection.selection = Request.selection;
    Reply.xselection.target = Request.target;
    Reply.xselection.property = Given ? Property : XNone;
    Reply.xselection.time = Request.time;
    XSendEvent(D, Request.requestor, False, 0, &Reply);
    XFlush(D);
}
