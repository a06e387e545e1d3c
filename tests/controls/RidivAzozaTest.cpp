#include "controls/RidivAzoza.h"

#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int CellW = 5, CellH = 4, Pitch = 12;
constexpr int NoDigit = -1, WhiteCell = -2;

TColor ImageColor(int I)
{
    return RGB(std::uint8_t(10 * I + 5), 200, 100);
}

class RidivAzozaTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm({0, 0, 100, 20});
        List = new TImageList(Form);
        List->SetSize(CellW, CellH);
        AddImages(16);
        Digits = new TRidivAzoza(Form);
        Digits->SetBounds(0, 2, 100, 12);
        Digits->SetParent(Form);
        for (int Slot = 0; Slot < 8; ++Slot)
            Digits->SetDigitX(Slot, Pitch * Slot);
        Digits->SetColor(clBlue);
        // As on the clock's face: the form paints under its children, so what "stays as it
        // was" beneath the digits is the form's own black.
        auto& WM = TWindowManager::Get();
        const HWND H = Form->GetHandle();
        WM.SetWindowLong(H, GWL_STYLE, WM.GetWindowLong(H, GWL_STYLE) & ~WS_CLIPCHILDREN);
        Form->Show();
        Pump();
    }

    void AddImages(int Count)
    {
        List->Clear();
        TBitmap Strip(CellW * Count, CellH, TPixelFormat::pf24bit);
        for (int I = 0; I < Count; ++I)
            for (int Y = 0; Y < CellH; ++Y)
                for (int X = 0; X < CellW; ++X)
                    Strip.SetPixel(I * CellW + X, Y, ImageColor(I));
        List->Add(Strip, nullptr);
    }

    // The image drawn at a point of the form (digit area top-left is (0, 2)).
    int ImageAt(int X, int Y)
    {
        const TColor C = At(X, Y);
        if (C == clWhite)
            return WhiteCell;
        for (int I = 0; I < 16; ++I)
            if (C == ImageColor(I))
                return I;
        return NoDigit;
    }
    std::vector<int> Slots(int Count, int Top = 2)
    {
        std::vector<int> R;
        for (int Slot = 0; Slot < Count; ++Slot)
            R.push_back(ImageAt(Digits->GetDigitX(Slot) + 1, Top + 1));
        return R;
    }

    void ShowTime(int H, int M, int S)
    {
        TLocalTime T;
        T.Hour = H;
        T.Minute = M;
        T.Second = S;
        Port().SetLocalTime(T);
        Digits->Repaint();
    }

    TImageList* List = nullptr;
    TRidivAzoza* Digits = nullptr;
};

struct TTimeCase
{
    int Mode24, H, M, S;
    std::vector<int> Expected;
};

class RidivAzozaTime : public RidivAzozaTest, public testing::WithParamInterface<TTimeCase>
{};

TEST_P(RidivAzozaTime, ShowsSixDigitsOfOneReading)
{
    const TTimeCase& C = GetParam();
    Digits->SetImageList(List);
    Digits->SetMode24(C.Mode24);
    ShowTime(C.H, C.M, C.S);
    EXPECT_EQ(Slots(6), C.Expected);
    // Time mode never draws slots 6 and 7.
    EXPECT_EQ(Slots(8)[6], NoDigit);
    EXPECT_EQ(Slots(8)[7], NoDigit);
}

INSTANTIATE_TEST_SUITE_P(
    Times, RidivAzozaTime,
    testing::Values(TTimeCase{1, 23, 59, 59, {2, 3, 5, 9, 5, 9}},
                    TTimeCase{1, 9, 1, 7, {0, 9, 0, 1, 0, 7}},
                    TTimeCase{0, 0, 15, 0, {0, 0, 1, 5, 0, 0}},   // after midnight: 00
                    TTimeCase{0, 12, 30, 0, {1, 2, 3, 0, 0, 0}},  // after noon: 12
                    TTimeCase{0, 13, 5, 9, {0, 1, 0, 5, 0, 9}},   // 13 -> 1
                    TTimeCase{0, 23, 59, 59, {1, 1, 5, 9, 5, 9}}, // 23 -> 11
                    TTimeCase{2, 13, 5, 9, {1, 3, 0, 5, 0, 9}},   // any non-zero is 24-hour
                    TTimeCase{-1, 13, 5, 9, {1, 3, 0, 5, 0, 9}}),
    [](const testing::TestParamInfo<TTimeCase>& I) {
        const TTimeCase& C = I.param;
        return "Mode24Is" + NumberWord(C.Mode24) + "At" +
               std::to_string(C.H * 10000 + C.M * 100 + C.S);
    });

struct TValueCase
{
    int ModeType;
    std::uint32_t Value;
    std::vector<int> Expected;
};

class RidivAzozaValue : public RidivAzozaTest, public testing::WithParamInterface<TValueCase>
{};

TEST_P(RidivAzozaValue, ShowsEightDigitsLeastSignificantInSlotSeven)
{
    const TValueCase& C = GetParam();
    Digits->SetImageList(List);
    Digits->SetModeType(C.ModeType);
    Digits->SetValue(C.Value);
    EXPECT_EQ(Slots(8), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RidivAzozaValue,
    testing::Values(TValueCase{1, 255, {0, 0, 0, 0, 0, 0, 15, 15}},
                    TValueCase{1, 4294967295u, {15, 15, 15, 15, 15, 15, 15, 15}},
                    TValueCase{1, 0x12AB09CDu, {1, 2, 10, 11, 0, 9, 12, 13}},
                    TValueCase{2, 4294967295u, {9, 4, 9, 6, 7, 2, 9, 5}},
                    TValueCase{2, 42, {0, 0, 0, 0, 0, 0, 4, 2}}),
    [](const testing::TestParamInfo<TValueCase>& I) {
        return "Type" + std::to_string(I.param.ModeType) + "Value" + std::to_string(I.param.Value);
    });

TEST_F(RidivAzozaTest, SlotsSixAndSevenStayAtTheTopWhateverDigitAllYHolds)
{
    Digits->SetImageList(List);
    Digits->SetDigitAllY(6);
    Digits->SetModeType(1);
    Digits->SetValue(0x76543210u);
    // Slots 0 to 5 are drawn 6 pixels lower; 6 and 7 at the control's top.
    EXPECT_EQ(Slots(6, 2 + 6), (std::vector<int>{7, 6, 5, 4, 3, 2}));
    EXPECT_EQ(ImageAt(Digits->GetDigitX(6) + 1, 3), 1);
    EXPECT_EQ(ImageAt(Digits->GetDigitX(7) + 1, 3), 0);
}

TEST_F(RidivAzozaTest, SettingDigitAllYDoesNotRepaint)
{
    Digits->SetImageList(List);
    ShowTime(1, 2, 3);
    const std::vector<int> Before = Slots(6);
    Digits->SetDigitAllY(6);
    EXPECT_EQ(Slots(6), Before);
    EXPECT_EQ(Digits->GetDigitAllY(), 6);
}

TEST_F(RidivAzozaTest, OtherModeTypesLeaveTheAreaAsItWas)
{
    Digits->SetImageList(List);
    for (int Mode : {3, -1}) {
        ShowTime(1, 2, 3);
        const TColor Background = At(95, 5);
        Digits->SetModeType(Mode);
        Digits->SetModeTransparent(0); // would fill, if anything were drawn
        ShowTime(4, 5, 6);
        EXPECT_EQ(Slots(6), (std::vector<int>{0, 1, 0, 2, 0, 3})) << Mode;
        EXPECT_EQ(At(95, 5), Background) << Mode;
        Digits->SetModeType(0);
        Digits->SetModeTransparent(1);
    }
}

TEST_F(RidivAzozaTest, TheBackgroundIsFilledOnlyInTimeModeWithTransparencyOff)
{
    Digits->SetImageList(List);
    const TColor Face = At(95, 5);
    ShowTime(1, 2, 3);
    EXPECT_EQ(At(95, 5), Face); // transparent: never erased
    Digits->SetModeTransparent(0);
    EXPECT_EQ(At(95, 5), clBlue);
    EXPECT_EQ(At(95, 1), Face); // outside the control
    // The value modes never fill.
    Form->Repaint();
    Digits->SetModeType(1);
    EXPECT_EQ(At(95, 5), Face);
}

TEST_F(RidivAzozaTest, StretchesOnlyWhenBothDigitSizesAreSet)
{
    Digits->SetImageList(List);
    Digits->SetModeType(1);
    Digits->SetDigitWidth(10); // alone: natural size
    Digits->SetValue(0);
    EXPECT_EQ(ImageAt(CellW - 1, 2), 0);
    EXPECT_EQ(ImageAt(CellW, 2), NoDigit);
    Digits->SetDigitHeight(7);
    Form->Repaint();
    Digits->Repaint();
    EXPECT_EQ(ImageAt(9, 2 + 6), 0);
    EXPECT_NE(ImageAt(9, 2 + 7), 0);
}

TEST_F(RidivAzozaTest, ImagesTheListLacksShowWhiteCellsAndNoListShowsNothing)
{
    Digits->SetModeType(1);
    Digits->SetValue(0xABu);
    EXPECT_EQ(Slots(8), std::vector<int>(8, NoDigit)); // no image list
    AddImages(10);
    Digits->SetImageList(List);
    EXPECT_EQ(Slots(8), (std::vector<int>{0, 0, 0, 0, 0, 0, WhiteCell, WhiteCell}));
}

TEST_F(RidivAzozaTest, AStoredZeroMode24ComesBackAsOne)
{
    RidivAzoza::Register();
    Digits->SetName("Digits");
    Digits->SetMode24(0);
    Digits->SetModeTransparent(0);
    Digits->SetValue(7);
    const std::string Text = TFormWriter::WriteComponent(*Digits);
    EXPECT_EQ(Text.find("Mode24"), std::string::npos);
    EXPECT_EQ(Text.find("ModeTransparent"), std::string::npos);
    EXPECT_NE(Text.find("Value = 7"), std::string::npos);
    auto* Copy = dynamic_cast<TRidivAzoza*>(TFormReader::ReadComponent(Text, Form));
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->GetMode24(), 1);
    EXPECT_EQ(Copy->GetModeTransparent(), 1);
    EXPECT_EQ(Copy->GetValue(), 7u);
}

TEST_F(RidivAzozaTest, TheWindowIsTransparentAndClipsNeitherChildrenNorSiblings)
{
    auto& WM = TWindowManager::Get();
    const std::uint32_t Style = WM.GetWindowLong(Digits->GetHandle(), GWL_STYLE);
    EXPECT_EQ(Style & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS), 0u);
    EXPECT_NE(WM.GetWindowLong(Digits->GetHandle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0u);
    EXPECT_EQ(Digits->Perform(WM_ERASEBKGND, 0, 0), 1);
}

} // namespace
