// The clock's executable on a real X server, used as a user would: it shows the time and
// ticks, it is dragged by its digits and by its face (with the outline while the button is
// held), its context menu quits it, it stays out of the task bar, and its window is cut to the
// face's outline for drawing and for input.
#include "framework/stdctrls/MenuLayout.h"
#include "platform/posix/PosixFiles.h"
#include "tests/x11/X11ClockSupport.h"

#include <ctime>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

constexpr int SecondsPerDay = 24 * 3600;

// The local wall clock, as seconds since midnight.
int LocalSecondsNow()
{
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    return Local.tm_hour * 3600 + Local.tm_min * 60 + Local.tm_sec;
}

// How far apart two times of day are, across midnight too.
int SecondsApart(int A, int B)
{
    const int D = ((A - B) % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
    return std::min(D, SecondsPerDay - D);
}

// The digit display and the face around it, in client coordinates.
constexpr TRect DigitDisplay = TRect::FromSize(0, 50, 289, 49);
constexpr TRect FaceAboveTheDigits{0, 0, 300, 50};

TEST_F(X11ClockTest, ShowsTheLocalTimeAndTicks)
{
    // Once painted, the digits are a time of day near ours (the clock reads the same clock).
    std::optional<int> First;
    ASSERT_TRUE(Eventually([&] { return (First = ReadShownTime()).has_value(); }))
        << "the digit slots show no time";
    EXPECT_LE(SecondsApart(*First, LocalSecondsNow()), 10);
    // And a little later they show another one.
    std::optional<int> Next;
    ASSERT_TRUE(Eventually([&] {
        Next = ReadShownTime();
        return Next && *Next != *First;
    })) << "the digits stayed at "
        << *First;
    EXPECT_LE(SecondsApart(*Next, LocalSecondsNow()), 10);
    EXPECT_LE(SecondsApart(*Next, *First), 5);
}

TEST_F(X11ClockTest, KeepsOutOfTheTaskBar)
{
    const unsigned long Skip = Intern("_NET_WM_STATE_SKIP_TASKBAR");
    EXPECT_TRUE(Eventually([&] {
        for (unsigned long State : ReadAtoms(ClockWindow, "_NET_WM_STATE"))
            if (State == Skip)
                return true;
        return false;
    }));
}

TEST_F(X11ClockTest, TheWindowIsCutToTheFaceForDrawingAndForInput)
{
    const std::vector<TRect> Expected(Outline.GetRects().begin(), Outline.GetRects().end());
    EXPECT_EQ(Expected.size(), 132u);
    EXPECT_EQ(Outline.GetBounds(), TRect(5, 28, 276, 115));
    EXPECT_EQ(ReadShape(ClockWindow, ShapeBounding), Expected);
    EXPECT_EQ(ReadShape(ClockWindow, ShapeInput), Expected);
}

TEST_F(X11ClockTest, DraggingTheDigitsMovesTheWindowWithThePointer)
{
    // The window follows each movement; without a capture it must keep up, as it does with a
    // hand on the mouse, so each step waits for it.
    const TPoint Start = OnScreen(PointInOutline(DigitDisplay));
    MovePointer(Start);
    PointerButton(1, true);
    TPoint Expected = Home;
    for (const TPoint Step : {TPoint(-12, 8), TPoint(-12, 8), TPoint(25, 15), TPoint(40, 20)}) {
        MovePointerBy(Step.X, Step.Y);
        Expected = Expected + Step;
        ASSERT_TRUE(AwaitOrigin(Expected))
            << "the window is at " << GetOrigin().X << ", " << GetOrigin().Y;
    }
    PointerButton(1, false);
    // Released, the pointer moves on alone (up to the face), and a right click there opens the
    // menu: once it is up, the clock has seen that movement too.
    MovePointer(OnScreen(PointInOutline(FaceAboveTheDigits)));
    PointerButton(3, true);
    PointerButton(3, false);
    ASSERT_NE(AwaitMenu().Window, 0u) << "no menu appeared";
    EXPECT_EQ(GetOrigin(), Expected);
}

TEST_F(X11ClockTest, DraggingTheFaceDrawsAnOutlineAndMovesTheWindowOnRelease)
{
    constexpr int DX = 60, DY = 40;
    // The outline's bottom-right corner lies beyond the window before and outside its face
    // after: there the screen shows the root, inverted while the outline is up.
    const TPoint Corner{Home.X + DX + 299, Home.Y + DY + 119};
    const unsigned long Root = DefaultRootWindow(Observer);
    const TRect CornerPixel = TRect::FromSize(Corner.X, Corner.Y, 1, 1);
    const std::vector<TPixel> Before = ReadPixels(Root, CornerPixel);
    ASSERT_EQ(Before.size(), 1u);

    MovePointer(OnScreen(PointInOutline(FaceAboveTheDigits)));
    PointerButton(1, true);
    MovePointerBy(DX, DY);
    EXPECT_TRUE(Eventually([&] {
        return ReadPixels(Root, CornerPixel) == std::vector{Before[0] ^ 0xFFFFFF};
    })) << "no outline appeared";
    EXPECT_EQ(GetOrigin(), Home) << "the window moved while the button was held";

    PointerButton(1, false);
    EXPECT_TRUE(AwaitOrigin({Home.X + DX, Home.Y + DY}))
        << "the window is at " << GetOrigin().X << ", " << GetOrigin().Y;
    EXPECT_EQ(ReadPixels(Root, CornerPixel), Before) << "the outline stayed on the screen";
}

TEST_F(X11ClockTest, APressOnTheFaceMovedWithinTheToleranceMovesNothing)
{
    const TPoint Client = PointInOutline(FaceAboveTheDigits);
    ASSERT_TRUE(Outline.Contains({Client.X + 5, Client.Y - 5}));
    const TPoint Press = OnScreen(Client);
    // An outline of this drag would begin above the window, where the root shows.
    const unsigned long Root = DefaultRootWindow(Observer);
    const TRect Corner = TRect::FromSize(Home.X + 5, Home.Y - 5, 1, 1);
    const std::vector<TPixel> Before = ReadPixels(Root, Corner);
    MovePointer(Press);
    PointerButton(1, true);
    MovePointerBy(-3, 2);
    MovePointer({Press.X + 5, Press.Y - 5}); // exactly the tolerance
    PointerButton(1, false);
    // A right click where the pointer rests: once its menu is up, the press has been handled.
    PointerButton(3, true);
    PointerButton(3, false);
    ASSERT_NE(AwaitMenu().Window, 0u) << "no menu appeared";
    EXPECT_EQ(GetOrigin(), Home);
    EXPECT_EQ(ReadPixels(Root, Corner), Before) << "an outline was left on the screen";
}

TEST_F(X11ClockTest, ARightClickOpensTheMenuAndQuitEndsTheProgram)
{
    MovePointer(OnScreen(PointInOutline(FaceAboveTheDigits)));
    PointerButton(3, true);
    PointerButton(3, false);
    const TForeignWindow Menu = AwaitMenu();
    ASSERT_NE(Menu.Window, 0u) << "no menu appeared";
    // Settings, Quit, a separator, Users Manual, a separator, About: four rows of one height.
    const int Rows =
        Menu.Bounds.Height() - 2 * TMenuLayout::BorderPixels - 2 * TMenuLayout::SeparatorPixels;
    ASSERT_EQ(Rows % 4, 0) << "a menu " << Menu.Bounds.Height() << " pixels high";
    const int Row = Rows / 4;
    MovePointer({Menu.Bounds.Left + Menu.Bounds.Width() / 2,
                 Menu.Bounds.Top + TMenuLayout::BorderPixels + Row + Row / 2});
    PointerButton(1, true);
    PointerButton(1, false);
    const std::optional<int> Code = AwaitExit();
    ASSERT_TRUE(Code.has_value()) << "the clock is still running";
    EXPECT_EQ(*Code, 0) << ReadLog();
}

TEST_F(X11ClockTest, ItsMenuIsWrittenWithTheFontsOfItsModule)
{
    MovePointer(OnScreen(PointInOutline(FaceAboveTheDigits)));
    PointerButton(3, true);
    PointerButton(3, false);
    ASSERT_NE(AwaitMenu().Window, 0u) << "no menu appeared";
    const std::optional<std::string> Maps =
        ReadWholeFile("/proc/" + std::to_string(Child) + "/maps");
    ASSERT_TRUE(Maps.has_value());
    EXPECT_NE(Maps->find("nixie-fonts"), std::string::npos);
    EXPECT_NE(Maps->find("libfreetype"), std::string::npos);
    EXPECT_EQ(ReadLog().find("no fonts"), std::string::npos) << ReadLog();
}

} // namespace
