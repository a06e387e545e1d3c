#include "app/Formutil.h"

#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>

namespace {

enum class TPlacement
{
    Near,
    Centre,
    Above,
    Below
};

// A window of size Placed put next to a clock at Clock (on top or not) on a Screen-sized
// screen; the expected corners are worked out by hand from the placement rules.
struct TPlaceCase
{
    const char* Name;
    TPlacement How;
    TRect Clock;
    bool OnTop;
    TPoint Placed;
    TPoint Screen;
    TPoint Expected;
};

class FormutilTest : public HeadlessAppTest, public testing::WithParamInterface<TPlaceCase>
{
protected:
    TForm* MakeForm(const TRect& R)
    {
        auto* F = new TForm(App.get());
        F->SetBorderStyle(bsNone);
        F->SetBounds(R.Left, R.Top, R.Width(), R.Height());
        return F;
    }
};

TEST_P(FormutilTest, PutsTheWindowWhereTheRulesSay)
{
    const TPlaceCase& C = GetParam();
    Port().SetScreenSize(C.Screen);
    TForm* Clock = MakeForm(C.Clock);
    if (C.OnTop)
        Clock->SetFormStyle(fsStayOnTop);
    TForm* Box = MakeForm(TRect::FromSize(-999, -999, C.Placed.X, C.Placed.Y));
    switch (C.How) {
    case TPlacement::Near:
        PlaceNearForm(Clock, Box);
        break;
    case TPlacement::Centre:
        CenterOverForm(Clock, Box);
        break;
    case TPlacement::Above:
        PlaceAboveForm(Clock, Box, 25);
        break;
    case TPlacement::Below:
        PlaceBelowForm(Clock, Box, 25);
        break;
    }
    EXPECT_EQ(Box->GetBoundsRect(),
              TRect::FromSize(C.Expected.X, C.Expected.Y, C.Placed.X, C.Placed.Y));
    EXPECT_EQ(Clock->GetBoundsRect(), C.Clock) << "the reference never moves";
}

constexpr TPoint Screen1024{1024, 768};
constexpr TRect ClockAt100 = {100, 100, 408, 254}; // 308 x 154

INSTANTIATE_TEST_SUITE_P(
    Cases, FormutilTest,
    testing::Values(
        // The title box over a clock that is not on top: centred.
        TPlaceCase{"TitleOverNormalClock",
                   TPlacement::Near,
                   ClockAt100,
                   false,
                   {218, 58},
                   Screen1024,
                   {145, 148}},
        // On top with room above: 100 - 58 - 10.
        TPlaceCase{"TitleAboveClockOnTop",
                   TPlacement::Near,
                   ClockAt100,
                   true,
                   {218, 58},
                   Screen1024,
                   {145, 32}},
        // On top near the screen's top: no room above, so 10 pixels below.
        TPlaceCase{"AboutBelowClockOnTop",
                   TPlacement::Near,
                   {100, 20, 408, 174},
                   true,
                   {260, 200},
                   Screen1024,
                   {124, 184}},
        // ... but never below the screen's bottom edge.
        TPlaceCase{"BelowButInsideTheScreen",
                   TPlacement::Near,
                   {100, 20, 408, 174},
                   true,
                   {260, 200},
                   {1024, 300},
                   {124, 100}},
        // Room above means more than the placed height, not as much.
        TPlaceCase{"ExactlyItsHeightAboveIsNoRoom",
                   TPlacement::Near,
                   {100, 58, 408, 212},
                   true,
                   {218, 58},
                   Screen1024,
                   {145, 222}},
        // Near the bottom: lifted so that 50 pixels stay free.
        TPlaceCase{"LiftedOffTheBottom",
                   TPlacement::Near,
                   {100, 700, 408, 854},
                   false,
                   {218, 58},
                   Screen1024,
                   {145, 660}},
        // Near the right edge: pulled inside.
        TPlaceCase{"PulledInsideTheRightEdge",
                   TPlacement::Centre,
                   {900, 100, 1208, 254},
                   false,
                   {218, 58},
                   Screen1024,
                   {806, 148}},
        // Nearly as large as the clock: nudged 15 pixels right and down.
        TPlaceCase{"NudgedWhenAlike",
                   TPlacement::Centre,
                   ClockAt100,
                   false,
                   {300, 150},
                   Screen1024,
                   {119, 117}},
        // Off the top-left corner: clamped to 0 first, then nudged.
        TPlaceCase{"ClampedThenNudged",
                   TPlacement::Centre,
                   {-50, -40, 258, 114},
                   false,
                   {300, 150},
                   Screen1024,
                   {15, 15}},
        // Halves are truncated toward zero: (154 - 159) / 2 is -2, (308 - 315) / 2 is -3.
        TPlaceCase{"TruncatedTowardZero",
                   TPlacement::Centre,
                   ClockAt100,
                   false,
                   {315, 159},
                   Screen1024,
                   {112, 113}},
        // Larger than the screen: both edges end negative and stay so.
        TPlaceCase{"LargerThanTheScreen",
                   TPlacement::Centre,
                   ClockAt100,
                   false,
                   {2000, 1000},
                   Screen1024,
                   {-976, -282}},
        TPlaceCase{"AboveWithAGap",
                   TPlacement::Above,
                   {100, 300, 408, 454},
                   false,
                   {218, 58},
                   Screen1024,
                   {145, 217}},
        TPlaceCase{"AboveNeverOffTheTop",
                   TPlacement::Above,
                   ClockAt100,
                   false,
                   {218, 90},
                   Screen1024,
                   {145, 0}},
        TPlaceCase{"BelowWithAGap",
                   TPlacement::Below,
                   ClockAt100,
                   false,
                   {218, 58},
                   Screen1024,
                   {145, 279}}),
    ByName{});

using FormutilNullTest = HeadlessAppTest;

TEST_F(FormutilNullTest, DoesNothingWithoutBothForms)
{
    auto* F = new TForm(App.get());
    F->SetBounds(10, 20, 30, 40);
    PlaceNearForm(nullptr, F);
    CenterOverForm(F, nullptr);
    PlaceAboveForm(nullptr, F, 10);
    PlaceBelowForm(nullptr, F, 10);
    EXPECT_EQ(F->GetBoundsRect(), TRect::FromSize(10, 20, 30, 40));
}

} // namespace
