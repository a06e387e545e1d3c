#include "controls/VelmoraPanel.h"

#include "controls/BinaryClock.h"
#include "controls/RidivAzoza.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr TColor Fill = RGB(10, 20, 30);

class VelmoraPanelTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 200, 60});
        Panel = new TVelmoraPanel(Form);
        Panel->SetParent(Form);
        Form->Show();
        Pump();
        Panel->SetColor(Fill);
    }

    // The colour at each inset from 0 to Count - 1, the same on all four sides and corners.
    std::vector<TColor> Insets(int Count)
    {
        const int W = Panel->GetWidth(), H = Panel->GetHeight();
        std::vector<TColor> Left;
        for (int K = 0; K < Count; ++K) {
            Left.push_back(At(K, H / 2));
            const std::vector<TColor> Others{At(W - 1 - K, H / 2), At(W / 2, K),
                                             At(W / 2, H - 1 - K), At(K, K),
                                             At(W - 1 - K, H - 1 - K)};
            for (const TColor C : Others)
                EXPECT_EQ(C, Left.back()) << "inset " << K;
        }
        return Left;
    }

    TVelmoraPanel* Panel = nullptr;
};

TEST_F(VelmoraPanelTest, StartsAsAPanelWithARedBandRampedInGreen)
{
    EXPECT_EQ(Panel->GetWidth(), 185);
    EXPECT_EQ(Panel->GetHeight(), 41);
    EXPECT_EQ((new TVelmoraPanel(Form))->GetColor(), clBtnFace);
    const std::vector<int> Values{Panel->GetBarWidth(), Panel->GetDoRed(), Panel->GetDoGreen(),
                                  Panel->GetDoBlue(), Panel->GetMaxInc()};
    EXPECT_EQ(Values, (std::vector<int>{6, 255, -1, 0, 150}));
}

struct TBandCase
{
    const char* Name;
    std::vector<int> Settings;    // BarWidth, MaxInc, DoRed, DoGreen, DoBlue
    std::vector<TColor> Expected; // inset 0 onwards, up to the first fill pixel
};

class VelmoraPanelBand : public VelmoraPanelTest, public testing::WithParamInterface<TBandCase>
{};

TEST_P(VelmoraPanelBand, RampsFromTheMiddleLineOutwards)
{
    const std::vector<int>& S = GetParam().Settings;
    Panel->SetBarWidth(S[0]);
    Panel->SetMaxInc(S[1]);
    Panel->SetDoRed(S[2]);
    Panel->SetDoGreen(S[3]);
    Panel->SetDoBlue(S[4]);
    EXPECT_EQ(Insets(int(GetParam().Expected.size())), GetParam().Expected);
}

// Step 150 / 3 = 50 for the defaults; 600 / 3 = 200 wraps the outer lines' 400 to 144; a fixed
// 256 is 0 and -2 is 254; a step of -2 / 2 = -1 is 255 on the outer lines.
INSTANTIATE_TEST_SUITE_P(
    Bands, VelmoraPanelBand,
    testing::Values(TBandCase{"Defaults",
                              {6, 150, 255, -1, 0},
                              {RGB(255, 100, 0), RGB(255, 50, 0), clRed, RGB(255, 50, 0),
                               RGB(255, 100, 0), Fill}},
                    TBandCase{"AllRampedIsGrey",
                              {6, 150, -1, -1, -1},
                              {RGB(100, 100, 100), RGB(50, 50, 50), clBlack, RGB(50, 50, 50),
                               RGB(100, 100, 100), Fill}},
                    TBandCase{"MaxInc600Wraps",
                              {6, 600, 255, -1, 0},
                              {RGB(255, 144, 0), RGB(255, 200, 0), clRed, RGB(255, 200, 0),
                               RGB(255, 144, 0), Fill}},
                    TBandCase{"FixedChannelsTakeTheLowByte",
                              {4, 150, 256, -2, -1},
                              {RGB(0, 254, 75), RGB(0, 254, 0), RGB(0, 254, 75), Fill}},
                    TBandCase{
                        "NegativeMaxIncWraps", {4, -2, 0, 0, -1}, {clBlue, clBlack, clBlue, Fill}}),
    ByName());

class VelmoraPanelNoBand : public VelmoraPanelTest, public testing::WithParamInterface<int>
{};

// 0 and the negative widths are the documented ones; 1 and -1 would divide by zero.
TEST_P(VelmoraPanelNoBand, FillsTheWholeClientArea)
{
    Panel->SetDoGreen(0); // a band, if drawn, would be pure red
    Panel->SetBarWidth(GetParam());
    for (int Y = 0; Y < Panel->GetHeight(); ++Y)
        for (int X = 0; X < Panel->GetWidth(); ++X)
            ASSERT_EQ(At(X, Y), Fill) << X << "," << Y;
    EXPECT_NE(At(Panel->GetWidth(), 0), Fill); // and nothing beyond it
}

INSTANTIATE_TEST_SUITE_P(Widths, VelmoraPanelNoBand, testing::Values(0, -6, -7, 1, -1, INT32_MIN),
                         [](const testing::TestParamInfo<int>& I) {
                             return "BarWidth" + NumberWord(I.param);
                         });

TEST_F(VelmoraPanelTest, AnOddBarWidthLeavesARingAsItWas)
{
    const TColor Before = At(3, 20); // inset 3 of the default band
    Panel->SetBarWidth(5);           // lines at insets 0 to 2, fill from inset 4
    EXPECT_EQ(Insets(5), (std::vector<TColor>{RGB(255, 75, 0), RGB(255, 0, 0), RGB(255, 75, 0),
                                              Before, Fill}));
    EXPECT_NE(Before, Fill);
}

TEST_F(VelmoraPanelTest, AStoredZeroComesBackAsTheConstructionValue)
{
    VelmoraPanel::Register();
    Panel->SetName("Panel");
    Panel->SetBarWidth(0);
    Panel->SetDoRed(-1);
    const std::string Text = TFormWriter::WriteComponent(*Panel);
    EXPECT_EQ(Text.find("BarWidth"), std::string::npos);
    auto* Copy = dynamic_cast<TVelmoraPanel*>(TFormReader::ReadComponent(Text, Form));
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->GetBarWidth(), 6);
    EXPECT_EQ(Copy->GetDoRed(), -1);
    EXPECT_EQ(Copy->GetColor(), Fill);
}

TEST(VelmoraPanelPalette, TheAdditionalPageHoldsTheDisplayControls)
{
    RidivAzoza::Register();
    BinaryClock::Register();
    VelmoraPanel::Register();
    const std::vector<std::string> Pages = TClassRegistry::GetPalettePages();
    ASSERT_NE(std::find(Pages.begin(), Pages.end(), "Additional"), Pages.end());
    std::vector<std::string> Names;
    for (const TClassInfo* Class : TClassRegistry::GetPaletteClasses("Additional"))
        Names.push_back(Class->GetName());
    for (const char* Name : {"TRidivAzoza", "TBinaryClock", "TVelmoraPanel"}) {
        EXPECT_NE(std::find(Names.begin(), Names.end(), Name), Names.end()) << Name;
        EXPECT_NE(GetClass(Name), nullptr) << Name;
    }
}

// ---- The ramp bar -----------------------------------------------------------------------------

struct TBarCase
{
    const char* Name;
    std::vector<int> Arguments; // x, band parameter, column width
    int First;                  // the leftmost line's x
    std::vector<TColor> Lines;  // from the left
};

class VelmoraPanelBar : public testing::TestWithParam<TBarCase>
{};

TEST_P(VelmoraPanelBar, CentresTheLinesInTheColumn)
{
    const TBarCase& C = GetParam();
    constexpr TColor Paper = RGB(1, 2, 3), Pen = RGB(9, 8, 7);
    constexpr int Top = 2, Bottom = 15;
    TBitmap Target(48, 20);
    TCanvas Canvas(Target);
    Canvas.GetBrush().SetColor(Paper);
    Canvas.FillRect({0, 0, 48, 20});
    Canvas.GetPen().SetColor(Pen);
    PaintRampBar(Canvas, C.Arguments[0], Top, Bottom, C.Arguments[1], C.Arguments[2], 0, -1, 255);
    EXPECT_EQ(Canvas.GetPen().GetColor(), Pen);
    for (int X = 0; X < 48; ++X) {
        const std::size_t Line = std::size_t(X - C.First);
        const TColor Expected = Line < C.Lines.size() ? C.Lines[Line] : Paper;
        EXPECT_EQ(Target.GetPixel(X, Top), Expected) << X;
        EXPECT_EQ(Target.GetPixel(X, Bottom - 1), Expected) << X;
        EXPECT_EQ(Target.GetPixel(X, Top - 1), Paper) << X;
        EXPECT_EQ(Target.GetPixel(X, Bottom), Paper) << X;
    }
}

// Centre 10 + 20 / 2 - 1 = 19 with step 150 / 3 = 50; centre 3 + 7 / 2 - 1 = 5 with step 75.
INSTANTIATE_TEST_SUITE_P(
    Bars, VelmoraPanelBar,
    testing::Values(
        TBarCase{"SixInAColumnOf20",
                 {10, 6, 20},
                 17,
                 {RGB(0, 100, 255), RGB(0, 50, 255), clBlue, RGB(0, 50, 255), RGB(0, 100, 255)}},
        TBarCase{"FourInAColumnOf7", {3, 4, 7}, 4, {RGB(0, 75, 255), clBlue, RGB(0, 75, 255)}},
        TBarCase{"NoColumn", {10, 6, 0}, 0, {}}, TBarCase{"NoBand", {10, 0, 20}, 0, {}},
        TBarCase{"BandOfOne", {10, 1, 20}, 0, {}}, TBarCase{"BandOfMinusOne", {10, -1, 20}, 0, {}}),
    ByName());

} // namespace

// A band far wider than the canvas, centred far off it: exactly its lines that reach the canvas.
TEST(VelmoraRampBar, DrawsOnlyTheLinesInsideTheCanvasHoweverWideTheBand)
{
    TBitmap B(20, 5);
    TCanvas& C = B.GetCanvas();
    C.GetBrush().SetColor(clWhite);
    C.FillRect({0, 0, 20, 5});
    // The centre lies at -999991 and the band's last line at centre + (2000010 / 2 - 1) = 13.
    PaintRampBar(C, -1000000, 0, 5, 2000010, 20, 0, 0, 0);
    for (int X = 0; X < 20; ++X)
        EXPECT_EQ(B.GetPixel(X, 2), X <= 13 ? clBlack : clWhite) << X;
}
