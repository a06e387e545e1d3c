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

struct TLayout
{
    int Width, Gap;
    bool Vertical;
};
// By Type: LED size, gap between fields, vertical or not.
constexpr TLayout Layouts[6] = {{18, 10, true},  {9, 4, true},  {5, 2, true},
                                {18, 10, false}, {9, 4, false}, {5, 2, false}};

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

    void Show(int Type, int H, int M, int S)
    {
        Port().SetLocalTime(TLocalTime{.Hour = H, .Minute = M, .Second = S});
        Clock->SetType(Type); // a setter repaints by itself
    }
    TColor Px(int X, int Y) { return At(X, Y + Top); }
    std::vector<TColor> Pixels()
    {
        std::vector<TColor> All;
        for (int Y = 0; Y < Clock->GetHeight(); ++Y)
            for (int X = 0; X < Clock->GetWidth(); ++X)
                All.push_back(Px(X, Y));
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
    // The LEDs of a layout, line by line, fields apart: vertical "HH MM SS" for each row, or
    // one line of three times eight.
    std::vector<std::string> Leds(int Type)
    {
        const TLayout L = Layouts[Type];
        std::vector<std::string> Lines;
        for (int R = 0; R < (L.Vertical ? 4 : 1); ++R) {
            std::string Line;
            for (int F = 0; F < 3; ++F)
                for (int C = 0; C < (L.Vertical ? 2 : 8); ++C)
                    Line += std::string(F && !C ? " " : "") +
                            Led(F * ((L.Vertical ? 2 : 8) * L.Width + L.Gap) + C * L.Width,
                                R * L.Width, L.Width);
            Lines.push_back(Line);
        }
        return Lines;
    }

    TBinaryClock* Clock = nullptr;
};

struct TPatternCase
{
    std::string Name;
    int Type, Bcd, Mode24, H, M, S;
    std::vector<std::string> Expected;
};

class BinaryClockPattern : public BinaryClockTest, public testing::WithParamInterface<TPatternCase>
{};

TEST_P(BinaryClockPattern, LightsTheBitsOfEachField)
{
    const TPatternCase& C = GetParam();
    Clock->SetModeBcd(C.Bcd);
    Clock->SetMode24(C.Mode24);
    Show(C.Type, C.H, C.M, C.S);
    EXPECT_EQ(Leds(C.Type), C.Expected);
}

// 23, 45, 59: BCD 2 3, 4 5, 5 9; plain 0001 0111, 0010 1101, 0011 1011.
const std::vector<std::string> Bcd234559 = {"00 00 01", "00 11 10", "11 00 00", "01 01 11"};
const std::vector<std::string> Plain234559 = {"00 01 01", "01 01 00", "01 10 11", "11 01 11"};
const std::vector<std::string> Row234559 = {"00010111 00101101 00111011"};
INSTANTIATE_TEST_SUITE_P(
    Times, BinaryClockPattern,
    testing::Values(
        TPatternCase{"Bcd18", 0, 1, 1, 23, 45, 59, Bcd234559},
        TPatternCase{"Plain18", 0, 0, 1, 23, 45, 59, Plain234559},
        TPatternCase{"PlainStretchedTo9", 1, 0, 1, 23, 45, 59, Plain234559},
        TPatternCase{"BcdStretchedTo5", 2, 1, 1, 23, 45, 59, Bcd234559},
        TPatternCase{"HalfPastMidnightIsHour0",
                     0,
                     1,
                     0,
                     0,
                     30,
                     0,
                     {"00 00 00", "00 00 00", "00 10 00", "00 10 00"}},
        TPatternCase{
            "OnePmIsHour1", 1, 0, 0, 13, 0, 0, {"00 00 00", "00 00 00", "00 00 00", "01 00 00"}},
        TPatternCase{
            "NoonStays12", 2, 0, 0, 12, 0, 0, {"01 00 00", "01 00 00", "00 00 00", "00 00 00"}},
        TPatternCase{"RowsIgnoreBcd18", 3, 1, 1, 23, 45, 59, Row234559},
        TPatternCase{"RowsIgnoreBcd9", 4, 1, 1, 23, 45, 59, Row234559},
        TPatternCase{"RowsIgnoreBcd5", 5, 1, 1, 23, 45, 59, Row234559},
        TPatternCase{"RowsPlain5", 5, 0, 0, 13, 45, 59, {"00000001 00101101 00111011"}}),
    ByName());

TEST_F(BinaryClockTest, MinutesAndSecondsNeverLightBits7And6)
{
    for (int V = 0; V < 60; ++V) {
        Show(0, 23, V, V);
        const std::vector<std::string> Rows = Leds(0);
        for (int R : {0, 1})
            EXPECT_EQ(Rows[std::size_t(R)].substr(3, 1) + Rows[std::size_t(R)].substr(6, 1), "00")
                << V;
        Show(3, 23, V, V);
        const std::string Line = Leds(3)[0];
        EXPECT_EQ(Line.substr(9, 2) + Line.substr(18, 2), "0000") << V;
    }
}

TEST_F(BinaryClockTest, EachColourDrawsItsOwnPairAndOthersColour0)
{
    for (int Color : {0, 1, 2, 3, 4, -1}) {
        Clock->SetLedColor(Color);
        Show(0, 23, 45, 59);
        const int Pair = Color >= 0 && Color <= 3 ? Color : 0;
        EXPECT_EQ(std::string() + Led(18, 54, 18, Pair) + Led(0, 0, 18, Pair), "10") << Color;
    }
}

TEST_F(BinaryClockTest, OtherTypesLeavePlainColour)
{
    for (int Type : {6, -1}) {
        Show(0, 23, 45, 59);
        Show(Type, 23, 45, 59);
        const std::vector<TColor> All = Pixels();
        EXPECT_EQ(std::count(All.begin(), All.end(), Back), std::ptrdiff_t(All.size())) << Type;
    }
}

TEST_F(BinaryClockTest, TrianglesAreNotDrawnInRowsNorAt5Pixels)
{
    for (int Type : {2, 3, 4, 5}) {
        Clock->SetModeShape(0);
        Show(Type, 23, 45, 59);
        const std::vector<TColor> Plain = Pixels();
        Clock->SetModeShape(3);
        EXPECT_EQ(Pixels(), Plain) << Type;
    }
}

// A frame of the given thickness on each side of a cell in the middle of a field; with the
// offset frame, lines beyond the right edge of the field's last cell, Beyond columns deep, each a
// row shorter at either end than the one before.
struct TFrameCase
{
    int Type, Shape, Left, Top, Right, Bottom, Beyond;
};

class BinaryClockFrame : public BinaryClockTest, public testing::WithParamInterface<TFrameCase>
{};

TEST_P(BinaryClockFrame, OutlinesTheCellInBlack)
{
    const TFrameCase& C = GetParam();
    const TLayout L = Layouts[C.Type];
    const int W = L.Width, X0 = L.Vertical ? 2 * W + L.Gap : W, Y0 = L.Vertical ? W : 0;
    Show(C.Type, 23, 45, 59);
    const std::vector<TColor> Plain = Pixels();
    Clock->SetModeShape(C.Shape);
    for (int Y = 0; Y < W; ++Y)
        for (int X = 0; X < W; ++X) {
            const bool Ring = X < C.Left || Y < C.Top || X >= W - C.Right || Y >= W - C.Bottom;
            const TColor Was = Plain[std::size_t((Y0 + Y) * Clock->GetWidth() + X0 + X)];
            EXPECT_EQ(Px(X0 + X, Y0 + Y), Ring ? clBlack : Was) << X << "," << Y;
        }
    const int GapX = (L.Vertical ? 2 : 8) * W;
    for (int J = 0; J <= C.Beyond; ++J)
        for (int Y = 0; Y < W; ++Y)
            EXPECT_EQ(Px(GapX + J, Y), J < C.Beyond && Y > J && Y < W - 1 - J ? clBlack : Back)
                << J << "," << Y;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BinaryClockFrame,
    testing::Values(TFrameCase{0, 1, 4, 4, 4, 4, 0}, TFrameCase{1, 1, 2, 2, 2, 2, 0},
                    TFrameCase{2, 1, 1, 1, 1, 1, 0}, TFrameCase{3, 1, 4, 4, 4, 4, 0},
                    TFrameCase{5, 1, 1, 1, 1, 1, 0}, TFrameCase{0, 2, 6, 6, 3, 6, 5},
                    TFrameCase{1, 2, 3, 3, 1, 3, 2}, TFrameCase{2, 2, 1, 1, 1, 1, 0},
                    TFrameCase{3, 2, 6, 6, 3, 6, 5}, TFrameCase{4, 2, 3, 3, 1, 3, 2}),
    [](const testing::TestParamInfo<TFrameCase>& I) {
        return "Type" + std::to_string(I.param.Type) + "Shape" + std::to_string(I.param.Shape);
    });

TEST_F(BinaryClockTest, TrianglesReachFromBelowTheCellToAboveIt)
{
    struct TPoint3
    {
        int Type, X, Y;
        bool Black;
    };
    // 18 pixels: three nested triangles; row 1's bases and apexes, row 3's base on the row
    // under the field; corners and centre keep the picture. 9 pixels: one triangle, its apex on
    // the bottom row of the cell above.
    const TPoint3 Points[] = {{0, 1, 35, true},   {0, 16, 35, true}, {0, 2, 34, true},
                              {0, 15, 34, true},  {0, 9, 18, true},  {0, 9, 19, true},
                              {0, 0, 72, true},   {0, 17, 72, true}, {0, 0, 18, false},
                              {0, 17, 18, false}, {0, 9, 27, false}, {1, 4, 8, true},
                              {1, 0, 36, true},   {1, 8, 36, true},  {1, 0, 9, false},
                              {1, 8, 9, false},   {1, 4, 13, false}};
    for (int Type : {0, 1}) {
        Clock->SetModeShape(0);
        Show(Type, 23, 45, 59);
        const std::vector<TColor> Plain = Pixels();
        Clock->SetModeShape(3);
        for (const TPoint3& P : Points) {
            if (P.Type != Type)
                continue;
            EXPECT_EQ(Px(P.X, P.Y),
                      P.Black ? clBlack : Plain[std::size_t(P.Y * Clock->GetWidth() + P.X)])
                << Type << ": " << P.X << "," << P.Y;
        }
        EXPECT_EQ(At(Type ? 4 : 9, Top - 1), Face); // the apex of the top row is cut off
    }
}

class TBinaryClockLacking : public TBinaryClock
{
public:
    TBinaryClockLacking(TComponent* AOwner, const TLedResources& R) : TBinaryClock(AOwner, R) {}
};

TEST_F(BinaryClockTest, AMissingPictureFailsConstruction)
{
    TBinaryClock::TLedResources Lacking = TBinaryClock::LedResources;
    Lacking[2].On = 9999;
    const int Before = Form->GetComponentCount();
    try {
        new TBinaryClockLacking(Form, Lacking);
        FAIL() << "constructed";
    } catch (const EResNotFound& E) {
        EXPECT_STREQ(E.what(), "Resource 9999 not found");
    }
    EXPECT_EQ(Form->GetComponentCount(), Before);
}

TEST_F(BinaryClockTest, IsOnThePaletteAndStoresOnlyNonZeroProperties)
{
    BinaryClock::Register();
    const auto Classes = TClassRegistry::GetPaletteClasses("Additional");
    EXPECT_NE(std::find(Classes.begin(), Classes.end(), &ClassInfoOf<TBinaryClock>()),
              Classes.end());
    Clock->SetName("Clock");
    Clock->SetMode24(0);
    Clock->SetLedColor(2);
    Clock->SetModeBcd(1);
    const std::string Text = TFormWriter::WriteComponent(*Clock);
    for (const char* Absent : {"Mode24", "ModeShape", "Type ="})
        EXPECT_EQ(Text.find(Absent), std::string::npos) << Absent;
    auto* Copy = dynamic_cast<TBinaryClock*>(TFormReader::ReadComponent(Text, Form));
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(std::tuple(Copy->GetLedColor(), Copy->GetModeBcd(), Copy->GetMode24()),
              std::tuple(2, 1, 1));
}

} // namespace
