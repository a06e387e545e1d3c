// The clock's executable as a user meets it, on every port with a real window system: it shows
// the running time and ticks, its window is cut to the outline of its face, it is dragged by its
// digits (the window follows the pointer) and by its face (the window jumps on release, beyond
// the drag tolerance only), and its context menu's Quit ends it.
#include "tests/e2e/ClockFixture.h"
#include "tests/support/CaseName.h"

#include <string>

namespace {

TEST_F(ClockTest, ShowsTheRunningTimeInItsDigitsAndTicks)
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
    ASSERT_TRUE(Second) << "the digits stayed at " << *Shown;
    const std::optional<int> Later = SecondsOfDay(Second->Digits);
    ASSERT_TRUE(Later) << testing::PrintToString(Second->Digits) << " is no time of day";
    EXPECT_LE(ForwardSeconds(*Later, Second->After),
              ForwardSeconds(Second->Before, Second->After) + 3);
    EXPECT_GE(ForwardSeconds(*Shown, *Later), 1);
    EXPECT_LE(ForwardSeconds(*Shown, *Later), ForwardSeconds(First->Before, Second->After) + 3);
}

TEST_F(ClockTest, TheWindowIsCutToTheOutlineOfItsFace)
{
    std::optional<std::vector<std::vector<TRect>>> Shapes;
    ASSERT_TRUE(Eventually([&] { return (Shapes = Driver->ReadShapes()).has_value(); }))
        << "the window has no outline";
    const std::vector<TRect> Expected(Face->Outline.GetRects().begin(),
                                      Face->Outline.GetRects().end());
    ASSERT_FALSE(Shapes->empty());
    for (const std::vector<TRect>& Shape : *Shapes)
        EXPECT_EQ(Shape, Expected);
    // The stored outline of the Nixie Large face, as the main window's description holds it.
    ASSERT_EQ(Expected.size(), 132u);
    EXPECT_EQ(Face->Outline.GetBounds(), TRect(5, 28, 276, 115));
    EXPECT_EQ(Expected.front(), TRect(21, 28, 26, 29));
    EXPECT_EQ(Expected.back(), TRect(255, 114, 267, 115));
}

TEST_F(ClockTest, DraggingTheDigitsMovesTheWindowWithThePointer)
{
    const TRect Before = Driver->GetClientBounds();
    const std::vector<TPoint> Steps{{-12, 8}, {-12, 8}, {25, 15}, {40, 20}};
    DragByDigits(Steps);
    TPoint Expected = Home;
    for (const TPoint Step : Steps)
        Expected = Expected + Step;
    EXPECT_TRUE(AwaitOrigin(Expected)) << testing::PrintToString(Origin());
    EXPECT_EQ(Driver->GetClientBounds().Width(), Before.Width());
    EXPECT_EQ(Driver->GetClientBounds().Height(), Before.Height());
    // Released, the pointer moves on alone (up to the face), and a right click there opens the
    // menu: once it is up, the clock has seen that movement too.
    ASSERT_TRUE(OpenMenu()) << "no menu appeared";
    EXPECT_EQ(Origin(), Expected);
}

// A press on the face, a move by Offset (through Via first, when given) and the release: beyond
// the drag tolerance the window jumps by the offset at the release and not before; within it
// nothing moves. A drag by the digits afterwards shows that the press left no drag behind.
struct TFaceDragCase
{
    const char* Name;
    TPoint Offset;
    bool Moves;
    TPoint Via{};
};

void PrintTo(const TFaceDragCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class ClockFaceDragTest : public ClockTest, public testing::WithParamInterface<TFaceDragCase>
{};

TEST_P(ClockFaceDragTest, MovesTheWindowOnReleaseBeyondTheTolerance)
{
    const TFaceDragCase& C = GetParam();
    const TPoint From = FacePoint();
    ASSERT_TRUE(Face->Outline.Contains(From));
    std::vector<TPoint> Path;
    if (C.Via != TPoint{})
        Path = StepsBetween(From, From + C.Via, 2);
    for (const TPoint P : StepsBetween(Path.empty() ? From : Path.back(), From + C.Offset, 6))
        Path.push_back(P);
    PressAndMove(From, Path, [&](TPoint) {
        EXPECT_EQ(Origin(), Home) << "the face drag moves an outline, not the window";
        return Origin() == Home;
    });
    ASSERT_TRUE(Driver->EndDrag()) << "the release did not reach the clock";
    const TPoint Dropped = C.Moves ? Home + C.Offset : Home;
    EXPECT_TRUE(AwaitOrigin(Dropped)) << testing::PrintToString(Origin());

    DragByDigits({{-23, 19}});
    EXPECT_TRUE(AwaitOrigin(Dropped + TPoint{-23, 19})) << testing::PrintToString(Origin());
}

INSTANTIATE_TEST_SUITE_P(
    Tolerance, ClockFaceDragTest,
    testing::Values(TFaceDragCase{"FarAway", {-61, 47}, true},
                    TFaceDragCase{"SixRight", {6, 0}, true}, TFaceDragCase{"SixUp", {0, -6}, true},
                    TFaceDragCase{"Still", {0, 0}, false},
                    TFaceDragCase{"FiveRightFiveDown", {5, 5}, false},
                    TFaceDragCase{"FiveLeftFiveUp", {-5, -5}, false},
                    TFaceDragCase{"BackToFiveRightFiveUp", {5, -5}, false, {-3, 2}}),
    ByName{});

TEST_F(ClockTest, QuitFromTheContextMenuEndsTheProgramWithZero)
{
    const std::optional<TRect> Menu = OpenMenu();
    ASSERT_TRUE(Menu) << "no menu appeared";
    // Where the rows lie, measured as the menu measures them.
    const std::optional<TMenuGeometry> Geometry = MeasureMenu(*Face, "Quit1");
    ASSERT_TRUE(Geometry) << "the menu has no Quit1";
    ASSERT_EQ(Menu->Width(), Geometry->Menu.Width());
    ASSERT_EQ(Menu->Height(), Geometry->Menu.Height());
    const TRect& Row = Geometry->Row;
    ASSERT_TRUE(Driver->MovePointer(
        Menu->TopLeft() + TPoint{(Row.Left + Row.Right) / 2, (Row.Top + Row.Bottom) / 2}));
    ASSERT_TRUE(Driver->Click(TClick::Left));
    const std::optional<long> ExitCode = Driver->AwaitExit();
    ASSERT_TRUE(ExitCode) << "the clock still runs";
    EXPECT_EQ(*ExitCode, 0) << Driver->Describe();
}

} // namespace
