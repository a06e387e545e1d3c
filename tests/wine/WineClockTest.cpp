// The clock's executable as a user meets it under Wine: a process of its own, driven by hardware
// mouse input and watched from outside through its windows, their pixels and their regions.
#include "tests/wine/ClockFace.h"
#include "tests/wine/ClockProcess.h"
#include "tests/wine/PointerInput.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>
#include <windows.h>

void PrintTo(const TRect& R, std::ostream* Out)
{
    *Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
void PrintTo(const TPoint& P, std::ostream* Out)
{
    *Out << "(" << P.X << ", " << P.Y << ")";
}

namespace {

constexpr int SecondsPerDay = 86400;
constexpr int PaintTimeoutMs = 10000;
constexpr int MoveTimeoutMs = 10000;
constexpr int ExitTimeoutMs = 15000;

// Where each case puts the clock: away from the corner where it opens (and where its title box
// may show), with room for a drag in every direction.
constexpr TPoint Home{400, 300};

int LocalSecondsOfDay()
{
    SYSTEMTIME T;
    GetLocalTime(&T);
    return T.wHour * 3600 + T.wMinute * 60 + T.wSecond;
}

int ForwardSeconds(int From, int To)
{
    return ((To - From) % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
}

class WineClockTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Face = &TClockFace::Get();
        Clock =
            std::make_unique<TClockProcess>(TPoint{Face->Face.GetWidth(), Face->Face.GetHeight()});
        ASSERT_EQ(Clock->GetProblem(), "");
        Window = Clock->GetMainWindow();
        ASSERT_TRUE(TClockProcess::MoveWindow(Window, Home));
        ASSERT_TRUE(WaitFor([&] { return Bounds().TopLeft() == Home; }, MoveTimeoutMs));
    }

    void TearDown() override
    {
        ReleaseAllButtons();
        Clock.reset();
    }

    TRect Bounds() const { return TClockProcess::GetWindowBounds(Window); }
    TPoint ScreenPoint(TPoint Client) const
    {
        return Client + TClockProcess::GetClientBounds(Window).TopLeft();
    }

    // Waits until the window's top-left corner is at Where; whether it got there.
    bool WaitForWindowAt(TPoint Where) const
    {
        return WaitFor([&] { return Bounds().TopLeft() == Where; }, MoveTimeoutMs);
    }

    // The six digits the screen shows, once they can be read (a capture may catch a paint in
    // progress); the local time just before and just after the capture that was read.
    struct TReading
    {
        TClockDigits Digits{};
        int Before = 0;
        int After = 0;
    };
    std::optional<TReading> ReadClock(const std::function<bool(const TReading&)>& Accept) const
    {
        std::optional<TReading> Result;
        WaitFor(
            [&] {
                TReading R;
                R.Before = LocalSecondsOfDay();
                const TBitmap Shot =
                    TClockProcess::CaptureScreen(TClockProcess::GetClientBounds(Window));
                R.After = LocalSecondsOfDay();
                const std::optional<TClockDigits> Digits = ReadDigits(*Face, Shot);
                if (!Digits)
                    return false;
                R.Digits = *Digits;
                if (!Accept(R))
                    return false;
                Result = R;
                return true;
            },
            PaintTimeoutMs);
        return Result;
    }

    // A press on the digit display, off the cells' edges.
    TPoint DigitPoint() const
    {
        const TPoint P =
            Face->Slots[2] + TPoint{Face->Digits.GetWidth() / 2, Face->Digits.GetHeight() / 2};
        EXPECT_TRUE(Face->Display.Contains(P) && Face->Outline.Contains(P));
        return P;
    }

    // A pixel of the face that the outline keeps and the digit display does not cover: the
    // middle of the widest such rectangle of the outline.
    TPoint FacePoint() const
    {
        TRect Best;
        for (const TRect& R : Face->Outline.GetRects())
            if (R.Intersect(Face->Display).IsEmpty() && R.Width() > Best.Width())
                Best = R;
        EXPECT_FALSE(Best.IsEmpty());
        return {(Best.Left + Best.Right) / 2, Best.Top};
    }

    // Presses the left button at the client point From and moves the pointer along Path; stops
    // moving once AfterEachMove says something is wrong.
    void PressAndMove(TPoint From, const std::vector<TPoint>& Path,
                      const std::function<bool(TPoint)>& AfterEachMove)
    {
        ASSERT_TRUE(MovePointer(ScreenPoint(From), Window));
        ASSERT_TRUE(PressButton(TPointerButton::Left));
        // Input goes where the system sends it when it arrives: until the clock has taken the
        // press (and with it the capture), moves off its outline would go to the desktop.
        ASSERT_TRUE(WaitFor([&] { return TClockProcess::GetCaptureWindow(Window) == Window; },
                            MoveTimeoutMs))
            << "the press did not capture the mouse";
        const TPoint Origin = ScreenPoint({0, 0});
        for (const TPoint& P : Path) {
            ASSERT_TRUE(MovePointer(Origin + P, Window));
            if (!AfterEachMove(P))
                return;
        }
    }

    // Releases the left button and waits until the clock has taken the release, which ends
    // with the capture let go.
    void Release()
    {
        ASSERT_TRUE(ReleaseButton(TPointerButton::Left));
        ASSERT_TRUE(WaitFor([&] { return TClockProcess::GetCaptureWindow(Window) != Window; },
                            MoveTimeoutMs))
            << "the release did not end the capture";
    }

    // A drag by the digit display, which the window follows move by move.
    void DragByDigits(TPoint Displacement)
    {
        const TPoint From = DigitPoint();
        const TPoint Start = Bounds().TopLeft();
        PressAndMove(From, DragPath(From, From + Displacement, 8), [&](TPoint At) {
            const bool Followed = WaitForWindowAt(Start + (At - From));
            EXPECT_TRUE(Followed) << "the window lags behind the pointer: at "
                                  << testing::PrintToString(Bounds()) << " for the pointer at "
                                  << testing::PrintToString(At) << " from "
                                  << testing::PrintToString(Start);
            return Followed;
        });
        Release();
    }

    const TClockFace* Face = nullptr;
    std::unique_ptr<TClockProcess> Clock;
    void* Window = nullptr;
};

TEST_F(WineClockTest, ShowsTheRunningTimeInItsDigits)
{
    const std::optional<TReading> First = ReadClock([](const TReading&) { return true; });
    ASSERT_TRUE(First) << "no capture showed one digit image in every cell";
    const std::optional<int> Shown = SecondsOfDay(First->Digits);
    ASSERT_TRUE(Shown) << testing::PrintToString(First->Digits) << " is no time of day";
    // A paint reads the time at most a quarter second before the capture; allow for load.
    EXPECT_LE(ForwardSeconds(*Shown, First->After), ForwardSeconds(First->Before, First->After) + 3)
        << "shown " << *Shown << ", local time " << First->Before << " to " << First->After;

    const std::optional<TReading> Second =
        ReadClock([&](const TReading& R) { return R.Digits != First->Digits; });
    ASSERT_TRUE(Second) << "the digits did not change";
    const std::optional<int> Later = SecondsOfDay(Second->Digits);
    ASSERT_TRUE(Later) << testing::PrintToString(Second->Digits) << " is no time of day";
    EXPECT_LE(ForwardSeconds(*Later, Second->After),
              ForwardSeconds(Second->Before, Second->After) + 3);
    EXPECT_GE(ForwardSeconds(*Shown, *Later), 1);
    EXPECT_LE(ForwardSeconds(*Shown, *Later), ForwardSeconds(First->Before, Second->After) + 3);
}

TEST_F(WineClockTest, WindowRegionIsTheOutlineOfItsFace)
{
    EXPECT_EQ(TClockProcess::GetClientBounds(Window).TopLeft(), Bounds().TopLeft())
        << "a borderless window's region is in client coordinates";
    std::optional<TClockProcess::TNativeRegion> Region;
    ASSERT_TRUE(
        WaitFor([&] { return (Region = TClockProcess::GetWindowRegion(Window)).has_value(); },
                PaintTimeoutMs))
        << "the window has no region";
    const std::vector<TRect> Expected(Face->Outline.GetRects().begin(),
                                      Face->Outline.GetRects().end());
    EXPECT_EQ(Region->Rects, Expected);
    EXPECT_EQ(Region->Bounds, Face->Outline.GetBounds());
    // The stored outline of the Nixie Large face, as the main window's description holds it.
    ASSERT_EQ(Region->Rects.size(), 132u);
    EXPECT_EQ(Region->Bounds, TRect(5, 28, 276, 115));
    EXPECT_EQ(Region->Rects.front(), TRect(21, 28, 26, 29));
    EXPECT_EQ(Region->Rects.back(), TRect(255, 114, 267, 115));
}

TEST_F(WineClockTest, DragByTheDigitsMovesTheWindowWithThePointer)
{
    const TPoint Displacement{57, 33};
    const TRect Before = Bounds();
    DragByDigits(Displacement);
    EXPECT_TRUE(WaitForWindowAt(Home + Displacement)) << testing::PrintToString(Bounds());
    EXPECT_EQ(Bounds().Width(), Before.Width());
    EXPECT_EQ(Bounds().Height(), Before.Height());
}

// A press on the face, a move by Offset and the release: beyond the drag tolerance the window
// jumps by the offset at the release and not before; within it nothing moves. A drag by the
// digits afterwards shows that the press left no drag behind.
struct TFaceDragCase
{
    const char* Name;
    TPoint Offset;
    bool Moves;
};

void PrintTo(const TFaceDragCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class WineClockFaceDragTest : public WineClockTest,
                              public testing::WithParamInterface<TFaceDragCase>
{};

TEST_P(WineClockFaceDragTest, MovesTheWindowOnReleaseBeyondTheTolerance)
{
    const TFaceDragCase& C = GetParam();
    const TPoint From = FacePoint();
    ASSERT_TRUE(Face->Outline.Contains(From));
    PressAndMove(From, DragPath(From, From + C.Offset, 6), [&](TPoint) {
        EXPECT_EQ(Bounds().TopLeft(), Home) << "the face drag moves an outline, not the window";
        return Bounds().TopLeft() == Home;
    });
    Release();
    const TPoint Dropped = C.Moves ? Home + C.Offset : Home;
    EXPECT_EQ(Bounds().TopLeft(), Dropped);

    const TPoint After{-23, 19};
    DragByDigits(After);
    EXPECT_TRUE(WaitForWindowAt(Dropped + After)) << testing::PrintToString(Bounds());
}

INSTANTIATE_TEST_SUITE_P(Tolerance, WineClockFaceDragTest,
                         testing::Values(TFaceDragCase{"FarAway", {-61, 47}, true},
                                         TFaceDragCase{"SixRight", {6, 0}, true},
                                         TFaceDragCase{"SixUp", {0, -6}, true},
                                         TFaceDragCase{"Still", {0, 0}, false},
                                         TFaceDragCase{"FiveRightFiveDown", {5, 5}, false},
                                         TFaceDragCase{"FiveLeftFiveUp", {-5, -5}, false}),
                         [](const testing::TestParamInfo<TFaceDragCase>& I) {
                             return std::string(I.param.Name);
                         });

TEST_F(WineClockTest, QuitFromTheContextMenuEndsTheProcessWithZero)
{
    ASSERT_TRUE(MovePointer(ScreenPoint(FacePoint()), Window));
    ASSERT_TRUE(PressButton(TPointerButton::Right));
    ASSERT_TRUE(ReleaseButton(TPointerButton::Right));
    void* Menu = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (void* Wnd : Clock->GetVisibleWindows())
                if (TClockProcess::IsToolWindow(Wnd))
                    Menu = Wnd;
            return Menu != nullptr;
        },
        PaintTimeoutMs))
        << "no menu opened";

    // Where the rows lie, measured as the menu measures them.
    const std::optional<TMenuGeometry> Geometry = MeasureMenu(*Face, "Quit1");
    ASSERT_TRUE(Geometry) << "the menu has no Quit1";
    const TRect MenuBounds = TClockProcess::GetWindowBounds(Menu);
    ASSERT_EQ(MenuBounds.Width(), Geometry->Menu.Width());
    ASSERT_EQ(MenuBounds.Height(), Geometry->Menu.Height());
    const TRect& Row = Geometry->Row;
    const TPoint Target =
        MenuBounds.TopLeft() + TPoint{(Row.Left + Row.Right) / 2, (Row.Top + Row.Bottom) / 2};

    ASSERT_TRUE(MovePointer(Target, Window));
    ASSERT_TRUE(PressButton(TPointerButton::Left));
    ASSERT_TRUE(ReleaseButton(TPointerButton::Left));
    const std::optional<std::uint32_t> ExitCode = Clock->WaitForExit(ExitTimeoutMs);
    ASSERT_TRUE(ExitCode) << "the clock still runs";
    EXPECT_EQ(*ExitCode, 0u);
}

} // namespace
