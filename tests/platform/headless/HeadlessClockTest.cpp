// The headless port's fake clocks, with the C library's calendar as the oracle.
#include "platform/headless/HeadlessClock.h"

#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/CaseName.h"

#include <ctime>
#include <gtest/gtest.h>
#include <random>

namespace {

TLocalTime FromCLibrary(std::int64_t Seconds)
{
    const std::time_t T = static_cast<std::time_t>(Seconds);
    std::tm Tm{};
    gmtime_r(&T, &Tm);
    return {Tm.tm_year + 1900, Tm.tm_mon + 1, Tm.tm_mday, Tm.tm_hour,
            Tm.tm_min,         Tm.tm_sec,     Tm.tm_wday};
}

TEST(HeadlessClock, CalendarAgreesWithTheCLibrary)
{
    std::mt19937_64 Random(20240611);
    // 1601 (the Win32 epoch) to 2400, around 1970 and leap days included.
    std::uniform_int_distribution<std::int64_t> Seconds(-11644473600LL, 13574563200LL);
    for (int I = 0; I < 20000; ++I) {
        const std::int64_t S = Seconds(Random);
        const TLocalTime Expected = FromCLibrary(S);
        ASSERT_EQ(THeadlessClock::FromSeconds(S), Expected) << S;
        ASSERT_EQ(THeadlessClock::ToSeconds(Expected), S) << S;
    }
}

struct TNormaliseCase
{
    TLocalTime Given;
    TLocalTime Stored;
};

class HeadlessClockNormaliseTest : public testing::TestWithParam<TNormaliseCase>
{};

TEST_P(HeadlessClockNormaliseTest, StoresANormalTime)
{
    THeadlessClock Clock;
    Clock.SetLocalTime(GetParam().Given);
    EXPECT_EQ(Clock.GetLocalTime(), GetParam().Stored);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, HeadlessClockNormaliseTest,
    testing::Values(
        // DayOfWeek is recomputed: 2024-06-11 was a Tuesday.
        TNormaliseCase{{2024, 6, 11, 12, 30, 15, 0}, {2024, 6, 11, 12, 30, 15, 2}},
        TNormaliseCase{{2023, 12, 31, 23, 59, 60, 0}, {2024, 1, 1, 0, 0, 0, 1}},
        TNormaliseCase{{2024, 1, 32, 0, 0, 0, 0}, {2024, 2, 1, 0, 0, 0, 4}},
        TNormaliseCase{{2024, 2, 30, 0, 0, 0, 0}, {2024, 3, 1, 0, 0, 0, 5}},
        TNormaliseCase{{2023, 2, 29, 0, 0, 0, 0}, {2023, 3, 1, 0, 0, 0, 3}},
        TNormaliseCase{{2024, 13, 1, 0, 0, 0, 0}, {2025, 1, 1, 0, 0, 0, 3}},
        TNormaliseCase{{2024, 3, 1, 0, 0, -1, 0}, {2024, 2, 29, 23, 59, 59, 4}},
        TNormaliseCase{{2000, 1, 1, 25, 0, 0, 0}, {2000, 1, 2, 1, 0, 0, 0}}),
    [](const testing::TestParamInfo<TNormaliseCase>& I) {
        const TLocalTime& T = I.param.Given;
        return "Year" + std::to_string(T.Year) + "Month" + NumberWord(T.Month) + "Day" +
               NumberWord(T.Day) + "Hour" + NumberWord(T.Hour) + "Second" + NumberWord(T.Second);
    });

struct TAdvanceCase
{
    TLocalTime Start;
    std::vector<std::int64_t> Steps; // milliseconds
    TLocalTime End;
    std::uint64_t Ticks;
};

class HeadlessClockAdvanceTest : public testing::TestWithParam<TAdvanceCase>
{};

TEST_P(HeadlessClockAdvanceTest, MovesTicksAndTimeTogether)
{
    THeadlessPlatform Port;
    Port.SetLocalTime(GetParam().Start);
    Port.SetTickCount(1000);
    for (std::int64_t Step : GetParam().Steps)
        Port.AdvanceTime(Step);
    EXPECT_EQ(Port.GetLocalTime(), GetParam().End);
    EXPECT_EQ(Port.GetTickCount(), 1000 + GetParam().Ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, HeadlessClockAdvanceTest,
    testing::Values(
        // Four clock ticks of 250 ms make one second; three do not.
        TAdvanceCase{{2024, 6, 11, 9, 0, 0}, {250, 250, 250}, {2024, 6, 11, 9, 0, 0, 2}, 750},
        TAdvanceCase{{2024, 6, 11, 9, 0, 0}, {250, 250, 250, 250}, {2024, 6, 11, 9, 0, 1, 2}, 1000},
        TAdvanceCase{{2024, 6, 11, 9, 0, 0}, {999, 1}, {2024, 6, 11, 9, 0, 1, 2}, 1000},
        TAdvanceCase{{2024, 2, 28, 23, 59, 59}, {1000}, {2024, 2, 29, 0, 0, 0, 4}, 1000},
        TAdvanceCase{{2023, 12, 31, 23, 59, 59}, {1500}, {2024, 1, 1, 0, 0, 0, 1}, 1500},
        TAdvanceCase{{2024, 6, 11, 9, 0, 0}, {86400000}, {2024, 6, 12, 9, 0, 0, 3}, 86400000},
        // Negative and zero steps change nothing.
        TAdvanceCase{{2024, 6, 11, 9, 0, 0}, {-5000, 0}, {2024, 6, 11, 9, 0, 0, 2}, 0}),
    [](const testing::TestParamInfo<TAdvanceCase>& I) {
        std::string Name = "From" + std::to_string(I.param.Start.Year) + "_" +
                           std::to_string(I.param.Start.Month) + "_" +
                           std::to_string(I.param.Start.Day);
        for (const std::int64_t Step : I.param.Steps)
            Name += "_" + NumberWord(Step);
        return Name;
    });

TEST(HeadlessClock, SettingTheTimeStartsANewSecond)
{
    THeadlessPlatform Port;
    Port.SetLocalTime({2024, 6, 11, 9, 0, 0});
    Port.AdvanceTime(900);
    Port.SetLocalTime({2024, 6, 11, 10, 0, 0});
    Port.AdvanceTime(900);
    EXPECT_EQ(Port.GetLocalTime().Second, 0);
    Port.AdvanceTime(100);
    EXPECT_EQ(Port.GetLocalTime().Second, 1);
}

TEST(HeadlessClock, SleepLetsFakeTimePass)
{
    THeadlessPlatform Port;
    Port.SetLocalTime({2024, 6, 11, 9, 0, 0});
    for (int I = 0; I < 100; ++I)
        Port.Sleep(10);
    Port.Sleep(-10);
    EXPECT_EQ(Port.GetTickCount(), 1000u);
    EXPECT_EQ(Port.GetLocalTime().Second, 1);
}

} // namespace
