#include "framework/windows/CustomControl.h"
#include "framework/windows/GraphicControl.h"
#include "framework/windows/Timer.h"
#include "tests/shaped/ShapedTestSupport.h"

#include <functional>
#include <optional>

namespace {

using TFrame = THeadlessPlatform::TScreenFrame;

// The three frames of an outline at R.
std::vector<TFrame> Outline(const TRect& R)
{
    return {{R, 1},
            {{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, 1},
            {{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2}, 1}};
}

// A 60 x 40 face, opaque but for its bottom-left pixel, on a form whose window is at (100, 50);
// presses at the client point (20, 20), which is (120, 70) on the screen.
class Drag : public ShapedTest
{
protected:
    static constexpr TPoint Press{120, 70};

    void SetUp() override
    {
        ShapedTest::SetUp();
        Form = ShowPictureForm(SolidBitmap(60, 40, clRed, true));
        Image = ImageOf(Form);
        Window = Form->GetHandle();
    }

    TPoint WindowPos() const { return WM().GetWindowRect(Window).TopLeft(); }

    // Input as the port delivers it while a loop waits: the pointer goes there, then the event.
    void QueueMouse(UINT Msg, TPoint Screen, unsigned Shift, int DelayMs = 10)
    {
        const HWND W = Window;
        Port().QueueEvent(
            [W, Msg, Screen, Shift] {
                Port().SetCursorPos(Screen);
                WM().HandleMouse(W, Msg, Shift, WM().ScreenToClient(W, Screen));
            },
            DelayMs);
    }
    void QueueMove(TPoint Screen, int DelayMs = 10)
    {
        QueueMouse(WM_MOUSEMOVE, Screen, ssLeft, DelayMs);
    }
    void QueueRelease(TPoint Screen) { QueueMouse(WM_LBUTTONUP, Screen, 0); }
    // Runs Check at that point of the input.
    void QueueCall(std::function<void()> Check) { Port().QueueEvent(std::move(Check), 10); }

    // Presses at a screen point and dispatches until the queue and the input are used up; a
    // quit message ends it and is kept in QuitCode.
    void PressAndRun(TPoint Screen = Press, unsigned Shift = ssLeft)
    {
        Port().SetCursorPos(Screen);
        WM().HandleMouse(Window, WM_LBUTTONDOWN, Shift, WM().ScreenToClient(Window, Screen));
        for (;;) {
            TMsg M;
            while (WM().PeekMessage(M, 0, 0, 0, PM_REMOVE)) {
                if (M.Message == WM_QUIT) {
                    QuitCode = int(M.WParam);
                    return;
                }
                WM().TranslateMessage(M);
                WM().DispatchMessage(M);
            }
            if (Port().GetQueuedEventCount() == 0)
                return;
            Port().WaitEvents(-1);
        }
    }

    std::vector<TFrame> Visible() const { return Port().GetVisibleScreenFrames(); }

    TShapedTestForm* Form = nullptr;
    TfcImageForm* Image = nullptr;
    HWND Window = 0;
    std::optional<int> QuitCode;
};

struct TToleranceCase
{
    int DX, DY;
    bool Drags;
};

void PrintTo(const TToleranceCase& C, std::ostream* Out)
{
    *Out << C.DX << "," << C.DY;
}

class DragTolerance : public Drag, public testing::WithParamInterface<TToleranceCase>
{};

// The order the form sees: the press, nothing during the drag, then the release, by which time
// the window has been moved.
TEST_P(DragTolerance, DecidesWhetherTheReleaseMovesTheWindow)
{
    const TToleranceCase& C = GetParam();
    const TPoint To{Press.X + C.DX, Press.Y + C.DY};
    QueueMove(To);
    QueueRelease(To);
    PressAndRun();
    const TPoint Expected = C.Drags ? TPoint{100 + C.DX, 50 + C.DY} : TPoint{100, 50};
    EXPECT_EQ(WindowPos(), Expected);
    EXPECT_EQ(Port().GetScreenFrames().size(), C.Drags ? 6u : 0u);
    EXPECT_TRUE(Visible().empty());
    EXPECT_FALSE(Image->GetDragging());
    const std::string At = std::to_string(Expected.X) + "," + std::to_string(Expected.Y);
    EXPECT_EQ(Form->Log, (std::vector<std::string>{"down 1 20,20 at 100,50",
                                                   "up " + std::to_string(20 + C.DX) + "," +
                                                       std::to_string(20 + C.DY) + " at " + At}));
    EXPECT_EQ(WM().GetCapture(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Moves, DragTolerance,
                         testing::Values(TToleranceCase{0, 0, false}, TToleranceCase{5, 0, false},
                                         TToleranceCase{0, 5, false}, TToleranceCase{-5, -5, false},
                                         TToleranceCase{5, -5, false}, TToleranceCase{6, 0, true},
                                         TToleranceCase{0, 6, true}, TToleranceCase{-6, 0, true},
                                         TToleranceCase{0, -6, true}, TToleranceCase{6, 6, true},
                                         // released where the face no longer reaches
                                         TToleranceCase{-25, 0, true},
                                         TToleranceCase{30, 25, true}),
                         [](const testing::TestParamInfo<TToleranceCase>& I) {
                             return "By" + NumberWord(I.param.DX) + "_" + NumberWord(I.param.DY);
                         });

TEST_F(Drag, TheOutlineFollowsThePointerAndTheWindowMovesOnlyAtTheRelease)
{
    QueueMove({130, 73});
    QueueCall([&] {
        EXPECT_EQ(Visible(), Outline({110, 53, 170, 93}));
        EXPECT_TRUE(Image->GetDragging());
    });
    QueueMove({140, 77});
    QueueCall([&] {
        EXPECT_EQ(Visible(), Outline({120, 57, 180, 97}));
        EXPECT_EQ(Image->GetLastOutline(), TRect(120, 57, 180, 97));
        EXPECT_EQ(WindowPos(), TPoint(100, 50));
    });
    QueueRelease({140, 77});
    PressAndRun();
    EXPECT_EQ(WindowPos(), TPoint(120, 57));
    EXPECT_TRUE(Visible().empty());
    // The control saw no movement during the drag.
    EXPECT_EQ(Form->Log,
              (std::vector<std::string>{"down 1 20,20 at 100,50", "up 40,27 at 120,57"}));
}

TEST_F(Drag, BackInsideTheToleranceTheOutlineStaysAndTheReleaseGoesThere)
{
    QueueMove({130, 70});
    QueueMove({122, 70}); // within 5 pixels of the press again
    QueueCall([&] { EXPECT_EQ(Visible(), Outline({110, 50, 170, 90})); });
    QueueRelease({122, 70});
    PressAndRun();
    EXPECT_EQ(WindowPos(), TPoint(110, 50));
    EXPECT_TRUE(Visible().empty());
}

TEST_F(Drag, LiveTheWindowItselfFollowsAndNoOutlineIsDrawn)
{
    Image->SetOptions({ifUseWindowsDrag});
    QueueMove({130, 73});
    QueueCall([&] { EXPECT_EQ(WindowPos(), TPoint(110, 53)); });
    // The press point travels with the window: 4 more pixels are within the tolerance.
    QueueMove({134, 73});
    QueueCall([&] { EXPECT_EQ(WindowPos(), TPoint(110, 53)); });
    QueueMove({140, 77});
    QueueCall([&] { EXPECT_EQ(WindowPos(), TPoint(120, 57)); });
    QueueRelease({140, 77});
    PressAndRun();
    EXPECT_EQ(WindowPos(), TPoint(120, 57));
    EXPECT_TRUE(Port().GetScreenFrames().empty());
    EXPECT_FALSE(Image->GetDragging());
    EXPECT_EQ(Form->Log.back(), "up 20,20 at 120,57");
}

TEST_F(Drag, TheLiveOptionDragsAnOutlineWhenTheDesktopDoesNotDragContents)
{
    Image->SetOptions({ifUseWindowsDrag});
    Port().SetFullWindowDrag(false);
    QueueMove({130, 73});
    QueueCall([&] { EXPECT_EQ(WindowPos(), TPoint(100, 50)); });
    QueueRelease({130, 73});
    PressAndRun();
    EXPECT_EQ(WindowPos(), TPoint(110, 53));
    EXPECT_EQ(Port().GetScreenFrames().size(), 6u);
}

TEST_F(Drag, AnOutlineIsThreeXorFramesEachOnePixelInside)
{
    Image->DrawDragOutline({10, 20, 50, 60});
    EXPECT_EQ(Port().GetScreenFrames(), Outline({10, 20, 50, 60}));
    Image->DrawDragOutline({10, 20, 50, 60});
    EXPECT_TRUE(Visible().empty());
}

// Each way the loop can end without the button coming up leaves no outline on the screen, no
// drag state and the window where it was; the next press then starts afresh.
class DragCut : public Drag, public testing::WithParamInterface<const char*>
{};

TEST_P(DragCut, EndsTheDragCleanly)
{
    const std::string How = GetParam();
    QueueMove({140, 77});
    if (How == "quit")
        QueueCall([] { WM().PostQuitMessage(7); });
    else if (How == "capture")
        QueueCall([W = Window] { WM().HandleCaptureLost(W); });
    // "wait": nothing more arrives, and nothing ever can.
    PressAndRun();
    EXPECT_TRUE(Visible().empty());
    EXPECT_FALSE(Image->GetDragging());
    EXPECT_EQ(WindowPos(), TPoint(100, 50));
    EXPECT_EQ(WM().GetCapture(), 0u);
    // A quit is passed on to the loop outside, with its code.
    EXPECT_EQ(QuitCode, How == "quit" ? std::optional<int>(7) : std::nullopt);

    Port().ClearScreenFrames();
    QueueRelease(Press);
    PressAndRun();
    EXPECT_EQ(WindowPos(), TPoint(100, 50));
    EXPECT_TRUE(Port().GetScreenFrames().empty());
}

INSTANTIATE_TEST_SUITE_P(Ends, DragCut, testing::Values("quit", "capture", "wait"),
                         [](const auto& Info) { return std::string(Info.param); });

TEST_F(Drag, TimersTickWhileTheDragRuns)
{
    auto* Timer = new TTimer(Form);
    Timer->SetInterval(50);
    int Ticks = 0;
    Timer->SetOnTimer([&](TObject*) { ++Ticks; });
    QueueMove({140, 77}, 120);
    QueueRelease({140, 77});
    PressAndRun();
    Timer->SetEnabled(false);
    EXPECT_GE(Ticks, 2);
    EXPECT_EQ(WindowPos(), TPoint(120, 57));
}

TEST_F(Drag, APressOnAWindowedChildNeverReachesTheHook)
{
    auto* Child = new TCustomControl(Form);
    Child->SetBounds(0, 0, 30, 30);
    Child->SetParent(Form);
    Pump();
    std::vector<UINT> Seen;
    Image->GetHook()->OnBeforeMessage = [&](TObject*, TMessage& M, bool&) {
        if (M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST)
            Seen.push_back(M.Msg);
    };
    QueueMove({140, 77});
    QueueRelease({140, 77});
    PressAndRun();
    EXPECT_TRUE(Seen.empty());
    EXPECT_EQ(WindowPos(), TPoint(100, 50));
    EXPECT_TRUE(Port().GetScreenFrames().empty());
    EXPECT_TRUE(Form->Log.empty());
}

TEST_F(Drag, APressWithoutTheLeftButtonStateAsksForTheKeyMenuInstead)
{
    std::vector<WPARAM> Commands;
    Image->GetHook()->OnBeforeMessage = [&](TObject*, TMessage& M, bool& CallDefault) {
        if (M.Msg == WM_SYSCOMMAND) {
            Commands.push_back(M.WParam);
            CallDefault = false;
        }
    };
    QueueRelease({140, 77});
    PressAndRun(Press, 0);
    EXPECT_EQ(Commands, (std::vector<WPARAM>{SC_KEYMENU}));
    EXPECT_EQ(WindowPos(), TPoint(100, 50));
}

struct TRestyleCase
{
    const char* Name;
    std::vector<TFormStyle> Styles; // set one after the other
};

void PrintTo(const TRestyleCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class DragRestyled : public Drag, public testing::WithParamInterface<TRestyleCase>
{};

// Each new form style makes the form's window anew; the owner gives it the outline again, and
// the face drags the new window as it did the old one.
TEST_P(DragRestyled, TheNewWindowIsDraggedByTheFaceAndCutToTheOutline)
{
    const HWND Old = Window;
    for (const TFormStyle Style : GetParam().Styles)
        Form->SetFormStyle(Style);
    Image->ApplyPictureRegion();
    Window = Form->GetHandle();
    ASSERT_NE(Window, Old);
    const bool OnTop = Form->GetFormStyle() == fsStayOnTop;
    EXPECT_EQ((WM().GetWindowLong(Window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, OnTop);
    EXPECT_EQ(WM().GetWindowLong(Window, GWL_STYLE) & WS_CLIPCHILDREN, 0u);
    const TBitmap Face = SolidBitmap(60, 40, clRed, true);
    EXPECT_EQ(WM().GetWindowRgn(Window), CreateRegionFromBitmap(&Face, clBlack));
    EXPECT_EQ(WindowPos(), TPoint(100, 50));

    Form->Log.clear();
    QueueMove({130, 73});
    QueueRelease({130, 73});
    PressAndRun();
    EXPECT_EQ(WindowPos(), TPoint(110, 53));
    EXPECT_EQ(Port().GetScreenFrames().size(), 6u);
    EXPECT_EQ(Form->Log,
              (std::vector<std::string>{"down 1 20,20 at 100,50", "up 30,23 at 110,53"}));
}

INSTANTIATE_TEST_SUITE_P(Styles, DragRestyled,
                         testing::Values(TRestyleCase{"StayOnTop", {fsStayOnTop}},
                                         TRestyleCase{"OnTopAndBackToNormal",
                                                      {fsStayOnTop, fsNormal}}),
                         ByName{});

struct TCaptionCase
{
    const char* Name;
    bool WithBar;
    TPoint Client;                // where the press lands
    bool ButtonClick, ButtonDown; // handlers of the control over the bar's right end
    bool Drags;
};

void PrintTo(const TCaptionCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class DragCaption : public Drag, public testing::WithParamInterface<TCaptionCase>
{};

// A bar over the top 10 rows, and a small control on top of the bar at (40, 0, 50, 10).
TEST_P(DragCaption, DecidesWhereADragMayBegin)
{
    const TCaptionCase& C = GetParam();
    auto* Bar = new TGraphicControl(Form);
    Bar->SetBounds(0, 0, 60, 10);
    Bar->SetParent(Form);
    auto* Button = new TGraphicControl(Form);
    Button->SetBounds(40, 0, 10, 10);
    Button->SetParent(Form);
    if (C.ButtonClick)
        Button->OnClick = [](TObject*) {};
    if (C.ButtonDown)
        Button->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {};
    if (C.WithBar)
        Image->SetCaptionBarControl(Bar);
    const TPoint From{100 + C.Client.X, 50 + C.Client.Y};
    const TPoint To{From.X + 10, From.Y};
    QueueMove(To);
    QueueRelease(To);
    PressAndRun(From);
    EXPECT_EQ(WindowPos(), C.Drags ? TPoint(110, 50) : TPoint(100, 50));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DragCaption,
    testing::Values(TCaptionCase{"OnTheBar", true, {5, 5}, false, false, true},
                    TCaptionCase{"OnThePictureBelowTheBar", true, {20, 25}, false, false, false},
                    TCaptionCase{"OnAClickableControlInTheBar", true, {45, 5}, true, false, false},
                    TCaptionCase{"OnAPressableControlInTheBar", true, {45, 5}, false, true, false},
                    TCaptionCase{"OnAPlainControlInTheBar", true, {45, 5}, false, false, true},
                    TCaptionCase{"NoBarOnAPlainControl", false, {45, 5}, false, false, false},
                    TCaptionCase{"NoBarOnThePicture", false, {20, 25}, false, false, true}),
    ByName{});

} // namespace
