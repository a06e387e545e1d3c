#include "controls/BinaryClock.h"

#include "base/Exception.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/objects/Resources.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int Top = 2; // the clock's top on the form
constexpr TColor Back = RGB(10, 200, 30), Face = RGB(200, 0, 200);
// By Type: the LED size and the gap between fields; Types 0 to 2 are the vertical layouts.
constexpr int Size[6] = {18, 9, 5, 18, 9, 5}, Gap[6] = {10, 4, 2, 10, 4, 2};

class BinaryClockTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 480, 90}, Face);
        Clock = new TBinaryClock(Form);
        Clock->SetBounds(0, Top, 470, 80);
        Clock->SetColor(Back);
        Clock->SetParent(Form);
        Form->Show();
        Pump();
    }
    void Show(int Type, int H = 23, int M = 45, int S = 59)
    {
        Port().SetLocalTime(TLocalTime{.Hour = H, .Minute = M, .Second = S});
        Clock->SetType(Type); // a setter repaints by itself
    }
    TColor Px(int X, int Y) { return At(X, Y + Top); }
    std::vector<TColor> Pixels()
    {
        std::vector<TColor> All;
        for (int I = 0; I < Clock->GetWidth() * Clock->GetHeight(); ++I)
            All.push_back(Px(I % Clock->GetWidth(), I / Clock->GetWidth()));
        return All;
    }
    // '1' or '0' when the W x W cell at (X, Y) shows the on or off picture of the colour, scaled
    // by the nearest pixel (no smoothing); '?' when it shows neither.
    char Led(int X, int Y, int W, int Color = 0)
    {
        const TBinaryClock::TLedResource R = TBinaryClock::LedResources[std::size_t(Color)];
        for (const auto& [Lit, Id] : {std::pair{'1', R.On}, std::pair{'0', R.Off}}) {
            TBitmap P;
            P.LoadFromBytes(TResources::Find("bitmap", Id)->Data);
            bool Same = true;
            for (int J = 0; J < W * W && Same; ++J)
                Same = Px(X + J % W, Y + J / W) == P.GetPixel(J % W * 18 / W, J / W * 18 / W);
            if (Same)
                return Lit;
        }
        return '?';
    }
    // The LEDs line by line, the fields apart: "HH MM SS" for each row of a vertical layout, one
    // line of three times eight for a horizontal one.
    std::vector<std::string> Leds(int Type)
    {
        const int W = Size[Type], Columns = Type < 3 ? 2 : 8;
        std::vector<std::string> Lines(Type < 3 ? 4 : 1);
        for (std::size_t R = 0; R < Lines.size(); ++R)
            for (int I = 0; I < 3 * Columns; ++I)
                Lines[R] +=
                    std::string(I && I % Columns == 0 ? " " : "") +
                    Led(I / Columns * (Columns * W + Gap[Type]) + I % Columns * W, int(R) * W, W);
        return Lines;
    }

    TBinaryClock* Clock = nullptr;
};

struct TPatternCase
{
    std::string Name;
    int Type, Bcd, Mode24, H, M;
    std::vector<std::string> Expected;
};

class BinaryClockPattern : public BinaryClockTest, public testing::WithParamInterface<TPatternCase>
{};

TEST_P(BinaryClockPattern, LightsTheBitsOfEachField)
{
    const TPatternCase& C = GetParam();
    Clock->SetModeBcd(C.Bcd);
    Clock->SetMode24(C.Mode24);
    Show(C.Type, C.H, C.M);
    EXPECT_EQ(Leds(C.Type), C.Expected);
}

// 23, 45, 59: BCD 2 3, 4 5, 5 9; plain 0001 0111, 0010 1101, 0011 1011.
const std::vector<std::string> Bcd234559 = {"00 00 01", "00 11 10", "11 00 00", "01 01 11"};
const std::vector<std::string> Plain234559 = {"00 01 01", "01 01 00", "01 10 11", "11 01 11"};
const std::vector<std::string> Row234559 = {"00010111 00101101 00111011"};
INSTANTIATE_TEST_SUITE_P(
    Times, BinaryClockPattern,
    testing::Values(
        TPatternCase{"Bcd18", 0, 1, 1, 23, 45, Bcd234559},
        TPatternCase{"Plain18", 0, 0, 1, 23, 45, Plain234559},
        TPatternCase{"PlainStretchedTo9", 1, 0, 1, 23, 45, Plain234559},
        TPatternCase{"BcdStretchedTo5", 2, 1, 1, 23, 45, Bcd234559},
        TPatternCase{"H12At0030", 0, 1, 0, 0, 30, {"00 00 01", "00 00 10", "00 10 00", "00 10 11"}},
        TPatternCase{"H12At1300", 1, 0, 0, 13, 0, {"00 00 01", "00 00 00", "00 00 11", "01 00 11"}},
        TPatternCase{"RowIgnoresBcd18", 3, 1, 1, 23, 45, Row234559},
        TPatternCase{"RowIgnoresBcd9", 4, 1, 1, 23, 45, Row234559},
        TPatternCase{"RowIgnoresBcd5", 5, 1, 0, 23, 45, {"00001011 00101101 00111011"}}),
    ByName());

TEST_F(BinaryClockTest, MinutesAndSecondsNeverLightBits7And6)
{
    for (int V = 0; V < 60; ++V) {
        Show(0, 23, V, V);
        const std::vector<std::string> Rows = Leds(0);
        EXPECT_EQ(Rows[0].substr(3, 1) + Rows[0][6] + Rows[1][3] + Rows[1][6], "0000") << V;
        Show(3, 23, V, V);
        EXPECT_EQ(Leds(3)[0].substr(9, 2) + Leds(3)[0].substr(18, 2), "0000") << V;
    }
}

TEST_F(BinaryClockTest, EachColourDrawsItsPairAndOtherValuesColour0)
{
    for (int Color : {0, 1, 2, 3, 4, -1}) {
        Clock->SetLedColor(Color);
        Show(0);
        const int Pair = Color >= 0 && Color <= 3 ? Color : 0;
        EXPECT_EQ(std::string() + Led(18, 54, 18, Pair) + Led(0, 0, 18, Pair), "10") << Color;
    }
}

TEST_F(BinaryClockTest, OtherTypesLeavePlainColour)
{
    for (int Type : {6, -1}) {
        Show(0);
        Show(Type);
        EXPECT_EQ(Pixels(), std::vector<TColor>(std::size_t(470 * 80), Back)) << Type;
    }
}

// Ring thicknesses of a cell amid a field (none: the cell as without a shape), and for the offset
// frame the lines beyond the right edge of the field's last cell: Beyond columns, each a row
// shorter at either end.
struct TFrameCase
{
    int Type, Shape, Left, Top, Right, Bottom, Beyond;
};

class BinaryClockFrame : public BinaryClockTest, public testing::WithParamInterface<TFrameCase>
{};

TEST_P(BinaryClockFrame, OutlinesTheCellInBlack)
{
    const TFrameCase& C = GetParam();
    const int W = Size[C.Type], X0 = C.Type < 3 ? 2 * W + Gap[C.Type] : W, Y0 = C.Type < 3 ? W : 0;
    Show(C.Type);
    const std::vector<TColor> Plain = Pixels();
    Clock->SetModeShape(C.Shape);
    for (int Y = 0; Y < W; ++Y)
        for (int X = 0; X < W; ++X) {
            const bool Ring = X < C.Left || Y < C.Top || X >= W - C.Right || Y >= W - C.Bottom;
            EXPECT_EQ(Px(X0 + X, Y0 + Y),
                      Ring ? clBlack : Plain[std::size_t((Y0 + Y) * 470 + X0 + X)])
                << X << "," << Y;
        }
    for (int J = 0; J <= C.Beyond; ++J)
        for (int Y = 0; Y < W; ++Y)
            EXPECT_EQ(Px((C.Type < 3 ? 2 : 8) * W + J, Y),
                      J < C.Beyond && Y > J && Y < W - 1 - J ? clBlack : Back)
                << J << "," << Y;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BinaryClockFrame,
    testing::Values(TFrameCase{0, 1, 4, 4, 4, 4, 0}, TFrameCase{1, 1, 2, 2, 2, 2, 0},
                    TFrameCase{2, 1, 1, 1, 1, 1, 0}, TFrameCase{3, 1, 4, 4, 4, 4, 0},
                    TFrameCase{5, 1, 1, 1, 1, 1, 0}, TFrameCase{0, 2, 6, 6, 3, 6, 5},
                    TFrameCase{1, 2, 3, 3, 1, 3, 2}, TFrameCase{2, 2, 1, 1, 1, 1, 0},
                    TFrameCase{3, 2, 6, 6, 3, 6, 5}, TFrameCase{4, 2, 3, 3, 1, 3, 2},
                    TFrameCase{2, 3, 0, 0, 0, 0, 0}, TFrameCase{3, 3, 0, 0, 0, 0, 0},
                    TFrameCase{4, 3, 0, 0, 0, 0, 0}, TFrameCase{5, 3, 0, 0, 0, 0, 0}),
    [](const testing::TestParamInfo<TFrameCase>& I) {
        return "Type" + std::to_string(I.param.Type) + "Shape" + std::to_string(I.param.Shape);
    });

TEST_F(BinaryClockTest, TrianglesReachFromBelowTheCellToAboveIt)
{
    // Type, x, y, black. 18 pixels: three nested triangles: row 1's inner bases and apexes, row
    // 3's outer base on the line under the field; corners and centre keep the picture. 9 pixels:
    // one triangle, row 1's apex on the last line of row 0, row 3's base under the field.
    const std::tuple<int, int, int, bool> Points[] = {
        {0, 1, 35, true},  {0, 16, 35, true},  {0, 2, 34, true},  {0, 15, 34, true},
        {0, 9, 18, true},  {0, 9, 19, true},   {0, 0, 72, true},  {0, 17, 72, true},
        {0, 0, 18, false}, {0, 17, 18, false}, {0, 9, 27, false}, {1, 4, 8, true},
        {1, 0, 36, true},  {1, 8, 36, true},   {1, 0, 9, false},  {1, 8, 9, false},
        {1, 4, 13, false}};
    for (int Type : {0, 1}) {
        Clock->SetModeShape(0);
        Show(Type);
        const std::vector<TColor> Plain = Pixels();
        Clock->SetModeShape(3);
        for (const auto& [T, X, Y, Black] : Points)
            EXPECT_TRUE(T != Type ||
                        Px(X, Y) == (Black ? clBlack : Plain[std::size_t(Y * 470 + X)]))
                << Type << ": " << X << "," << Y;
        EXPECT_EQ(At(Type ? 4 : 9, Top - 1), Face); // the top row's apex stays in the control
    }
}

class TBinaryClockFrom : public TBinaryClock
{
public:
    TBinaryClockFrom(TComponent* AOwner, const TLedResources& R) : TBinaryClock(AOwner, R) {}
};

TEST_F(BinaryClockTest, AMissingPictureFailsConstructionAndLeavesNoControl)
{
    TBinaryClock::TLedResources Lacking = TBinaryClock::LedResources;
    Lacking[2].On = 9999;
    const int Before = Form->GetComponentCount();
    try {
        new TBinaryClockFrom(Form, Lacking);
        ADD_FAILURE() << "constructed";
    } catch (const EResNotFound& E) {
        EXPECT_STREQ(E.what(), "Resource 9999 not found");
    }
    EXPECT_EQ(Form->GetComponentCount(), Before);
}

TEST_F(BinaryClockTest, IsOnThePaletteAndStoresOnlyNonZeroProperties)
{
    BinaryClock::Register();
    const auto Classes = TClassRegistry::GetPaletteClasses("Additional");
    EXPECT_EQ(std::count(Classes.begin(), Classes.end(), &ClassInfoOf<TBinaryClock>()), 1);
    Clock->SetName("Clock");
    Clock->SetMode24(0);
    Clock->SetLedColor(2);
    auto* Copy = dynamic_cast<TBinaryClock*>(
        TFormReader::ReadComponent(TFormWriter::WriteComponent(*Clock), Form));
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(std::tuple(Copy->GetLedColor(), Copy->GetMode24()), std::tuple(2, 1));
}

} // namespace
