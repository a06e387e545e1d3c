// Input through the X11 port from real (XTest) pointer and keyboard events: what the framework
// hears, in client coordinates, with the Windows button and modifier bits. As on Windows, the
// client points of a window that moves itself are measured from where the window is when they are
// delivered, not from where the server had it when the pointer moved: a window dragged along with
// the pointer depends on it.
#include "framework/windows/Messages.h"
#include "tests/x11/X11TestSupport.h"

#include <thread>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

#include <X11/extensions/XTest.h>

namespace {

// Every case's window: client area at (100, 120), 200 x 150.
constexpr TRect Bounds = TRect::FromSize(100, 120, 200, 150);

class X11InputTest : public X11Test
{
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        Window = MakeWindow(Bounds);
        ShowAndWait(*Window);
        PumpPending();
        Recorder.Events.clear();
    }
    void TearDown() override
    {
        Window.reset();
        X11Test::TearDown();
    }
    // Waits for Count events of a kind.
    std::vector<TRecordedEvent> Await(TRecordedEvent::TKind Kind, std::size_t Count)
    {
        EXPECT_TRUE(PumpUntil([&] { return Recorder.OfKind(Kind).size() >= Count; }))
            << "waited for " << Count << " events of kind " << Kind;
        return Recorder.OfKind(Kind);
    }
    std::unique_ptr<TX11Window> Window;
};

TEST_F(X11InputTest, APressAMoveAndAReleaseInClientCoordinates)
{
    MovePointer({130, 140});
    PointerButton(1, true);
    MovePointer({150, 170});
    PointerButton(1, false);
    const auto Ups = Await(TRecordedEvent::MouseUp, 1);
    const auto Downs = Recorder.OfKind(TRecordedEvent::MouseDown);
    const auto Moves = Recorder.OfKind(TRecordedEvent::MouseMove);
    ASSERT_EQ(Downs.size(), 1u);
    EXPECT_EQ(Downs[0].Pressed, TMouseButton::Left);
    EXPECT_EQ(Downs[0].Point, TPoint(30, 20));
    EXPECT_EQ(Downs[0].Shift, unsigned(ssLeft));
    ASSERT_FALSE(Moves.empty());
    EXPECT_EQ(Moves.back().Point, TPoint(50, 50));
    EXPECT_EQ(Moves.back().Shift, unsigned(ssLeft));
    EXPECT_EQ(Ups[0].Pressed, TMouseButton::Left);
    EXPECT_EQ(Ups[0].Point, TPoint(50, 50));
    EXPECT_EQ(Ups[0].Shift, 0u); // released: no longer held, as Windows reports it
}

struct TButtonCase
{
    unsigned XButton;
    TMouseButton Button;
    unsigned Bit;
};

class X11ButtonTest : public X11InputTest, public testing::WithParamInterface<TButtonCase>
{};

TEST_P(X11ButtonTest, NamesTheButtonAndHoldsItsBit)
{
    MovePointer({110, 130});
    PointerButton(GetParam().XButton, true);
    PointerButton(GetParam().XButton, false);
    Await(TRecordedEvent::MouseUp, 1);
    const auto Downs = Recorder.OfKind(TRecordedEvent::MouseDown);
    ASSERT_EQ(Downs.size(), 1u);
    EXPECT_EQ(Downs[0].Pressed, GetParam().Button);
    EXPECT_EQ(Downs[0].Shift, GetParam().Bit);
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::MouseUp)[0].Pressed, GetParam().Button);
}

INSTANTIATE_TEST_SUITE_P(Buttons, X11ButtonTest,
                         testing::Values(TButtonCase{1, TMouseButton::Left, ssLeft},
                                         TButtonCase{2, TMouseButton::Middle, ssMiddle},
                                         TButtonCase{3, TMouseButton::Right, ssRight}),
                         [](const testing::TestParamInfo<TButtonCase>& I) {
                             return "Button" + std::to_string(I.param.XButton);
                         });

TEST_F(X11InputTest, TheWheelIsNoButton)
{
    MovePointer({110, 130});
    PointerButton(4, true);
    PointerButton(4, false);
    PointerButton(5, true);
    PointerButton(5, false);
    PointerButton(1, true);
    PointerButton(1, false);
    Await(TRecordedEvent::MouseUp, 1);
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::MouseDown).size(), 1u);
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::MouseUp).size(), 1u);
}

TEST_F(X11InputTest, TwoQuickPressesMakeADoubleClick)
{
    MovePointer({160, 160});
    PointerButton(1, true);
    PointerButton(1, false);
    MovePointer({162, 161});
    PointerButton(1, true);
    PointerButton(1, false);
    Await(TRecordedEvent::MouseUp, 2);
    const auto Downs = Recorder.OfKind(TRecordedEvent::MouseDown);
    ASSERT_EQ(Downs.size(), 2u);
    EXPECT_EQ(Downs[0].Shift & ssDouble, 0u);
    EXPECT_EQ(Downs[1].Shift & ssDouble, unsigned(ssDouble));
}

TEST_F(X11InputTest, MovementsComeAsTheNewestPosition)
{
    for (int I = 0; I < 10; ++I)
        MovePointer({110 + I * 5, 130 + I});
    PumpPending();
    const auto Moves = Recorder.OfKind(TRecordedEvent::MouseMove);
    ASSERT_EQ(Moves.size(), 1u);
    EXPECT_EQ(Moves[0].Point, TPoint(55, 19));
}

TEST_F(X11InputTest, TheCaptureFollowsThePointerOutside)
{
    MovePointer({20, 30});
    PumpPending();
    EXPECT_FALSE(Recorder.Has(TRecordedEvent::MouseMove)); // not ours without capture

    Window->SetCapture(true);
    EXPECT_TRUE(Window->IsCaptured());
    MovePointer({20, 31});
    const auto Moves = Await(TRecordedEvent::MouseMove, 1);
    EXPECT_EQ(Moves.back().Point, TPoint(-80, -89));
    PointerButton(1, true);
    PointerButton(1, false);
    const auto Ups = Await(TRecordedEvent::MouseUp, 1);
    EXPECT_EQ(Ups[0].Point, TPoint(-80, -89));

    Window->SetCapture(false);
    EXPECT_FALSE(Window->IsCaptured());
    PumpPending(); // the server has seen the release before the next movement
    Recorder.Events.clear();
    MovePointer({25, 35});
    PumpPending();
    EXPECT_FALSE(Recorder.Has(TRecordedEvent::MouseMove));
}

TEST_F(X11InputTest, ACaptureAnotherClientHoldsIsLostAtOnce)
{
    ASSERT_EQ(XGrabPointer(Observer, DefaultRootWindow(Observer), False, ButtonPressMask,
                           GrabModeAsync, GrabModeAsync, XNone, XNone, CurrentTime),
              GrabSuccess);
    XSync(Observer, False);
    Window->SetCapture(true);
    EXPECT_FALSE(Window->IsCaptured());
    EXPECT_FALSE(Recorder.Has(TRecordedEvent::CaptureLost)); // not in the middle of asking
    EXPECT_TRUE(X11Port().WaitEvents(0));
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::CaptureLost).size(), 1u);
    XUngrabPointer(Observer, CurrentTime);
    XSync(Observer, False);
}

TEST_F(X11InputTest, TheCaptureEndsWhenAnotherClientUnmapsTheWindow)
{
    Window->SetCapture(true);
    ASSERT_TRUE(Window->IsCaptured());
    XUnmapWindow(Observer, Window->GetXWindow());
    XSync(Observer, False);
    Await(TRecordedEvent::CaptureLost, 1);
    EXPECT_FALSE(Window->IsCaptured());
}

struct TKeyCase
{
    const char* Label;
    unsigned long Modifier; // 0: none
    unsigned long Keysym;
    unsigned VirtualKey;
    unsigned Shift;
    char32_t Character; // 0: none
};

class X11KeyTest : public X11InputTest, public testing::WithParamInterface<TKeyCase>
{};

TEST_P(X11KeyTest, GivesTheKeyAndItsCharacter)
{
    const TKeyCase& C = GetParam();
    Window->Activate();
    Await(TRecordedEvent::FocusChange, 1);
    Recorder.Events.clear();
    if (C.Modifier)
        Key(C.Modifier, true);
    Key(C.Keysym, true);
    Key(C.Keysym, false);
    if (C.Modifier)
        Key(C.Modifier, false);
    const std::size_t Ups = C.Modifier ? 2 : 1;
    Await(TRecordedEvent::KeyUp, Ups);

    std::vector<TRecordedEvent> Downs = Recorder.OfKind(TRecordedEvent::KeyDown);
    ASSERT_EQ(Downs.size(), C.Modifier ? 2u : 1u);
    EXPECT_EQ(Downs.back().Key, C.VirtualKey);
    EXPECT_EQ(Downs.back().Shift, C.Shift);
    const auto Characters = Recorder.OfKind(TRecordedEvent::Character);
    if (C.Character) {
        ASSERT_EQ(Characters.size(), 1u);
        EXPECT_EQ(Characters[0].Typed, C.Character);
    } else {
        EXPECT_TRUE(Characters.empty());
    }
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::KeyUp)[0].Key, C.VirtualKey);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, X11KeyTest,
    testing::Values(TKeyCase{"Letter", 0, XK_a, 'A', 0, U'a'},
                    TKeyCase{"ShiftedLetter", XK_Shift_L, XK_a, 'A', ssShift, U'A'},
                    TKeyCase{"ShiftedDigit", XK_Shift_L, XK_1, '1', ssShift, U'!'},
                    TKeyCase{"ControlLetter", XK_Control_L, XK_c, 'C', ssCtrl, 0x03},
                    TKeyCase{"AltLetter", XK_Alt_L, XK_x, 'X', ssAlt, U'x'},
                    TKeyCase{"Enter", 0, XK_Return, VK_RETURN, 0, 0x0D},
                    TKeyCase{"Escape", 0, XK_Escape, VK_ESCAPE, 0, 0x1B},
                    TKeyCase{"Backspace", 0, XK_BackSpace, VK_BACK, 0, 0x08},
                    TKeyCase{"Delete", 0, XK_Delete, VK_DELETE, 0, 0},
                    TKeyCase{"Left", 0, XK_Left, VK_LEFT, 0, 0},
                    TKeyCase{"F5", 0, XK_F5, 0x74, 0, 0}),
    [](const testing::TestParamInfo<TKeyCase>& Info) { return std::string(Info.param.Label); });

TEST_F(X11InputTest, ModifierKeysHoldTheirOwnBit)
{
    Window->Activate();
    Await(TRecordedEvent::FocusChange, 1);
    Key(XK_Shift_L, true);
    Key(XK_Shift_L, false);
    Await(TRecordedEvent::KeyUp, 1);
    const auto Downs = Recorder.OfKind(TRecordedEvent::KeyDown);
    ASSERT_EQ(Downs.size(), 1u);
    EXPECT_EQ(Downs[0].Key, VK_SHIFT);
    EXPECT_EQ(Downs[0].Shift, unsigned(ssShift));
    EXPECT_EQ(Recorder.OfKind(TRecordedEvent::KeyUp)[0].Shift, 0u);
}

TEST_F(X11InputTest, CharactersBeyondAsciiArriveWhole)
{
    Window->Activate();
    Await(TRecordedEvent::FocusChange, 1);
    // A spare key of the server's keyboard made to type these.
    int Min = 0, Max = 0;
    XDisplayKeycodes(Observer, &Min, &Max);
    const KeyCode Spare = static_cast<KeyCode>(Max - 1);
    for (const auto& [Keysym, Character] :
         {std::pair<unsigned long, char32_t>{XK_udiaeresis, U'\u00FC'},
          {XK_EuroSign, U'\u20AC'},
          {0x01000000 + 0x6642, U'\u6642'}}) {
        KeySym Syms[2] = {Keysym, Keysym};
        XChangeKeyboardMapping(Observer, Spare, 2, Syms, 1);
        XSync(Observer, False);
        PumpPending(); // the mapping news
        Recorder.Events.clear();
        XTestFakeKeyEvent(Observer, Spare, True, 0);
        XTestFakeKeyEvent(Observer, Spare, False, 0);
        XSync(Observer, False);
        const auto Characters = Await(TRecordedEvent::Character, 1);
        ASSERT_EQ(Characters.size(), 1u);
        EXPECT_EQ(Characters[0].Typed, Character) << std::hex << Keysym;
    }
    KeySym Nothing[2] = {0, 0};
    XChangeKeyboardMapping(Observer, Spare, 2, Nothing, 1);
    XSync(Observer, False);
}

TEST_F(X11InputTest, FocusComesAndGoes)
{
    Window->Activate();
    const auto Gained = Await(TRecordedEvent::FocusChange, 1);
    EXPECT_TRUE(Gained[0].Gained);
    XSetInputFocus(Observer, DefaultRootWindow(Observer), RevertToPointerRoot, CurrentTime);
    XSync(Observer, False);
    const auto Both = Await(TRecordedEvent::FocusChange, 2);
    EXPECT_FALSE(Both[1].Gained);
}

TEST_F(X11InputTest, ThePointerPositionIsOnTheScreen)
{
    MovePointer({123, 45});
    EXPECT_EQ(X11Port().GetCursorPos(), TPoint(123, 45));
    MovePointer({0, 1023});
    EXPECT_EQ(X11Port().GetCursorPos(), TPoint(0, 1023));
}

TEST_F(X11InputTest, AMoveOnItsWayCountsForEventsStillToCome)
{
    MovePointer({150, 170});
    PointerButton(1, true);
    MovePointer({160, 175}); // the server reports it from (100, 120)...
    Window->SetBounds(TRect::FromSize(130, 100, 200, 150)); // ...but we moved before reading it
    PointerButton(1, false);
    const auto Ups = Await(TRecordedEvent::MouseUp, 1);
    const auto Downs = Recorder.OfKind(TRecordedEvent::MouseDown);
    const auto Moves = Recorder.OfKind(TRecordedEvent::MouseMove);
    ASSERT_EQ(Downs.size(), 1u);
    ASSERT_FALSE(Moves.empty());
    ASSERT_FALSE(Ups.empty());
    EXPECT_EQ(Downs[0].Point, TPoint(20, 70));
    EXPECT_EQ(Moves.back().Point, TPoint(30, 75));
    EXPECT_EQ(Ups[0].Point, TPoint(30, 75));
}

} // namespace
