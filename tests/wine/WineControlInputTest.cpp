// Controls of a form of this process under hardware input (SendInput): a click made while a
// modifier key is held, whose mouse events say which, Alt included, which Windows gives a mouse
// message only through the key state; and the shaped window dragged by its face after its form's
// window was made anew to stay on top; the pointer over a label with the hand cursor shows the
// system's hand.
#include "framework/windows/WindowManager.h"
#include "platform/win32/Win32Window.h"
#include "tests/e2e/ClockDriver.h"
#include "tests/support/CaseName.h"
#include "tests/support/FaceForm.h"
#include "tests/support/LinkForm.h"
#include "tests/support/ModifierProbe.h"
#include "tests/wine/PointerInput.h"
#include "tests/wine/WineClockDriver.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int InputTimeoutMs = 10000;

struct THeldKeyCase
{
    const char* Name;
    unsigned short VirtualKey; // 0: nothing held
    TShiftState Shift;
};

class WineInputTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TWindowManager::Reset();
        App = std::make_unique<TApplication>(nullptr);
        App->Initialize();
    }
    void TearDown() override
    {
        ReleaseAllButtons();
        App.reset();
        TWindowManager::Reset();
    }
    // Lets the port deliver what the system has for its windows, then the framework dispatch it.
    void Pump()
    {
        TPlatform::Get().WaitEvents(0);
        App->ProcessMessages();
    }
    // Pumps until Done holds or the input timeout passes; whether it held.
    bool PumpUntil(const std::function<bool()>& Done)
    {
        return Eventually(
            [&] {
                Pump();
                return Done();
            },
            InputTimeoutMs);
    }
    // Shows Form and waits until its window is in the foreground, where input goes; the window.
    void* ShowInFront(TForm* Form)
    {
        Form->Show();
        auto* Peer = static_cast<TWin32Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
        if (!Peer)
            return nullptr;
        void* Window = Peer->GetHandle();
        return PumpUntil([&] { return IsForeground(Window); }) ? Window : nullptr;
    }
    std::unique_ptr<TApplication> App;
};

class WineControlInputTest : public WineInputTest, public testing::WithParamInterface<THeldKeyCase>
{};

TEST_P(WineControlInputTest, APressReachesOnMouseDownWithTheKeyHeld)
{
    const THeldKeyCase& C = GetParam();
    TModifierProbe Probe(*App, {300, 200});
    ASSERT_NE(ShowInFront(Probe.Form), nullptr);

    ASSERT_TRUE(MovePointer(Probe.OnScreen({15, 10})));
    if (C.VirtualKey) {
        ASSERT_TRUE(HoldKey(C.VirtualKey, true));
    }
    ASSERT_TRUE(PressButton(TPointerButton::Left));
    ASSERT_TRUE(ReleaseButton(TPointerButton::Left));
    if (C.VirtualKey) {
        ASSERT_TRUE(HoldKey(C.VirtualKey, false));
    }
    EXPECT_TRUE(PumpUntil([&] { return Probe.Seen.size() >= 2; }));
    EXPECT_EQ(Probe.Seen, TModifierProbe::Click(C.Shift, {15, 10}));
}

INSTANTIATE_TEST_SUITE_P(Held, WineControlInputTest,
                         testing::Values(THeldKeyCase{"Nothing", 0, 0},
                                         THeldKeyCase{"Shift", VK_SHIFT, ssShift},
                                         THeldKeyCase{"Ctrl", VK_CONTROL, ssCtrl},
                                         THeldKeyCase{"Alt", VK_MENU, ssAlt}),
                         ByName{});

TEST_F(WineInputTest, ThePointerOverAHandCursorLabelShowsTheHand)
{
    TForm* Form = MakeLinkForm(*App, {300, 200});
    void* const Window = ShowInFront(Form);
    ASSERT_NE(Window, nullptr);

    ASSERT_TRUE(MovePointer({300 + 100, 200 + 60}, Window));
    EXPECT_TRUE(PumpUntil([&] { return PointerShows(TCursorShape::Arrow); }));
    ASSERT_TRUE(MovePointer({300 + 30, 200 + 20}, Window));
    EXPECT_TRUE(PumpUntil([&] { return PointerShows(TCursorShape::Hand); }));
}

TEST_F(WineInputTest, AFaceWindowMadeAnewToStayOnTopIsCutToTheFaceAndDraggedByIt)
{
    const TFaceForm Shaped(*App, {300, 200}, FaceChecks[0].Id);
    TForm* Form = Shaped.Form;
    const HWND Old = Form->GetHandle();
    Form->SetFormStyle(fsStayOnTop);
    Shaped.Image->ApplyPictureRegion();
    ASSERT_NE(Form->GetHandle(), Old);
    auto* Peer = static_cast<TWin32Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    void* Window = Peer->GetHandle();
    EXPECT_TRUE(IsTopmost(Window));
    const std::optional<TNativeRegion> Region = ReadWindowRegion(Window);
    ASSERT_TRUE(Region) << "the window has no region";
    EXPECT_EQ(TRegion::FromRects(Region->Rects), Shaped.Outline);

    // Along the outline's widest band, so that the system sends every move and the release to
    // the window whether or not the form has taken the press (and the capture) by then.
    const TRect Band = Shaped.WidestBand();
    // A borderless window: its client area begins at its top-left corner.
    const TPoint Origin = ReadWindowBounds(Window).TopLeft();
    const TPoint Press = Origin + TPoint{Band.Left + Band.Width() / 4, Band.Top};
    const TPoint Step{Band.Width() / 2, 0};
    ASSERT_GT(Step.X, Shaped.Image->GetDragTolerance());
    ASSERT_TRUE(PumpUntil([&] { return WindowAt(Press) == Window; }));
    ASSERT_TRUE(MovePointer(Press));
    ASSERT_TRUE(PressButton(TPointerButton::Left));
    ASSERT_TRUE(MovePointer(Press + Step));
    ASSERT_TRUE(ReleaseButton(TPointerButton::Left));
    EXPECT_TRUE(PumpUntil([&] { return ReadWindowBounds(Window).TopLeft() == Origin + Step; }));
    EXPECT_EQ(Form->GetBoundsRect().TopLeft(), Origin + Step);
}

} // namespace
