// The scroll bar: clamping and change events, arrows and track with their repeat, dragging the
// thumb, keys, the thumb's size, the disabled and pushed looks, and a description read back.
#include "framework/stdctrls/ScrollBar.h"

#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Form.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A vertical bar at form (10, 10), 17 x 120, range 0..100: arrows 17 long, a track of 86 from
// form y 27 to 113, and a square thumb that travels 69 pixels.
class ScrollBarTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 50, 160, 160), clBtnFace);
        Bar = new TScrollBar(Form);
        Bar->SetKind(sbVertical);
        Bar->SetBounds(10, 10, 17, 120);
        Bar->SetParent(Form);
        Bar->OnChange = [this](TObject*) { ++Changes; };
        Bar->OnScroll = [this](TObject*, TScrollCode Code, int&) { Codes.push_back(Code); };
        Form->Show();
        Pump();
    }
    void Key(unsigned VirtualKey)
    {
        WM().HandleKey(Form->GetHandle(), WM_KEYDOWN, VirtualKey, 0);
        WM().HandleKey(Form->GetHandle(), WM_KEYUP, VirtualKey, 0);
        Pump();
    }
    void Wait(int Ms)
    {
        Port().AdvanceTime(Ms);
        Pump();
    }
    // The rows of the track where the bar's two middle columns agree: the thumb's rows, for the
    // track's checker differs between neighbours.
    int ThumbRows()
    {
        int Rows = 0;
        for (int Y = 27; Y < 113; ++Y)
            Rows += At(18, Y) == At(19, Y);
        return Rows;
    }

    TScrollBar* Bar = nullptr;
    int Changes = 0;
    std::vector<TScrollCode> Codes;
};

struct TClampCase
{
    const char* Name;
    std::function<void(TScrollBar&)> Act;
    int Position;
    int Changes;
};

class ScrollBarClamp : public ScrollBarTest, public testing::WithParamInterface<TClampCase>
{};

TEST_P(ScrollBarClamp, KeepsPositionInRangeAndReportsEachChangeOnce)
{
    GetParam().Act(*Bar);
    EXPECT_EQ(Bar->GetPosition(), GetParam().Position);
    EXPECT_EQ(Changes, GetParam().Changes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollBarClamp,
    testing::Values(TClampCase{"Inside", [](TScrollBar& B) { B.SetPosition(40); }, 40, 1},
                    TClampCase{"AboveMax", [](TScrollBar& B) { B.SetPosition(250); }, 100, 1},
                    TClampCase{"BelowMin", [](TScrollBar& B) { B.SetPosition(-3); }, 0, 0},
                    TClampCase{"SameTwice",
                               [](TScrollBar& B) {
                                   B.SetPosition(7);
                                   B.SetPosition(7);
                               },
                               7, 1},
                    TClampCase{"MaxLoweredUnderIt",
                               [](TScrollBar& B) {
                                   B.SetPosition(80);
                                   B.SetMax(50);
                               },
                               50, 2},
                    TClampCase{"MinRaisedOverIt", [](TScrollBar& B) { B.SetMin(20); }, 20, 1},
                    TClampCase{"ParamsAtOnce", [](TScrollBar& B) { B.SetParams(300, 10, 200); },
                               200, 1},
                    TClampCase{"PageLimitsTheEnd",
                               [](TScrollBar& B) {
                                   B.SetPageSize(10);
                                   B.SetPosition(100);
                               },
                               91, 1}),
    ByName{});

enum TPress
{
    UpArrow,
    DownArrow,
    TrackBelow
};

struct TRepeatCase
{
    const char* Name;
    TPress Where;
    int Start;
    // The position right after the press, just before the first repeat, after it, after the
    // next, and once long held.
    std::vector<int> Positions;
};

class ScrollBarRepeat : public ScrollBarTest, public testing::WithParamInterface<TRepeatCase>
{};

TEST_P(ScrollBarRepeat, StepsOnThePressAndRepeatsWhileHeld)
{
    const TRepeatCase& C = GetParam();
    Bar->SetLargeChange(10);
    Bar->SetPosition(C.Start);
    // Form points: the arrows' middles, and 80 pixels into the bar, below a thumb near the top.
    const TPoint Points[] = {{18, 18}, {18, 121}, {18, 90}};
    Mouse(WM_LBUTTONDOWN, Points[C.Where], ssLeft);
    std::vector<int> Seen{Bar->GetPosition()};
    Wait(349);
    Seen.push_back(Bar->GetPosition());
    Wait(1);
    Seen.push_back(Bar->GetPosition());
    Wait(50);
    Seen.push_back(Bar->GetPosition());
    for (int I = 0; I < 200; ++I)
        Wait(50);
    Seen.push_back(Bar->GetPosition());
    Mouse(WM_LBUTTONUP, Points[C.Where]);
    EXPECT_EQ(Seen, C.Positions);
    Wait(500);
    EXPECT_EQ(Bar->GetPosition(), C.Positions.back()) << "no repeat after the release";
    ASSERT_FALSE(Codes.empty());
    EXPECT_EQ(Codes.back(), scEndScroll);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollBarRepeat,
    testing::Values(TRepeatCase{"DownArrow", DownArrow, 0, {1, 1, 2, 3, 100}},
                    TRepeatCase{"UpArrow", UpArrow, 50, {49, 49, 48, 47, 0}},
                    // The thumb covers the pointer's row from position 70 on: paging stops there.
                    TRepeatCase{"TrackStopsUnderThePointer", TrackBelow, 0, {10, 10, 20, 30, 70}}),
    ByName{});

TEST_F(ScrollBarTest, TheThumbFollowsThePointerWhileDragged)
{
    // The thumb at position 0 is form y 27 to 44; grab it 5 pixels down from its top.
    Mouse(WM_LBUTTONDOWN, {18, 32}, ssLeft);
    const struct
    {
        TPoint At;
        int Position;
    } Moves[] = {{{18, 32 + 69}, 100}, {{18, 32 + 35}, 51}, {{90, 32 + 10}, 14},
                 {{18, 0}, 0},         {{18, 150}, 100},    {{18, 32 + 23}, 33}};
    for (const auto& M : Moves) {
        Mouse(WM_MOUSEMOVE, M.At, ssLeft);
        EXPECT_EQ(Bar->GetPosition(), M.Position) << M.At.X << "," << M.At.Y;
        EXPECT_EQ(Bar->GetThumbRect().Top, 17 + M.Position * 69 / 100);
    }
    Mouse(WM_LBUTTONUP, {18, 32 + 23});
    ASSERT_GE(Codes.size(), 2u);
    EXPECT_EQ(Codes.front(), scTrack);
    EXPECT_EQ(Codes[Codes.size() - 2], scPosition);
    EXPECT_EQ(Codes.back(), scEndScroll);
    Mouse(WM_MOUSEMOVE, {18, 32 + 60});
    EXPECT_EQ(Bar->GetPosition(), 33) << "the thumb is let go";
}

TEST_F(ScrollBarTest, KeysScrollWhenFocused)
{
    Bar->SetLargeChange(10);
    Bar->SetFocus();
    const struct
    {
        unsigned Key;
        int Position;
    } Cases[] = {{VK_UP, 49},    {VK_DOWN, 51}, {VK_LEFT, 49}, {VK_RIGHT, 51},
                 {VK_PRIOR, 40}, {VK_NEXT, 60}, {VK_HOME, 0},  {VK_END, 100}};
    for (const auto& C : Cases) {
        Bar->SetPosition(50);
        Key(C.Key);
        EXPECT_EQ(Bar->GetPosition(), C.Position) << C.Key;
    }
}

TEST_F(ScrollBarTest, TheThumbIsSizedByThePage)
{
    const struct
    {
        int Max, PageSize, Rows;
    } Cases[] = {{100, 0, 17}, {99, 50, 43}, {99, 25, 21}, {999, 1, 8}, {99, 100, 0}};
    for (const auto& C : Cases) {
        Bar->SetMax(C.Max);
        Bar->SetPageSize(C.PageSize);
        Pump();
        EXPECT_EQ(ThumbRows(), C.Rows) << C.PageSize;
    }
}

TEST_F(ScrollBarTest, ArrowsLookPushedWhileHeldAndGreyWhenDisabled)
{
    // The up arrow's button is form (10, 10) to (27, 27); its glyph's middle column is 18, the
    // triangle's rows 16 to 19.
    const TColor Ink = ColorToRGB(clBtnText), Face = ColorToRGB(clBtnFace);
    EXPECT_EQ(At(18, 16), Ink);
    EXPECT_EQ(At(18, 19), Ink);
    EXPECT_EQ(At(18, 20), Face);
    EXPECT_EQ(At(10, 10), ColorToRGB(cl3DLight));
    Mouse(WM_LBUTTONDOWN, {18, 18}, ssLeft);
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(19, 20), Ink) << "the glyph moves down and right";
    Mouse(WM_MOUSEMOVE, {60, 18}, ssLeft);
    EXPECT_EQ(At(10, 10), ColorToRGB(cl3DLight)) << "off the arrow it springs back";
    Mouse(WM_LBUTTONUP, {60, 18});

    Bar->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(18, 19), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(19, 20), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(ThumbRows(), 0);
    Mouse(WM_LBUTTONDOWN, {18, 121}, ssLeft);
    EXPECT_EQ(Bar->GetPosition(), 0);
}

TEST_F(ScrollBarTest, ADescriptionReadsBack)
{
    RegisterStandardControls();
    const char* const Text = "object Form1: TForm\n"
                             "  object Bar1: TScrollBar\n"
                             "    Width = 17\n"
                             "    Height = 90\n"
                             "    Kind = sbVertical\n"
                             "    Max = 300\n"
                             "    PageSize = 20\n"
                             "    Position = 250\n"
                             "    LargeChange = 20\n"
                             "  end\n"
                             "end\n";
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, Text);
    auto* B = dynamic_cast<TScrollBar*>(Read.FindComponent("Bar1"));
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->GetKind(), sbVertical);
    EXPECT_EQ(B->GetHeight(), 90);
    EXPECT_EQ(B->GetMax(), 300);
    EXPECT_EQ(B->GetPosition(), 250);
    EXPECT_EQ(B->GetLargeChange(), 20);
    const std::string Written = TFormWriter::WriteComponent(Read);
    TForm Again(nullptr);
    TFormReader::ReadInto(Again, Written);
    EXPECT_EQ(TFormWriter::WriteComponent(Again), Written);
}

} // namespace
