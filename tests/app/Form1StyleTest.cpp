// The clock's four styles and three VFD colours: face, outline, digit layout and window size,
// and what a style or colour out of range does.
#include "shaped/RegionFromBitmap.h"
#include "tests/app/ClockFormTest.h"
#include "tests/support/CaseName.h"

#include <array>
#include <gtest/gtest.h>

namespace {

class Form1StyleTest : public ClockFormTest
{
protected:
    void SetUp() override
    {
        ClockFormTest::SetUp();
        Seed("viewerleft", 200);
        Seed("viewertop", 100);
    }

    void Restyle(std::int32_t ClockType, std::int32_t VfdColor)
    {
        Form1->ClockType = ClockType;
        Form1->VfdColor = VfdColor;
        Form1->ApplyStyle();
        Pump();
    }
    std::array<std::int32_t, 6> DigitXs() const
    {
        std::array<std::int32_t, 6> X{};
        for (int Slot = 0; Slot < 6; ++Slot)
            X[std::size_t(Slot)] = Form1->RidivAzoza1->GetDigitX(Slot);
        return X;
    }
    // The outline the window holds, and the one the face of a style gives.
    std::optional<TRegion> WindowOutline() const { return WM().GetWindowRgn(Form1->GetHandle()); }
    std::optional<TRegion> FaceOutline(int Style) const
    {
        return CreateRegionFromBitmap(Form1->FacePicture[std::size_t(Style)].get(), clBlack);
    }
};

struct TStyleRow
{
    const char* Name;
    std::int32_t Type;
    TPoint Window;
    TPoint Face;
    TRect Digits; // the digit display's bounds
    std::array<std::int32_t, 6> DigitX;
    TPoint DigitSize; // 0 x 0: the images' own size
    bool Vfd;
};

class Form1StyleRowTest : public Form1StyleTest, public testing::WithParamInterface<TStyleRow>
{};

TEST_P(Form1StyleRowTest, LaysOutTheStyleAndKeepsTheCorner)
{
    const TStyleRow& R = GetParam();
    Start();
    // From every other style, so that nothing is left over from the one before.
    for (const std::int32_t From : {0, 1, 2, 3}) {
        if (From == R.Type)
            continue;
        Restyle(From, 1);
        Restyle(R.Type, 1);
        const std::string From_ = "from style " + std::to_string(From);
        EXPECT_EQ(Form1->GetBoundsRect(), TRect::FromSize(200, 100, R.Window.X, R.Window.Y))
            << From_;
        EXPECT_EQ(Form1->fcImageForm1->GetPicture().GetWidth(), R.Face.X) << From_;
        EXPECT_EQ(Form1->fcImageForm1->GetPicture().GetHeight(), R.Face.Y) << From_;
        EXPECT_EQ(Form1->RidivAzoza1->GetBoundsRect(), R.Digits) << From_;
        EXPECT_EQ(DigitXs(), R.DigitX) << From_;
        EXPECT_EQ(Form1->RidivAzoza1->GetDigitWidth(), R.DigitSize.X) << From_;
        EXPECT_EQ(Form1->RidivAzoza1->GetDigitHeight(), R.DigitSize.Y) << From_;
        EXPECT_EQ(Form1->RidivAzoza1->GetImageList(),
                  R.Vfd ? Form1->ImageListVfdR : Form1->ImageListNixie)
            << From_;
        const std::optional<TRegion> Outline = WindowOutline();
        ASSERT_TRUE(Outline) << From_;
        EXPECT_EQ(*Outline, *FaceOutline(R.Type)) << From_;
        EXPECT_EQ(Outline->GetBounds().Union(TRect(0, 0, R.Face.X, R.Face.Y)),
                  TRect(0, 0, R.Face.X, R.Face.Y))
            << From_;
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, Form1StyleRowTest,
                         testing::Values(TStyleRow{"NixieLarge",
                                                   0,
                                                   {308, 154},
                                                   {300, 120},
                                                   {0, 50, 308, 99},
                                                   {10, 53, 110, 152, 207, 248},
                                                   {0, 0},
                                                   false},
                                         TStyleRow{"NixieSmall",
                                                   1,
                                                   {160, 80},
                                                   {150, 60},
                                                   {0, 24, 160, 73},
                                                   {5, 27, 55, 76, 103, 124},
                                                   {11, 22},
                                                   false},
                                         TStyleRow{"VfdLarge",
                                                   2,
                                                   {381, 158},
                                                   {381, 158},
                                                   {0, 63, 350, 112},
                                                   {88, 120, 177, 206, 267, 294},
                                                   {0, 0},
                                                   true},
                                         TStyleRow{"VfdSmall",
                                                   3,
                                                   {190, 80},
                                                   {190, 79},
                                                   {0, 31, 160, 80},
                                                   {45, 57, 88, 103, 131, 146},
                                                   {12, 19},
                                                   true}),
                         ByName{});

TEST_F(Form1StyleTest, TheColourPicksTheVfdDigitsAndNixieStylesIgnoreIt)
{
    Start();
    const struct
    {
        std::int32_t Type, Color;
        TImageList* TForm1::*List;
    } Cases[] = {
        {2, 0, &TForm1::ImageListVfdG},  {2, 1, &TForm1::ImageListVfdR},
        {2, 2, &TForm1::ImageListVfd},   {3, 0, &TForm1::ImageListVfdG},
        {3, 1, &TForm1::ImageListVfdR},  {3, 2, &TForm1::ImageListVfd},
        {2, 5, &TForm1::ImageListNixie}, {3, -1, &TForm1::ImageListNixie},
        {0, 1, &TForm1::ImageListNixie}, {1, 2, &TForm1::ImageListNixie},
    };
    for (const auto& C : Cases) {
        Restyle(C.Type, C.Color);
        EXPECT_EQ(Form1->RidivAzoza1->GetImageList(), Form1->*C.List)
            << "style " << C.Type << ", colour " << C.Color;
    }
    // Nixie digits at the VFD places, stretched in the small style.
    EXPECT_EQ(Form1->RidivAzoza1->GetDigitX(0), 5);
    Restyle(3, 7);
    EXPECT_EQ(Form1->RidivAzoza1->GetDigitX(0), 45);
    EXPECT_EQ(Form1->RidivAzoza1->GetDigitWidth(), 12);
}

TEST_F(Form1StyleTest, AStyleOutOfRangeKeepsTheFaceButAppliesTheRest)
{
    Seed("type", 4);
    Seed("24hour", 0);
    Start();
    // As the form description built it.
    EXPECT_EQ(Form1->GetBoundsRect(), TRect::FromSize(200, 100, 300, 120));
    EXPECT_EQ(DigitXs(), (std::array<std::int32_t, 6>{10, 53, 110, 152, 207, 248}));
    EXPECT_EQ(Form1->RidivAzoza1->GetImageList(), Form1->ImageListNixie);
    ASSERT_TRUE(WindowOutline());
    EXPECT_EQ(*WindowOutline(), *FaceOutline(0));
    EXPECT_EQ(Form1->RidivAzoza1->GetMode24(), 0);

    // Later on, the style before stays.
    Restyle(3, 0);
    Form1->AlwaysOnTop = 1;
    Form1->Hour24 = 1;
    Restyle(-1, 0);
    EXPECT_EQ(Form1->GetBoundsRect(), TRect::FromSize(200, 100, 190, 80));
    EXPECT_EQ(Form1->GetFormStyle(), fsStayOnTop);
    EXPECT_EQ(Form1->RidivAzoza1->GetMode24(), 1);
    ASSERT_TRUE(WindowOutline());
    EXPECT_EQ(*WindowOutline(), *FaceOutline(3));
}

TEST_F(Form1StyleTest, StayOnTopMakesTheWindowAnewWithItsOutline)
{
    Start();
    for (const std::int32_t OnTop : {1, 0, 1}) {
        Form1->AlwaysOnTop = OnTop;
        Restyle(1, 0);
        EXPECT_EQ(Form1->GetFormStyle(), OnTop ? fsStayOnTop : fsNormal);
        EXPECT_EQ((WM().GetWindowLong(Form1->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                  OnTop != 0);
        EXPECT_EQ(Form1->GetBoundsRect(), TRect::FromSize(200, 100, 160, 80));
        ASSERT_TRUE(WindowOutline()) << "on top " << OnTop;
        EXPECT_EQ(*WindowOutline(), *FaceOutline(1));
    }
}

} // namespace
