// Native windows of the X11 port on a real X server, looked at from a second connection: the
// pixels presented, the outline, the properties a window manager reads, the geometry.
//
// Xvfb runs no window manager, so what a manager would do with the properties (decorate, keep on
// top, leave out of the task bar) cannot be seen here; the properties themselves can, and before
// mapping they are all a manager ever gets from us.
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Presenter.h"
#include "tests/x11/X11TestSupport.h"

#include <thread>
#include <unistd.h>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

// A pattern no two neighbours share, so that an offset or a swapped channel shows.
std::vector<TPixel> Pattern(int Width, int Height)
{
    std::vector<TPixel> P(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            P[static_cast<std::size_t>(Y * Width + X)] = (static_cast<TPixel>(X * 7) & 0xFF) << 16 |
                                                         (static_cast<TPixel>(Y * 5) & 0xFF) << 8 |
                                                         (static_cast<TPixel>(X + Y) & 0xFF);
    return P;
}

struct TPresentCase
{
    const char* Label;
    TRect Rect;
    bool Shared; // the presenter may use shared memory
};

class X11PresentTest : public X11Test, public testing::WithParamInterface<TPresentCase>
{};

TEST_P(X11PresentTest, PutsExactlyTheRectangleOnTheScreen)
{
    const TPresentCase& C = GetParam();
    constexpr int W = 300, H = 200;
    auto Window = MakeWindow(TRect::FromSize(40, 50, W, H));
    ShowAndWait(*Window);
    const std::vector<TPixel> Before = ReadPixels(Window->GetXWindow(), {0, 0, W, H});
    const std::vector<TPixel> Buffer = Pattern(W, H);
    TX11Presenter& Presenter = *X11Port().GetPresenter();
    Presenter.SetSharedMemoryEnabled(C.Shared);
    const TX11Presenter::TCounts Counts = Presenter.GetCounts();

    Window->Present({Buffer.data(), W, H, W}, C.Rect, C.Rect);
    const std::vector<TPixel> After = ReadPixels(Window->GetXWindow(), {0, 0, W, H});
    Presenter.SetSharedMemoryEnabled(true);

    ASSERT_EQ(After.size(), Buffer.size());
    const TRect Clip = C.Rect.Intersect({0, 0, W, H});
    int Wrong = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const std::size_t I = static_cast<std::size_t>(Y * W + X);
            const TPixel Want = Clip.Contains({X, Y}) ? Buffer[I] : Before[I];
            if (After[I] != Want && Wrong++ < 5)
                ADD_FAILURE() << "pixel (" << X << ", " << Y << ") is " << std::hex << After[I]
                              << ", not " << Want;
        }
    EXPECT_EQ(Wrong, 0);
    const bool Large = Clip.Width() * Clip.Height() >= TX11Presenter::SharedMinimumPixels;
    if (C.Shared && Large && Presenter.IsSharedMemoryUsable())
        EXPECT_EQ(Presenter.GetCounts().Shared, Counts.Shared + 1);
    else
        EXPECT_EQ(Presenter.GetCounts().Plain, Counts.Plain + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rects, X11PresentTest,
    testing::Values(TPresentCase{"SmallRect", {10, 20, 70, 45}, true},
                    TPresentCase{"OnePixel", {299, 199, 300, 200}, true},
                    TPresentCase{"WholeWindowShared", {0, 0, 300, 200}, true},
                    TPresentCase{"WholeWindowPlain", {0, 0, 300, 200}, false},
                    TPresentCase{"LargeOffsetShared", {33, 17, 290, 190}, true},
                    TPresentCase{"BeyondTheWindow", {250, 150, 400, 300}, true}),
    [](const testing::TestParamInfo<TPresentCase>& Info) { return std::string(Info.param.Label); });

TEST_F(X11Test, PresentingASmallerBackBufferStopsAtItsEdge)
{
    auto Window = MakeWindow(TRect::FromSize(40, 50, 100, 80));
    ShowAndWait(*Window);
    const std::vector<TPixel> Before = ReadPixels(Window->GetXWindow(), {0, 0, 100, 80});
    const std::vector<TPixel> Buffer = Pattern(60, 30);
    Window->Present({Buffer.data(), 60, 30, 60}, {0, 0, 100, 80}, {0, 0, 100, 80});
    const std::vector<TPixel> After = ReadPixels(Window->GetXWindow(), {0, 0, 100, 80});
    EXPECT_EQ(After[static_cast<std::size_t>(29 * 100 + 59)], Buffer[29 * 60 + 59]);
    EXPECT_EQ(After[static_cast<std::size_t>(30 * 100 + 10)], Before[30 * 100 + 10]);
    EXPECT_EQ(After[static_cast<std::size_t>(10 * 100 + 60)], Before[10 * 100 + 60]);
}

TEST_F(X11Test, TheOutlineIsTheBoundingAndTheInputShape)
{
    auto Window = MakeWindow(TRect::FromSize(60, 70, 100, 100));
    // A ring in banded order, as the framework's regions give it.
    const std::vector<TRect> Ring{
        {0, 0, 100, 10}, {0, 10, 10, 90}, {90, 10, 100, 90}, {0, 90, 100, 100}};
    Window->SetShape(Ring);
    SyncPort();
    EXPECT_EQ(ReadShape(Window->GetXWindow(), ShapeBounding), Ring);
    EXPECT_EQ(ReadShape(Window->GetXWindow(), ShapeInput), Ring);

    Window->SetShape(std::vector<TRect>{});
    SyncPort();
    EXPECT_TRUE(ReadShape(Window->GetXWindow(), ShapeBounding).empty());
    EXPECT_TRUE(ReadShape(Window->GetXWindow(), ShapeInput).empty());

    Window->SetShape(std::nullopt);
    SyncPort();
    const std::vector<TRect> Whole{{0, 0, 100, 100}};
    EXPECT_EQ(ReadShape(Window->GetXWindow(), ShapeBounding), Whole);
    EXPECT_EQ(ReadShape(Window->GetXWindow(), ShapeInput), Whole);
}

TEST_F(X11Test, ClicksOutsideTheOutlineReachTheWindowBehind)
{
    TEventRecorder BehindEvents;
    TPlatformWindowParams Params;
    Params.Bounds = TRect::FromSize(50, 50, 200, 200);
    std::unique_ptr<TPlatformWindow> Behind = X11Port().CreateNativeWindow(Params, &BehindEvents);
    ShowAndWait(static_cast<TX11Window&>(*Behind));
    auto Ring = MakeWindow(TRect::FromSize(100, 100, 100, 100));
    Ring->SetShape(
        std::vector<TRect>{{0, 0, 100, 10}, {0, 10, 10, 90}, {90, 10, 100, 90}, {0, 90, 100, 100}});
    ShowAndWait(*Ring);

    MovePointer({150, 150}); // the hole of the ring
    PointerButton(1, true);
    PointerButton(1, false);
    MovePointer({105, 150}); // the ring itself
    PointerButton(1, true);
    PointerButton(1, false);
    ASSERT_TRUE(PumpUntil([&] { return Recorder.OfKind(TRecordedEvent::MouseUp).size() == 1; }));
    PumpPending();

    const auto BehindDowns = BehindEvents.OfKind(TRecordedEvent::MouseDown);
    ASSERT_EQ(BehindDowns.size(), 1u);
    EXPECT_EQ(BehindDowns[0].Point, TPoint(100, 100));
    const auto RingDowns = Recorder.OfKind(TRecordedEvent::MouseDown);
    ASSERT_EQ(RingDowns.size(), 1u);
    EXPECT_EQ(RingDowns[0].Point, TPoint(5, 50));
}

TEST_F(X11Test, StateAndDecorationAreSetBeforeMapping)
{
    TPlatformWindowParams Params;
    Params.StayOnTop = true;
    Params.TaskbarButton = false;
    auto Window = MakeWindow(TRect::FromSize(10, 10, 50, 40), Params);
    const unsigned long W = Window->GetXWindow();
    SyncPort();
    const unsigned long StateAbove = Intern("_NET_WM_STATE_ABOVE");
    const unsigned long StateSkip = Intern("_NET_WM_STATE_SKIP_TASKBAR");
    EXPECT_EQ(ReadAtoms(W, "_NET_WM_STATE"), (std::vector<unsigned long>{StateAbove, StateSkip}));
    // Borderless: the Motif hints ask for no decoration at all.
    EXPECT_EQ(ReadCardinals(W, "_MOTIF_WM_HINTS"), (std::vector<long>{2, 0, 0, 0, 0}));
    EXPECT_EQ(ReadAtoms(W, "_NET_WM_WINDOW_TYPE"),
              (std::vector<unsigned long>{Intern("_NET_WM_WINDOW_TYPE_NORMAL")}));
    EXPECT_EQ(ReadAtoms(W, "WM_PROTOCOLS"),
              (std::vector<unsigned long>{Intern("WM_DELETE_WINDOW"), Intern("_NET_WM_PING")}));

    Window->SetStayOnTop(false);
    SyncPort();
    EXPECT_EQ(ReadAtoms(W, "_NET_WM_STATE"), (std::vector<unsigned long>{StateSkip}));
    Window->SetStayOnTop(true);
    Window->SetTaskbarButton(true);
    SyncPort();
    EXPECT_EQ(ReadAtoms(W, "_NET_WM_STATE"), (std::vector<unsigned long>{StateAbove}));
}

TEST_F(X11Test, WithoutAWindowManagerTheStateStaysTrueAfterMapping)
{
    auto Window = MakeWindow(TRect::FromSize(10, 10, 50, 40));
    ShowAndWait(*Window);
    Window->SetTaskbarButton(false);
    SyncPort();
    EXPECT_EQ(ReadAtoms(Window->GetXWindow(), "_NET_WM_STATE"),
              (std::vector<unsigned long>{Intern("_NET_WM_STATE_SKIP_TASKBAR")}));
}

TEST_F(X11Test, DialogsAreDecoratedAndPopupsAreTheirOwn)
{
    TPlatformWindowParams Dialog;
    Dialog.Frame = TWindowFrame::Dialog;
    auto D = MakeWindow(TRect::FromSize(10, 10, 200, 150), Dialog);
    SyncPort();
    const std::vector<long> Hints = ReadCardinals(D->GetXWindow(), "_MOTIF_WM_HINTS");
    ASSERT_EQ(Hints.size(), 5u);
    EXPECT_NE(Hints[2] & 8, 0) << "a title bar";
    EXPECT_EQ(Hints[1] & 2, 0) << "no resizing";
    // No window manager has told of a frame: none is reckoned with.
    EXPECT_EQ(D->GetClientOffset(), TRect{});

    TPlatformWindowParams Menu;
    Menu.Popup = true;
    auto P = MakeWindow(TRect::FromSize(30, 30, 80, 120), Menu);
    XWindowAttributes Attributes{};
    ASSERT_TRUE(XGetWindowAttributes(Observer, P->GetXWindow(), &Attributes));
    EXPECT_TRUE(Attributes.override_redirect);
    EXPECT_EQ(ReadAtoms(P->GetXWindow(), "_NET_WM_WINDOW_TYPE"),
              (std::vector<unsigned long>{Intern("_NET_WM_WINDOW_TYPE_POPUP_MENU")}));
}

// A window manager answers the request for frame extents with whatever it likes: negative and
// absurd insets are bounded, so the client rectangle stays inside the window.
TEST_F(X11Test, AbsurdFrameExtentsFromTheWindowManagerAreBounded)
{
    // A manager as EWMH has it announce itself: a check window named on the root and by itself,
    // and the request among what it supports.
    Display* Manager = XOpenDisplay(DisplayString(Observer));
    ASSERT_NE(Manager, nullptr);
    const Window Root = DefaultRootWindow(Manager);
    const Atom Request = XInternAtom(Manager, "_NET_REQUEST_FRAME_EXTENTS", False);
    const Atom Extents = XInternAtom(Manager, "_NET_FRAME_EXTENTS", False);
    const Atom Check = XInternAtom(Manager, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom Supported = XInternAtom(Manager, "_NET_SUPPORTED", False);
    const Window CheckWindow = XCreateSimpleWindow(Manager, Root, 0, 0, 1, 1, 0, 0, 0);
    for (const Window On : {Root, CheckWindow})
        XChangeProperty(Manager, On, Check, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&CheckWindow), 1);
    XChangeProperty(Manager, Root, Supported, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Request), 1);
    XSelectInput(Manager, Root, SubstructureNotifyMask);
    XSync(Manager, False);
    std::thread Answer([&] {
        for (int Waited = 0; Waited < 5000; Waited += 10) {
            while (XPending(Manager)) {
                XEvent E;
                XNextEvent(Manager, &E);
                if (E.type != ClientMessage || E.xclient.message_type != Request)
                    continue;
                const long Hostile[4] = {-50, 0x7fffffff, 70000, -1};
                XChangeProperty(Manager, E.xclient.window, Extents, XA_CARDINAL, 32,
                                PropModeReplace, reinterpret_cast<const unsigned char*>(Hostile),
                                4);
                XFlush(Manager);
                return;
            }
            usleep(10000);
        }
    });
    TPlatformWindowParams Framed;
    Framed.Frame = TWindowFrame::Sizeable;
    auto Window = MakeWindow(TRect::FromSize(100, 100, 200, 150), Framed);
    Answer.join();
    XDeleteProperty(Manager, Root, Check);
    XDeleteProperty(Manager, Root, Supported);
    XCloseDisplay(Manager);
    const TRect Insets = Window->GetClientOffset();
    for (const int Inset : {Insets.Left, Insets.Top, Insets.Right, Insets.Bottom}) {
        EXPECT_GE(Inset, 0);
        EXPECT_LE(Inset, 4096);
    }
    EXPECT_NE(Insets, TRect{}) << "the extents were not asked for or not read";
    const TPoint Client = Window->GetClientSize();
    EXPECT_EQ(Client, (TPoint{0, 0})) << "the insets are wider than the window";
}

TEST_F(X11Test, TheWindowClassNamesTheProgram)
{
    auto Window = MakeWindow(TRect::FromSize(10, 10, 50, 40));
    SyncPort();
    XClassHint Class{};
    ASSERT_TRUE(XGetClassHint(Observer, Window->GetXWindow(), &Class));
    const std::string Name = Class.res_name, ClassName = Class.res_class;
    XFree(Class.res_name);
    XFree(Class.res_class);
    // The tests run as x11_tests.
    EXPECT_EQ(Name, "x11_tests");
    EXPECT_EQ(ClassName, "X11_tests");
}

struct TTitleCase
{
    const char* Label;
    std::string Title;
    std::string WmName; // as WM_NAME holds it
    const char* WmNameType;
};

class X11TitleTest : public X11Test, public testing::WithParamInterface<TTitleCase>
{};

TEST_P(X11TitleTest, IsUtf8ForEwmhAndLatin1WhenItCanBe)
{
    auto Window = MakeWindow(TRect::FromSize(10, 10, 50, 40));
    Window->SetTitle(GetParam().Title);
    SyncPort();
    EXPECT_EQ(ReadText(Window->GetXWindow(), "_NET_WM_NAME"), GetParam().Title);
    EXPECT_EQ(ReadText(Window->GetXWindow(), "WM_NAME"), GetParam().WmName);
    ::Atom Type = XNone;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    XGetWindowProperty(Observer, Window->GetXWindow(), XA_WM_NAME, 0, 1024, False, AnyPropertyType,
                       &Type, &Format, &Count, &After, &Data);
    if (Data)
        XFree(Data);
    EXPECT_EQ(Type, Intern(GetParam().WmNameType));
}

INSTANTIATE_TEST_SUITE_P(Titles, X11TitleTest,
                         testing::Values(TTitleCase{"Ascii", "Nixie", "Nixie", "STRING"},
                                         TTitleCase{"Latin1", "Uhr \xC3\xBC", "Uhr \xFC", "STRING"},
                                         TTitleCase{"Wider", "\xE6\x99\x82\xE8\xA8\x88",
                                                    "\xE6\x99\x82\xE8\xA8\x88", "UTF8_STRING"},
                                         TTitleCase{"Empty", "", "", "STRING"}),
                         [](const testing::TestParamInfo<TTitleCase>& Info) {
                             return std::string(Info.param.Label);
                         });

TPoint RootPosition(_XDisplay* D, unsigned long Window)
{
    int X = 0, Y = 0;
    ::Window Child = XNone;
    XTranslateCoordinates(D, Window, DefaultRootWindow(D), 0, 0, &X, &Y, &Child);
    return {X, Y};
}

TPoint Size(_XDisplay* D, unsigned long Window)
{
    XWindowAttributes A{};
    XGetWindowAttributes(D, Window, &A);
    return {A.width, A.height};
}

TEST_F(X11Test, BoundsAreWhereTheServerPutsTheWindow)
{
    auto Window = MakeWindow(TRect::FromSize(70, 80, 120, 90));
    ShowAndWait(*Window);
    EXPECT_EQ(RootPosition(Observer, Window->GetXWindow()), TPoint(70, 80));
    EXPECT_EQ(Size(Observer, Window->GetXWindow()), TPoint(120, 90));

    Window->SetBounds(TRect::FromSize(200, 210, 64, 48));
    SyncPort();
    EXPECT_EQ(Window->GetBounds(), TRect::FromSize(200, 210, 64, 48));
    EXPECT_EQ(RootPosition(Observer, Window->GetXWindow()), TPoint(200, 210));
    EXPECT_EQ(Size(Observer, Window->GetXWindow()), TPoint(64, 48));
    // The fixed size told to window managers follows.
    XSizeHints Hints{};
    long Supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(Observer, Window->GetXWindow(), &Hints, &Supplied));
    EXPECT_EQ(Hints.min_width, 64);
    EXPECT_EQ(Hints.max_height, 48);
    EXPECT_EQ(Hints.win_gravity, NorthWestGravity);
}

TEST_F(X11Test, OwnMovesAreNoNewsButOthersAre)
{
    auto Window = MakeWindow(TRect::FromSize(70, 80, 120, 90));
    ShowAndWait(*Window);
    Recorder.Events.clear();
    // A live drag: many moves before the server has confirmed any. None of the echoes may look
    // like the window going back.
    for (int I = 1; I <= 20; ++I)
        Window->SetBounds(TRect::FromSize(70 + I * 3, 80 + I, 120, 90));
    PumpPending();
    EXPECT_FALSE(Recorder.Has(TRecordedEvent::Moved));
    EXPECT_EQ(Window->GetBounds(), TRect::FromSize(130, 100, 120, 90));

    XMoveWindow(Observer, Window->GetXWindow(), 300, 310);
    XSync(Observer, False);
    ASSERT_TRUE(PumpUntil([&] { return Recorder.Has(TRecordedEvent::Moved); }));
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::Moved).back().Rect,
              TRect::FromSize(300, 310, 120, 90));
    EXPECT_EQ(Window->GetBounds(), TRect::FromSize(300, 310, 120, 90));
}

TEST_F(X11Test, MappingExposesTheClientArea)
{
    auto Window = MakeWindow(TRect::FromSize(70, 80, 120, 90));
    ShowAndWait(*Window);
    PumpPending();
    TRect Exposed;
    for (const TRecordedEvent& E : Recorder.OfKind(TRecordedEvent::Exposed))
        Exposed = Exposed.Union(E.Rect);
    EXPECT_EQ(Exposed, TRect(0, 0, 120, 90));
}

TEST_F(X11Test, TheCloseButtonAsksToClose)
{
    auto Window = MakeWindow(TRect::FromSize(70, 80, 120, 90));
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = Window->GetXWindow();
    E.xclient.message_type = Intern("WM_PROTOCOLS");
    E.xclient.format = 32;
    E.xclient.data.l[0] = static_cast<long>(Intern("WM_DELETE_WINDOW"));
    E.xclient.data.l[1] = CurrentTime;
    XSendEvent(Observer, Window->GetXWindow(), False, NoEventMask, &E);
    XSync(Observer, False);
    ASSERT_TRUE(PumpUntil([&] { return Recorder.Has(TRecordedEvent::CloseRequest); }));
    // The window stays: closing is the framework's decision.
    XWindowAttributes A{};
    EXPECT_TRUE(XGetWindowAttributes(Observer, Window->GetXWindow(), &A));
}

TEST_F(X11Test, HiddenWindowsAreUnmappedAndDestroyedOnesGone)
{
    auto Window = MakeWindow(TRect::FromSize(70, 80, 120, 90));
    ShowAndWait(*Window);
    Window->Hide();
    ASSERT_TRUE(PumpUntil([&] { return !Window->IsMapped(); }));
    XWindowAttributes A{};
    ASSERT_TRUE(XGetWindowAttributes(Observer, Window->GetXWindow(), &A));
    EXPECT_EQ(A.map_state, IsUnmapped);
    const unsigned long Id = Window->GetXWindow();
    Window.reset();
    EXPECT_EQ(X11Port().FindWindow(Id), nullptr);
    const int Errors = TX11Display::GetErrorCount();
    X11Port().GetDisplay()->BeginTrap();
    XGetWindowAttributes(X11Port().GetDisplay()->Get(), Id, &A);
    EXPECT_EQ(X11Port().GetDisplay()->EndTrap(), BadWindow);
    EXPECT_EQ(TX11Display::GetErrorCount(), Errors + 1);
}

} // namespace
