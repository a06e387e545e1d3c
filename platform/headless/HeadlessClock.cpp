#include "platform/headless/HeadlessClock.h"

namespace {

constexpr std::int64_t SecondsPerDay = 86400;

// Floor division, so that dates before 1970 fall on the right day.
std::int64_t FloorDiv(std::int64_t A, std::int64_t B)
{
    return A / B - ((A % B != 0) && ((A < 0) != (B < 0)));
}

} // namespace

std::int64_t THeadlessClock::DaysFromCivil(std::int64_t Year, std::int64_t Month, std::int64_t Day)
{
    // Carry whole years out of the month first, then count in eras of 400 years that start on
    // the 1st of March, so that the leap day is the last day of its year.
    Year += FloorDiv(Month - 1, 12);
    Month = Month - 1 - FloorDiv(Month - 1, 12) * 12 + 1;
    const std::int64_t Y = Month <= 2 ? Year - 1 : Year;
    const std::int64_t Era = FloorDiv(Y, 400);
    const std::int64_t YearOfEra = Y - Era * 400;
    const std::int64_t MonthFromMarch = Month > 2 ? Month - 3 : Month + 9;
    const std::int64_t DayOfYear = (153 * MonthFromMarch + 2) / 5;
    const std::int64_t DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
    return Era * 146097 + DayOfEra - 719468 + (Day - 1);
}

TLocalTime THeadlessClock::FromSeconds(std::int64_t SecondsSince1970)
{
    const std::int64_t Days = FloorDiv(SecondsSince1970, SecondsPerDay);
    const std::int64_t SecondOfDay = SecondsSince1970 - Days * SecondsPerDay;

    const std::int64_t Z = Days + 719468;
    const std::int64_t Era = FloorDiv(Z, 146097);
    const std::int64_t DayOfEra = Z - Era * 146097;
    const std::int64_t YearOfEra =
        (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const std::int64_t DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const std::int64_t MonthFromMarch = (5 * DayOfYear + 2) / 153;
    const std::int64_t Day = DayOfYear - (153 * MonthFromMarch + 2) / 5 + 1;
    const std::int64_t Month = MonthFromMarch < 10 ? MonthFromMarch + 3 : MonthFromMarch - 9;
    const std::int64_t Year = YearOfEra + Era * 400 + (Month <= 2 ? 1 : 0);

    TLocalTime T;
    T.Year = static_cast<int>(Year);
    T.Month = static_cast<int>(Month);
    T.Day = static_cast<int>(Day);
    T.Hour = static_cast<int>(SecondOfDay / 3600);
    T.Minute = static_cast<int>(SecondOfDay / 60 % 60);
    T.Second = static_cast<int>(SecondOfDay % 60);
    // 1970-01-01 was a Thursday.
    T.DayOfWeek = static_cast<int>(Days + 4 - FloorDiv(Days + 4, 7) * 7);
    return T;
}

std::int64_t THeadlessClock::ToSeconds(const TLocalTime& Time)
{
    return DaysFromCivil(Time.Year, Time.Month, Time.Day) * SecondsPerDay +
           std::int64_t{Time.Hour} * 3600 + std::int64_t{Time.Minute} * 60 + Time.Second;
}

void THeadlessClock::SetLocalTime(const TLocalTime& Time)
{
    FSeconds = ToSeconds(Time);
    FMillisecond = 0;
}

TLocalTime THeadlessClock::GetLocalTime() const
{
    return FromSeconds(FSeconds);
}

void THeadlessClock::Advance(std::int64_t Milliseconds)
{
    if (Milliseconds <= 0)
        return;
    FTicks += static_cast<std::uint64_t>(Milliseconds);
    const std::int64_t Total = FMillisecond + Milliseconds;
    FSeconds += Total / 1000;
    FMillisecond = Total % 1000;
}
