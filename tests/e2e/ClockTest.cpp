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
    const std::optional<long> ExitCode = QuitFromTheMenu();
    ASSERT_TRUE(ExitCode) << "the clock still runs";
    EXPECT_EQ(*ExitCode, 0) << Driver->Describe();
}

// The first run finds no settings key: the clock writes every default it reads, opens with its
// top-left corner at the middle of the screen, and at the end adds the window's size.
class ClockFirstRunTest : public ClockTest
{
protected:
    TStartup Startup() const override { return {{}, false}; }
};

TEST_F(ClockFirstRunTest, StoresTheDefaultsAndOpensAtTheMiddleOfTheScreen)
{
    const TPoint Screen = Driver->GetScreenSize();
    ASSERT_GT(Screen.X, 0);
    TStoredSettings Defaults{
        {"viewertop", Dword(Screen.Y / 2)},
        {"viewerleft", Dword(Screen.X / 2)},
        {"alwaysontop", Dword(0)},
        {"hidetask", Dword(1)},
        {"24hour", Dword(1)},
        {"autoload", Dword(0)},
        {"type", Dword(0)},
        {"vdfcolor", Dword(0)},
        {"title", Dword(1)},
    };
    EXPECT_EQ(Driver->ReadSettings(), std::optional(Defaults));
    EXPECT_EQ(Origin(), (TPoint{Screen.X / 2, Screen.Y / 2}));

    const std::optional<long> ExitCode = QuitFromTheMenu();
    ASSERT_TRUE(ExitCode) << "the clock still runs";
    EXPECT_EQ(*ExitCode, 0) << Driver->Describe();
    Defaults["viewerwidth"] = Dword(Face->Window.X);
    Defaults["viewerheight"] = Dword(Face->Window.Y);
    EXPECT_EQ(Driver->ReadSettings(), std::optional(Defaults));
}

// A stored position opens the window there; over a key that exists, the clock writes nothing
// while it starts.
struct TPlacementCase
{
    const char* Name;
    TPoint Corner;
};

void PrintTo(const TPlacementCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class ClockPlacementTest : public ClockTest, public testing::WithParamInterface<TPlacementCase>
{
protected:
    TStartup Startup() const override
    {
        return {
            {{"title", 0}, {"viewerleft", GetParam().Corner.X}, {"viewertop", GetParam().Corner.Y}},
            false};
    }
};

TEST_P(ClockPlacementTest, OpensWhereTheStoredPositionSays)
{
    const TPlacementCase& C = GetParam();
    EXPECT_TRUE(AwaitOrigin(C.Corner)) << testing::PrintToString(Origin());
    EXPECT_EQ(Driver->GetClientBounds().Width(), Face->Window.X);
    EXPECT_EQ(Driver->GetClientBounds().Height(), Face->Window.Y);
    const TStoredSettings Stored{
        {"title", Dword(0)}, {"viewerleft", Dword(C.Corner.X)}, {"viewertop", Dword(C.Corner.Y)}};
    EXPECT_EQ(Driver->ReadSettings(), std::optional(Stored));
}

INSTANTIATE_TEST_SUITE_P(Corners, ClockPlacementTest,
                         testing::Values(TPlacementCase{"UpperLeft", {37, 61}},
                                         TPlacementCase{"LowerRight", {853, 702}}),
                         ByName{});

TEST_F(ClockTest, ADragByTheDigitsIsStoredOnReleaseAndTheNextRunOpensThere)
{
    const TPoint Offset{-47, 33};
    DragByDigits({Offset});
    const TPoint Dropped = Home + Offset;
    ASSERT_TRUE(AwaitOrigin(Dropped)) << testing::PrintToString(Origin());
    const auto Holds = [&](const char* Name, std::int32_t Value) {
        const std::optional<TStoredSettings> Stored = Driver->ReadSettings();
        return Stored && Stored->contains(Name) && Stored->at(Name) == Dword(Value);
    };
    EXPECT_TRUE(Eventually([&] {
        return Holds("viewerleft", Dropped.X) && Holds("viewertop", Dropped.Y) &&
               Holds("viewerwidth", Face->Window.X) && Holds("viewerheight", Face->Window.Y) &&
               Holds("title", 0) && Holds("type", 0);
    })) << testing::PrintToString(Driver->ReadSettings());

    // Ended at once, the clock stores nothing more: the next run opens where the release left it.
    Driver->Kill();
    StartClock();
    EXPECT_TRUE(AwaitOrigin(Dropped)) << testing::PrintToString(Origin());
}

// Each style and VFD colour, stored before the start: the window's size, the outline the window
// system holds (that of the style's face), and digits that only the chosen image list matches.
struct TStyleCase
{
    const char* Name;
    std::int32_t Type;
    std::int32_t Color;
    TPoint Window;
    int FacePicture; // the face's bitmap resource
    const char* DigitList;
};

void PrintTo(const TStyleCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class ClockStyleTest : public ClockTest, public testing::WithParamInterface<TStyleCase>
{
protected:
    TStartup Startup() const override
    {
        return {{{"title", 0}, {"type", GetParam().Type}, {"vdfcolor", GetParam().Color}}, true};
    }
};

TEST_P(ClockStyleTest, ShowsTheStyleWithItsOutlineAndDigits)
{
    const TStyleCase& C = GetParam();
    EXPECT_EQ(Driver->GetClientBounds().Width(), C.Window.X);
    EXPECT_EQ(Driver->GetClientBounds().Height(), C.Window.Y);

    const TRegion Outline = OutlineOf(LoadBitmapResource(C.FacePicture));
    const std::vector<TRect> Expected(Outline.GetRects().begin(), Outline.GetRects().end());
    ASSERT_FALSE(Expected.empty());
    std::optional<std::vector<std::vector<TRect>>> Shapes;
    ASSERT_TRUE(Eventually([&] {
        Shapes = Driver->ReadShapes();
        if (!Shapes || Shapes->empty())
            return false;
        for (const std::vector<TRect>& Shape : *Shapes)
            if (Shape != Expected)
                return false;
        return true;
    })) << "the window's outlines are not the face's: "
        << testing::PrintToString(Shapes.value_or(std::vector<std::vector<TRect>>{}));

    // A capture whose six cells all show images of the expected list, and a time of day close to
    // the local one; the other lists match none of its cells as a whole.
    const std::vector<TBitmap> Digits = DigitCells(C.DigitList, Face->DigitSize);
    TBitmap Shot;
    std::optional<TClockDigits> Shown;
    int Before = 0;
    int After = 0;
    ASSERT_TRUE(Eventually([&] {
        Before = LocalSecondsOfDay();
        Shot = Driver->CaptureClient();
        After = LocalSecondsOfDay();
        Shown = ReadDigits(*Face, Digits, Shot);
        return Shown.has_value();
    })) << "no capture showed the digits of "
        << C.DigitList;
    const std::optional<int> Seconds = SecondsOfDay(*Shown);
    ASSERT_TRUE(Seconds) << testing::PrintToString(*Shown) << " is no time of day";
    EXPECT_LE(ForwardSeconds(*Seconds, After), ForwardSeconds(Before, After) + 3)
        << "shown " << *Seconds << ", local time " << Before << " to " << After;
    for (const char* Other : {"ImageListNixie", "ImageListVfdG", "ImageListVfdR", "ImageListVfd"}) {
        if (std::string(Other) != C.DigitList) {
            EXPECT_EQ(ReadDigits(*Face, DigitCells(Other, Face->DigitSize), Shot), std::nullopt)
                << Other << " matches the digits too";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ClockStyleTest,
    testing::Values(TStyleCase{"NixieLarge", 0, 0, {308, 154}, 71, "ImageListNixie"},
                    TStyleCase{"NixieLargeRedIgnored", 0, 1, {308, 154}, 71, "ImageListNixie"},
                    TStyleCase{"NixieSmall", 1, 0, {160, 80}, 72, "ImageListNixie"},
                    TStyleCase{"NixieSmallRedIgnored", 1, 1, {160, 80}, 72, "ImageListNixie"},
                    TStyleCase{"VfdLargeCyan", 2, 0, {381, 158}, 70, "ImageListVfdG"},
                    TStyleCase{"VfdLargeRed", 2, 1, {381, 158}, 70, "ImageListVfdR"},
                    TStyleCase{"VfdLargeBlue", 2, 2, {381, 158}, 70, "ImageListVfd"},
                    TStyleCase{"VfdLargeColourOutOfRange", 2, 3, {381, 158}, 70, "ImageListNixie"},
                    TStyleCase{"VfdSmallCyan", 3, 0, {190, 80}, 69, "ImageListVfdG"},
                    TStyleCase{"VfdSmallRed", 3, 1, {190, 80}, 69, "ImageListVfdR"},
                    TStyleCase{"VfdSmallBlue", 3, 2, {190, 80}, 69, "ImageListVfd"}),
    ByName{});

} // namespace
