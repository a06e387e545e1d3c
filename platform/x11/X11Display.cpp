#include "platform/x11/X11Display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

const char* AtomNames[] = {"WM_PROTOCOLS",
                           "WM_DELETE_WINDOW",
                           "_NET_WM_PING",
                           "_NET_WM_NAME",
                           "UTF8_STRING",
                           "_NET_WM_STATE",
                           "_NET_WM_STATE_ABOVE",
                           "_NET_WM_STATE_SKIP_TASKBAR",
                           "_MOTIF_WM_HINTS",
                           "_NET_WM_WINDOW_TYPE",
                           "_NET_WM_WINDOW_TYPE_NORMAL",
                           "_NET_WM_WINDOW_TYPE_DIALOG",
                           "_NET_WM_WINDOW_TYPE_POPUP_MENU",
                           "_NET_FRAME_EXTENTS",
                           "_NET_REQUEST_FRAME_EXTENTS",
                           "_NET_ACTIVE_WINDOW",
                           "_NET_SUPPORTING_WM_CHECK",
                           "_NET_SUPPORTED",
                           "_NET_WM_PID",
                           "WM_STATE",
                           "_NET_WM_STATE_HIDDEN",
                           "_NET_WM_STATE_MAXIMIZED_VERT",
                           "_NET_WM_STATE_MAXIMIZED_HORZ"};
static_assert(std::size(AtomNames) == static_cast<std::size_t>(TX11Atom::Count));

// Xlib's handlers are global, so the trap is too; the GUI thread alone talks to the server.
int GErrorCount = 0;
int GLogged = 0;
Display* GTrapDisplay = nullptr;
int GTrapError = 0;
constexpr int MostLogged = 20;

int OnXError(Display* D, XErrorEvent* E)
{
    ++GErrorCount;
    if (D == GTrapDisplay) {
        if (!GTrapError)
            GTrapError = E->error_code;
        return 0;
    }
    if (GLogged++ < MostLogged) {
        char Text[256];
        XGetErrorText(D, E->error_code, Text, sizeof Text);
        std::fprintf(stderr, "nixie: X error: %s (request %d.%d, resource 0x%lx)%s\n", Text,
                     E->request_code, E->minor_code, E->resourceid,
                     GLogged == MostLogged ? "; further errors are not shown" : "");
    }
    return 0;
}

[[noreturn]] int OnXIOError(Display* D)
{
    // Nothing more can be said to the server, and the windows' destructors would try: leave at
    // once, with the reason.
    std::fprintf(stderr, "nixie: lost the connection to the X display \"%s\"; exiting\n",
                 D ? DisplayString(D) : "");
    std::fflush(stderr);
    _exit(1);
}

bool IsLocalDisplayName(const char* Name)
{
    // ":0", "unix:0" and socket paths are local; "host:0" (ssh forwarding included) is not.
    return Name && (Name[0] == ':' || Name[0] == '/' || std::strncmp(Name, "unix:", 5) == 0);
}

} // namespace

std::unique_ptr<TX11Display> TX11Display::Open(const std::string& Name, std::string& Problem)
{
    const char* Wanted = Name.empty() ? std::getenv("DISPLAY") : Name.c_str();
    if (!Wanted || !*Wanted) {
        Problem = "DISPLAY is not set";
        return nullptr;
    }
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
    Display* D = XOpenDisplay(Wanted);
    if (!D) {
        Problem = std::string("\"") + Wanted + "\" does not answer";
        return nullptr;
    }
    std::unique_ptr<TX11Display> Self(new TX11Display);
    Self->FDisplay = D;
    Self->FScreen = DefaultScreen(D);
    Self->FRoot = RootWindow(D, Self->FScreen);
    Self->FLocal = IsLocalDisplayName(DisplayString(D));
    XInternAtoms(D, const_cast<char**>(AtomNames), static_cast<int>(std::size(AtomNames)), False,
                 Self->FAtoms.data());
    Self->ChooseVisual();
    Self->QueryExtensions();
    // Held keys repeat as presses alone, as on Windows, instead of release and press pairs.
    Bool Detectable = False;
    XkbSetDetectableAutoRepeat(D, True, &Detectable);
    return Self;
}

_XIM* TX11Display::GetInputMethod()
{
    // Opened at the first key: the local method reads the compose tables of the locale, a good
    // part of a start-up's CPU in a program that may never be typed into.
    if (!FInputMethodTried) {
        FInputMethodTried = true;
        if (XSupportsLocale())
            FInputMethod = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
    }
    return FInputMethod;
}

TX11Display::~TX11Display()
{
    for (unsigned long C : FCursors)
        if (C)
            XFreeCursor(FDisplay, C);
    if (FInputMethod)
        XCloseIM(FInputMethod);
    if (FOwnColormap)
        XFreeColormap(FDisplay, FColormap);
    XCloseDisplay(FDisplay);
}

int TX11Display::GetConnectionFd() const
{
    return ConnectionNumber(FDisplay);
}

void TX11Display::ChooseVisual()
{
    Display* D = FDisplay;
    Visual* Default = DefaultVisual(D, FScreen);
    FVisual = Default;
    FDepth = DefaultDepth(D, FScreen);
    FColormap = DefaultColormap(D, FScreen);
    auto Direct = [](const Visual* V) {
        return V->c_class == TrueColor && V->red_mask == 0xFF0000 && V->green_mask == 0xFF00 &&
               V->blue_mask == 0xFF;
    };
    if (!(FDepth == 24 && Direct(Default))) {
        XVisualInfo Info{};
        if (XMatchVisualInfo(D, FScreen, 24, TrueColor, &Info) && Direct(Info.visual)) {
            FVisual = Info.visual;
            FDepth = 24;
            FColormap = XCreateColormap(D, FRoot, Info.visual, AllocNone);
            FOwnColormap = true;
        }
    }
    int Count = 0;
    int BitsForDepth = 0;
    if (XPixmapFormatValues* Formats = XListPixmapFormats(D, &Count)) {
        for (int I = 0; I < Count; ++I) {
            if (Formats[I].depth == FDepth)
                BitsForDepth = Formats[I].bits_per_pixel;
            if (Formats[I].depth == DefaultDepth(D, FScreen))
                FScreenBitsPerPixel = Formats[I].bits_per_pixel;
        }
        XFree(Formats);
    }
    FDirect = FDepth == 24 && Direct(static_cast<Visual*>(FVisual)) && BitsForDepth == 32;
    const unsigned Probe = 1;
    const bool LittleEndian = *reinterpret_cast<const unsigned char*>(&Probe) == 1;
    FNativeByteOrder = (ImageByteOrder(D) == LSBFirst) == LittleEndian;
}

void TX11Display::QueryExtensions()
{
    int EventBase = 0, ErrorBase = 0;
    FHasShape = XShapeQueryExtension(FDisplay, &EventBase, &ErrorBase);
    int Major = 0, Minor = 0;
    FHasInputShape =
        FHasShape && XShapeQueryVersion(FDisplay, &Major, &Minor) && (Major > 1 || Minor >= 1);
    FHasShm = FLocal && XShmQueryExtension(FDisplay);
}

unsigned long TX11Display::GetCursor(TCursorShape Shape)
{
    static constexpr unsigned Glyphs[] = {XC_left_ptr, XC_hand2, XC_xterm, XC_watch, XC_fleur};
    const auto Index = static_cast<std::size_t>(Shape);
    if (Index >= FCursors.size())
        return XNone;
    if (!FCursors[Index])
        FCursors[Index] = XCreateFontCursor(FDisplay, Glyphs[Index]);
    return FCursors[Index];
}

namespace {

// The window a property of Owner names, when it names one.
Window WindowProperty(Display* D, Window Owner, Atom Property)
{
    Atom Type = XNone;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    Window Result = XNone;
    if (XGetWindowProperty(D, Owner, Property, 0, 1, False, XA_WINDOW, &Type, &Format, &Count,
                           &After, &Data) == Success &&
        Data && Type == XA_WINDOW && Format == 32 && Count == 1)
        Result = *reinterpret_cast<unsigned long*>(Data);
    if (Data)
        XFree(Data);
    return Result;
}

} // namespace

bool TX11Display::HasWindowManager() const
{
    // EWMH: the root names a child window, which names itself; a stale id from a window manager
    // that died names nothing (or something else).
    const Atom Check = GetAtom(TX11Atom::NetSupportingWmCheck);
    const Window Child = WindowProperty(FDisplay, FRoot, Check);
    if (Child == XNone)
        return false;
    BeginTrap();
    const Window Again = WindowProperty(FDisplay, Child, Check);
    const bool Failed = EndTrap() != 0;
    return !Failed && Again == Child;
}

bool TX11Display::WindowManagerSupports(unsigned long Wanted) const
{
    Atom Type = XNone;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    bool Found = false;
    if (XGetWindowProperty(FDisplay, FRoot, GetAtom(TX11Atom::NetSupported), 0, 4096, False,
                           XA_ATOM, &Type, &Format, &Count, &After, &Data) == Success &&
        Data && Format == 32) {
        const auto* Atoms = reinterpret_cast<const unsigned long*>(Data);
        for (unsigned long I = 0; I < Count && !Found; ++I)
            Found = Atoms[I] == Wanted;
    }
    if (Data)
        XFree(Data);
    return Found;
}

void TX11Display::BeginTrap() const
{
    XSync(FDisplay, False); // errors of earlier requests are not this trap's
    GTrapDisplay = FDisplay;
    GTrapError = 0;
}

int TX11Display::EndTrap() const
{
    XSync(FDisplay, False);
    GTrapDisplay = nullptr;
    return GTrapError;
}

int TX11Display::GetErrorCount()
{
    return GErrorCount;
}
