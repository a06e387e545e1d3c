#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/stdctrls/PopupMenuWindow.h"
#include "framework/windows/Application.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/app/ClockFormTest.h"

#include <gtest/gtest.h>

namespace {

// The main form on the headless port, at a fixed time, shown at (200, 100).
class Form1Test : public ClockFormTest
{
protected:
    void SetUp() override
    {
        ClockFormTest::SetUp();
        TLocalTime T;
        T.Hour = 23;
        T.Minute = 59;
        T.Second = 58;
        Port().SetLocalTime(T);
        Seed("viewerleft", 200);
        Seed("viewertop", 100);
        Start();
    }

    HWND Handle() { return Form1->GetHandle(); }
};

TEST_F(Form1Test, TheDescriptionBuildsTheComponentsAndTheFirstStyleLaysThemOut)
{
    // The Nixie Large style: a window larger than its face, a digit display as wide.
    EXPECT_EQ(Form1->GetClientWidth(), 308);
    EXPECT_EQ(Form1->GetClientHeight(), 154);
    EXPECT_EQ(Form1->RidivAzoza1->GetBoundsRect(), TRect(0, 50, 308, 99));
    EXPECT_EQ(Form1->RidivAzoza1->GetImageList(), Form1->ImageListNixie);
    EXPECT_EQ(Form1->RidivAzoza1->GetColor(), clInactiveCaptionText);
    EXPECT_EQ(Form1->RidivAzoza1->GetDigit5X(), 248);
    EXPECT_EQ(Form1->TimerClock->GetInterval(), 250u);
    EXPECT_EQ(Form1->TimerStartup->GetInterval(), 100u);
    EXPECT_EQ(Form1->ImageListNixie->GetCount(), 10);
    EXPECT_EQ(Form1->ImageListVfdG->GetCount(), 16);
    EXPECT_EQ(Form1->PopupMenu1->GetItems()->GetCount(), 6);
    // The face's outline, as the description stores it too.
    const auto Outline = TWindowManager::Get().GetWindowRgn(Handle());
    ASSERT_TRUE(Outline.has_value());
    EXPECT_EQ(Outline->GetRectCount(), 132u);
    EXPECT_EQ(Outline->GetBounds(), TRect(5, 28, 276, 115));
    // The members as the constructor leaves them, and the four faces loaded.
    EXPECT_EQ(Form1->Hour24, 1);
    EXPECT_EQ(Form1->HideTask, 1);
    EXPECT_EQ(Form1->FacePicture[0]->GetWidth(), 300);
    EXPECT_EQ(Form1->FacePicture[3]->GetHeight(), 79);
}

struct TDragCase
{
    const char* Name;
    UINT DownMsg;
    TPoint Move;
    TPoint ExpectedTopLeft;
};

class Form1DigitDrag : public Form1Test, public testing::WithParamInterface<TDragCase>
{};

TEST_P(Form1DigitDrag, MovesTheWindowOnlyForALeftPressAndMoreThanOnePixel)
{
    const TDragCase& C = GetParam();
    const TPoint Press{120, 70}; // on the digit display, over the third tube
    Mouse(C.DownMsg, Press, C.DownMsg == WM_LBUTTONDOWN ? ssLeft : ssRight);
    Mouse(WM_MOUSEMOVE, Press + C.Move, C.DownMsg == WM_LBUTTONDOWN ? ssLeft : ssRight);
    EXPECT_EQ(Form1->GetBoundsRect().TopLeft(), C.ExpectedTopLeft) << C.Name;
    if (C.DownMsg == WM_LBUTTONDOWN) {
        EXPECT_EQ(Form1->Dragging, 1) << C.Name;
        Mouse(WM_LBUTTONUP, Press + C.Move);
    }
    // (A right-button release would open the context menu; a press alone must not drag.)
    EXPECT_EQ(Form1->Dragging, 0) << C.Name;
    EXPECT_EQ(TWindowManager::Get().GetWindowRect(Handle()).TopLeft(), C.ExpectedTopLeft) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Form1DigitDrag,
    testing::Values(TDragCase{"still", WM_LBUTTONDOWN, {0, 0}, {200, 100}},
                    TDragCase{"one pixel each way", WM_LBUTTONDOWN, {1, -1}, {200, 100}},
                    TDragCase{"two pixels", WM_LBUTTONDOWN, {2, 0}, {202, 100}},
                    TDragCase{"far", WM_LBUTTONDOWN, {-30, 17}, {170, 117}},
                    TDragCase{"right button", WM_RBUTTONDOWN, {30, 30}, {200, 100}}),
    [](const auto& Info) {
        std::string N = Info.param.Name;
        for (char& Ch : N)
            if (!std::isalnum(static_cast<unsigned char>(Ch)))
                Ch = '_';
        return N;
    });

TEST_F(Form1Test, TheTimerShowsTheTimeAndHidesTheTaskbarButton)
{
    THeadlessWindow* Native = NativeOfForm1();
    ASSERT_NE(Native, nullptr);
    EXPECT_TRUE(Native->GetParams().TaskbarButton);
    const TPixel Before = Native->GetScreenPixel(248 + 11, 50 + 20);
    // Two seconds on: 23:59:58 becomes 00:00:00, every digit changes.
    Port().QueueEvent([] {}, 2000);
    Port().QueueEvent([&] { App->Terminate(); }, 2100);
    App->Run();
    EXPECT_FALSE(Native->GetParams().TaskbarButton);
    EXPECT_NE(Native->GetScreenPixel(248 + 11, 50 + 20), Before);
}

TEST_F(Form1Test, ATickPresentsOnlyTheDigitDisplay)
{
    THeadlessWindow* Native = NativeOfForm1();
    ASSERT_NE(Native, nullptr);
    Native->ClearPresented();
    // One tick: 23:59:58 is still the time, and the digits are drawn again all the same.
    Port().QueueEvent([&] { App->Terminate(); }, 260);
    App->Run();
    const std::vector<THeadlessFrame>& Frames = Native->GetPresentedFrames();
    ASSERT_FALSE(Frames.empty());
    const TRect Digits = Form1->RidivAzoza1->GetBoundsRect();
    for (const THeadlessFrame& F : Frames) {
        EXPECT_EQ(F.Rect.Union(Digits), Digits) << "a tick presented more than the digits";
        // What was presented is what the window shows: nothing painted it over afterwards.
        for (int Y = F.Rect.Top; Y < F.Rect.Bottom; Y += 7)
            for (int X = F.Rect.Left; X < F.Rect.Right; X += 5)
                ASSERT_EQ(F.At(X, Y), Native->GetScreenPixel(X, Y)) << X << "," << Y;
    }
}

TEST_F(Form1Test, ARightClickOnTheFaceOpensTheMenuThereAndQuitEndsTheRun)
{
    Port().SetScreenSize({1024, 768});
    const TPoint Click{150, 40}; // on the face, above the digit display
    std::vector<std::string> Log;
    // All input comes through the port while the loops wait, as on a desktop.
    Port().QueueEvent(
        [&] {
            TWindowManager::Get().HandleMouse(Handle(), WM_RBUTTONDOWN, ssRight, Click);
            TWindowManager::Get().HandleMouse(Handle(), WM_RBUTTONUP, 0, Click);
        },
        10);
    Port().QueueEvent(
        [&] {
            TPopupMenuTracker* T = TPopupMenuTracker::GetActive();
            if (!T) {
                Log.push_back("no menu");
                return;
            }
            const HWND Menu = T->GetWindow(0);
            Log.push_back(TWindowManager::Get().GetWindowRect(Menu).TopLeft() ==
                                  Form1->ClientToScreen(Click)
                              ? "menu at the click"
                              : "menu elsewhere");
            const TMenuLayout& L = T->GetLayout(0);
            for (int I = 0; I < L.GetCount(); ++I)
                if (ParseMenuCaption(L.GetEntry(I).Caption).Text == "Quit") {
                    const TRect& B = L.GetEntry(I).Bounds;
                    const TPoint P{(B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2};
                    TWindowManager::Get().HandleMouse(Menu, WM_LBUTTONDOWN, ssLeft, P);
                    TWindowManager::Get().HandleMouse(Menu, WM_LBUTTONUP, 0, P);
                }
        },
        100);
    Port().QueueEvent([&] { Log.push_back("still running"); }, 5000);
    App->Run();
    EXPECT_EQ(Log, (std::vector<std::string>{"menu at the click"}));
    EXPECT_TRUE(App->GetTerminated());
    EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
}

} // namespace
