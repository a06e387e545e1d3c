// The clock started over a settings key that holds what the clock never writes: values of another
// type or length, and numbers at the ends of the 32-bit range. It starts, shows its window where
// the window system can put it, keeps ticking and painting, and stores sound values at the end.
#include "tests/app/ClockFormTest.h"
#include "tests/support/CaseName.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

struct TStoredValue
{
    const char* Name;
    std::uint32_t Type;
    std::vector<std::uint8_t> Data;
};

std::vector<std::uint8_t> Dword(std::int32_t Value)
{
    const auto B = DwordBytes(static_cast<std::uint32_t>(Value));
    return {B.begin(), B.end()};
}

std::vector<std::uint8_t> Text(const std::string& S)
{
    std::vector<std::uint8_t> B(S.begin(), S.end());
    B.push_back(0);
    return B;
}

enum class TDigits
{
    Nixie,
    Cyan,
    Red,
    Blue
};

// What the key holds, and what the clock makes of it; the rest are the values of a first run on a
// 1024 x 768 screen.
struct THostileCase
{
    const char* Name;
    std::vector<TStoredValue> Stored;
    TPoint TopLeft{512, 384};
    std::int32_t ClockType = 0;
    std::int32_t VfdColor = 0;
    std::int32_t Hour24 = 1;
    TPoint Size{308, 154};
    TDigits Digits = TDigits::Nixie;
};

class HostileSettingsTest : public ClockFormTest, public testing::WithParamInterface<THostileCase>
{
protected:
    static void Put(const TStoredValue& V)
    {
        TRegistryKey Key = 0;
        ASSERT_EQ(Port().CreateRegistryKey(TRegistryRoot::CurrentUser, SettingsKey, Key, nullptr),
                  ERROR_SUCCESS);
        Port().SetRegistryValue(Key, V.Name, V.Type, V.Data);
        Port().CloseRegistryKey(Key);
    }
    TImageList* ListOf(TDigits D) const
    {
        switch (D) {
        case TDigits::Cyan:
            return Form1->ImageListVfdG;
        case TDigits::Red:
            return Form1->ImageListVfdR;
        case TDigits::Blue:
            return Form1->ImageListVfd;
        default:
            return Form1->ImageListNixie;
        }
    }
    // The pixels of the digit display as the window last showed them.
    std::vector<TPixel> DigitPixels(const THeadlessWindow& Native) const
    {
        std::vector<TPixel> Pixels;
        const TRect R = Form1->RidivAzoza1->GetBoundsRect();
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Pixels.push_back(Native.GetScreenPixel(X, Y));
        return Pixels;
    }
};

TEST_P(HostileSettingsTest, StartsTicksAndStoresSoundValues)
{
    const THostileCase& C = GetParam();
    TLocalTime T;
    T.Hour = 23;
    T.Minute = 59;
    T.Second = 58;
    Port().SetLocalTime(T);
    for (const TStoredValue& V : C.Stored)
        Put(V);
    Start();

    EXPECT_EQ(Form1->GetBoundsRect(),
              TRect::FromSize(C.TopLeft.X, C.TopLeft.Y, C.Size.X, C.Size.Y));
    EXPECT_EQ(Form1->ClockType, C.ClockType);
    EXPECT_EQ(Form1->VfdColor, C.VfdColor);
    EXPECT_EQ(Form1->Hour24, C.Hour24);
    EXPECT_EQ(Form1->RidivAzoza1->GetMode24(), C.Hour24);
    EXPECT_EQ(Form1->RidivAzoza1->GetImageList(), ListOf(C.Digits));
    THeadlessWindow* Native = NativeOfForm1();
    ASSERT_NE(Native, nullptr);
    EXPECT_EQ(Native->GetBounds(), Form1->GetBoundsRect());

    // Two seconds of ticks: 23:59:58 becomes 00:00:00 on the screen.
    const std::vector<TPixel> Before = DigitPixels(*Native);
    Port().QueueEvent([&] { App->Terminate(); }, 2100);
    App->Run();
    EXPECT_NE(DigitPixels(*Native), Before);
    EXPECT_FALSE(Native->GetParams().TaskbarButton);

    // The end of the run replaces whatever the key held by what the clock ran with.
    delete Form1;
    EXPECT_EQ(Stored("viewerleft"), C.TopLeft.X);
    EXPECT_EQ(Stored("viewertop"), C.TopLeft.Y);
    EXPECT_EQ(Stored("type"), C.ClockType);
    EXPECT_EQ(Stored("vdfcolor"), C.VfdColor);
    EXPECT_EQ(Stored("24hour"), C.Hour24);
}

// A window coordinate beyond what the window system holds (16 bits) stops at its end; anything
// other than a 4-byte REG_DWORD leaves the setting's default.
INSTANTIATE_TEST_SUITE_P(
    Keys, HostileSettingsTest,
    testing::Values(
        THostileCase{.Name = "LeftAtTheTopOfTheRange",
                     .Stored = {{"viewerleft", REG_DWORD, Dword(INT32_MAX)}},
                     .TopLeft = {32767, 384}},
        THostileCase{.Name = "LeftAtTheBottomOfTheRange",
                     .Stored = {{"viewerleft", REG_DWORD, Dword(INT32_MIN)}},
                     .TopLeft = {-32768, 384}},
        THostileCase{.Name = "TopAtTheBottomOfTheRange",
                     .Stored = {{"viewertop", REG_DWORD, Dword(INT32_MIN)}},
                     .TopLeft = {512, -32768}},
        THostileCase{.Name = "BothAtTheTopOfTheRange",
                     .Stored = {{"viewertop", REG_DWORD, Dword(INT32_MAX)},
                                {"viewerleft", REG_DWORD, Dword(INT32_MAX)},
                                {"type", REG_DWORD, Dword(2)}},
                     .TopLeft = {32767, 32767},
                     .ClockType = 2,
                     .Size = {381, 158},
                     .Digits = TDigits::Cyan},
        THostileCase{.Name = "FarOffTheScreenButHeld",
                     .Stored = {{"viewerleft", REG_DWORD, Dword(-30000)},
                                {"viewertop", REG_DWORD, Dword(32000)}},
                     .TopLeft = {-30000, 32000}},
        THostileCase{.Name = "LeftAsText", .Stored = {{"viewerleft", REG_SZ, Text("40")}}},
        THostileCase{.Name = "LeftAsBinary", .Stored = {{"viewerleft", REG_BINARY, {40, 0, 0, 0}}}},
        THostileCase{.Name = "LeftOfEightBytes",
                     .Stored = {{"viewerleft", REG_DWORD, {40, 0, 0, 0, 0, 0, 0, 0}}}},
        THostileCase{.Name = "TypeOfNoBytes", .Stored = {{"type", REG_DWORD, {}}}},
        THostileCase{.Name = "TypeOfOneByte", .Stored = {{"type", REG_DWORD, {2}}}},
        THostileCase{.Name = "TypeOfThreeBytes", .Stored = {{"type", REG_DWORD, {3, 0, 0}}}},
        THostileCase{.Name = "TypeAsText", .Stored = {{"type", REG_SZ, Text("2")}}},
        THostileCase{.Name = "TypeMinusSeven",
                     .Stored = {{"type", REG_DWORD, Dword(-7)}},
                     .ClockType = -7,
                     .Size = {300, 120}},
        THostileCase{.Name = "TypeSeven",
                     .Stored = {{"type", REG_DWORD, Dword(7)}},
                     .ClockType = 7,
                     .Size = {300, 120}},
        THostileCase{.Name = "TypeAtTheBottomOfTheRange",
                     .Stored = {{"type", REG_DWORD, Dword(INT32_MIN)}},
                     .ClockType = INT32_MIN,
                     .Size = {300, 120}},
        THostileCase{
            .Name = "VfdColourAtTheTopOfTheRange",
            .Stored = {{"type", REG_DWORD, Dword(2)}, {"vdfcolor", REG_DWORD, Dword(INT32_MAX)}},
            .ClockType = 2,
            .VfdColor = INT32_MAX,
            .Size = {381, 158}},
        THostileCase{
            .Name = "VfdColourAtTheBottomOfTheRange",
            .Stored = {{"type", REG_DWORD, Dword(3)}, {"vdfcolor", REG_DWORD, Dword(INT32_MIN)}},
            .ClockType = 3,
            .VfdColor = INT32_MIN,
            .Size = {190, 80}},
        THostileCase{
            .Name = "VfdColourAsBinary",
            .Stored = {{"type", REG_DWORD, Dword(3)}, {"vdfcolor", REG_BINARY, {1, 0, 0, 0}}},
            .ClockType = 3,
            .Size = {190, 80},
            .Digits = TDigits::Cyan},
        THostileCase{
            .Name = "TwentyFourHourFive", .Stored = {{"24hour", REG_DWORD, Dword(5)}}, .Hour24 = 5},
        THostileCase{.Name = "TwentyFourHourOffAsEightBytes",
                     .Stored = {{"24hour", REG_DWORD, {0, 0, 0, 0, 0, 0, 0, 0}}}}),
    ByName{});

} // namespace
