// The gallery: its description shows every layout, colour and shape of the binary clock and a
// hex editor with its scroll bar, without controls overlapping or leaving the form, and its timer
// keeps the clocks and counters moving.
#include "controls/BinaryClock.h"
#include "controls/RidivAzoza.h"
#include "framework/stdctrls/ScrollBar.h"
#include "hexedit/Hexcontrol.h"
#include "programs/gallery/Fgallery.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <set>

namespace {

class GalleryTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        HeadlessAppTest::SetUp();
        Port().SetLocalTime({.Hour = 23, .Minute = 59, .Second = 58});
        App->CreateForm(Gallery);
        Gallery->Show();
        Pump();
    }
    TColor At(TControl* C, int X, int Y)
    {
        const TPoint P = C->ClientToScreen({X, Y}) - Gallery->ClientToScreen({0, 0});
        return WM().GetBackBuffer(Gallery->GetHandle())->GetPixel(P.X, P.Y);
    }

    TFormGallery* Gallery = nullptr;
};

TEST_F(GalleryTest, ShowsEveryLayoutColourAndShape)
{
    std::set<int> Types, Colors, Shapes;
    for (const TBinaryClock* C : Gallery->BinaryClocks) {
        Types.insert(C->GetType());
        Colors.insert(C->GetLedColor());
        Shapes.insert(C->GetModeShape());
    }
    EXPECT_EQ(Types, (std::set<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Colors, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(Shapes, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(Gallery->DigitsHex->GetModeType(), 1);
    EXPECT_EQ(Gallery->DigitsDecimal->GetModeType(), 2);
}

TEST_F(GalleryTest, HoldsAHexEditorWithItsScrollBarLinked)
{
    ASSERT_NE(Gallery->HexEditor, nullptr);
    ASSERT_NE(Gallery->HexScrollBar, nullptr);
    EXPECT_EQ(Gallery->HexEditor->GetScrollBar(), Gallery->HexScrollBar);
    EXPECT_EQ(Gallery->HexScrollBar->GetMax(), 1024 / Gallery->HexEditor->GetBytesPerLine() - 1);
}

TEST_F(GalleryTest, NoControlLeavesTheFormOrCoversAnother)
{
    const TRect Client = Gallery->GetClientRect();
    std::vector<std::pair<TControl*, TRect>> Placed;
    for (int I = 0; I < Gallery->GetControlCount(); ++I) {
        TControl* C = Gallery->GetControl(I);
        const TRect R = C->GetBoundsRect();
        EXPECT_EQ(R.Intersect(Client), R) << C->GetName() << " leaves the form";
        for (const auto& [Other, O] : Placed)
            EXPECT_TRUE(R.Intersect(O).IsEmpty()) << C->GetName() << " covers " << Other->GetName();
        Placed.emplace_back(C, R);
    }
    EXPECT_GT(Placed.size(), Gallery->BinaryClocks.size());
}

TEST_F(GalleryTest, TheTimerMovesTheClocksAndCountsTheDigitsUp)
{
    const std::uint32_t Hex = Gallery->DigitsHex->GetValue();
    const std::uint32_t Decimal = Gallery->DigitsDecimal->GetValue();
    // The big clock's seconds field, bit 0 at the bottom of its second column: 58 is even.
    TBinaryClock* Big = Gallery->BinaryClocks.front();
    ASSERT_EQ(Big->GetType(), 0);
    const TColor Before = At(Big, 92 + 18 + 9, 3 * 18 + 9);
    Port().SetLocalTime({.Hour = 23, .Minute = 59, .Second = 59});
    Port().AdvanceTime(260);
    Pump();
    EXPECT_EQ(Gallery->DigitsHex->GetValue(), Hex + 1);
    EXPECT_EQ(Gallery->DigitsDecimal->GetValue(), Decimal + 1);
    EXPECT_NE(At(Big, 92 + 18 + 9, 3 * 18 + 9), Before) << "the seconds' low bit did not light";
}

} // namespace
