// A click on a control of a form of this process, made on the real server with XTest while a
// modifier key is held: the control's mouse events say which, Alt included. The pointer moved
// over a label with the hand cursor shows the hand.
#include "framework/windows/WindowManager.h"
#include "tests/support/CaseName.h"
#include "tests/support/LinkForm.h"
#include "tests/support/ModifierProbe.h"
#include "tests/x11/X11TestSupport.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"
#if NIXIE_HAVE_XFIXES
#include <X11/extensions/Xfixes.h>
#endif

namespace {

struct THeldKeyCase
{
    const char* Name;
    unsigned long Keysym; // 0: nothing held
    TShiftState Shift;
};

class X11ControlInputTest : public X11AppTest, public testing::WithParamInterface<THeldKeyCase>
{};

TEST_P(X11ControlInputTest, APressReachesOnMouseDownWithTheKeyHeld)
{
    const THeldKeyCase& C = GetParam();
    TModifierProbe Probe(*App, {200, 150});
    Probe.Form->Show();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Probe.Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));

    if (C.Keysym)
        Key(C.Keysym, true);
    MovePointer(Probe.OnScreen({15, 10}));
    PointerButton(1, true);
    PointerButton(1, false);
    if (C.Keysym)
        Key(C.Keysym, false);
    EXPECT_TRUE(DispatchUntil([&] { return Probe.Seen.size() >= 2; }));
    EXPECT_EQ(Probe.Seen, TModifierProbe::Click(C.Shift, {15, 10}));
}

INSTANTIATE_TEST_SUITE_P(Held, X11ControlInputTest,
                         testing::Values(THeldKeyCase{"Nothing", 0, 0},
                                         THeldKeyCase{"Shift", XK_Shift_L, ssShift},
                                         THeldKeyCase{"Ctrl", XK_Control_L, ssCtrl},
                                         THeldKeyCase{"Alt", XK_Alt_L, ssAlt}),
                         ByName{});

#if NIXIE_HAVE_XFIXES
// The picture of the pointer as the server shows it.
struct TCursorPicture
{
    int Width = 0, Height = 0, HotX = 0, HotY = 0;
    std::vector<unsigned long> Pixels;
    bool operator==(const TCursorPicture&) const = default;
};

TCursorPicture ShownCursor(Display* D)
{
    TCursorPicture Picture;
    if (XFixesCursorImage* Image = XFixesGetCursorImage(D)) {
        Picture = {Image->width, Image->height, Image->xhot, Image->yhot,
                   std::vector<unsigned long>(Image->pixels,
                                              Image->pixels + Image->width * Image->height)};
        XFree(Image);
    }
    return Picture;
}
#endif

TEST_F(X11AppTest, ThePointerOverAHandCursorLabelShowsTheHand)
{
    TForm* Form = MakeLinkForm(*App, {200, 150});
    Form->Show();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));

#if NIXIE_HAVE_XFIXES
    int EventBase = 0, ErrorBase = 0, Major = 5, Minor = 0;
    ASSERT_TRUE(XFixesQueryExtension(Observer, &EventBase, &ErrorBase));
    XFixesQueryVersion(Observer, &Major, &Minor);
    // The hand as the server draws it: over a window of the observer's that shows it.
    XSetWindowAttributes Attributes{};
    Attributes.override_redirect = True;
    Attributes.cursor = XCreateFontCursor(Observer, XC_hand2);
    const Window Sample =
        XCreateWindow(Observer, DefaultRootWindow(Observer), 0, 0, 20, 20, 0, CopyFromParent,
                      InputOnly, nullptr, CWOverrideRedirect | CWCursor, &Attributes);
    XMapRaised(Observer, Sample);
    MovePointer({10, 10});
    const TCursorPicture Hand = ShownCursor(Observer);
    XDestroyWindow(Observer, Sample);
    XFreeCursor(Observer, Attributes.cursor);
    XSync(Observer, False);
    ASSERT_GT(Hand.Width, 0);
    const auto Shown = [&] {
        SyncPort();
        return ShownCursor(Observer);
    };
#else
    const unsigned long Hand = X11Port().GetDisplay()->GetCursor(TCursorShape::Hand);
    const auto Shown = [&] { return Peer->GetCurrentCursor(); };
#endif

    bool OverForm = false;
    Form->OnMouseMove = [&](TObject*, TShiftState, int, int) { OverForm = true; };
    MovePointer({200 + 100, 150 + 60});
    ASSERT_TRUE(DispatchUntil([&] { return OverForm; }));
    EXPECT_NE(Shown(), Hand) << "the form's own pointer is the arrow";
    MovePointer({200 + 30, 150 + 20});
    EXPECT_TRUE(DispatchUntil([&] { return Shown() == Hand; }));
}

} // namespace
