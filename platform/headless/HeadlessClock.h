#pragma once

#include "platform/Platform.h"

#include <cstdint>

// The headless port's clocks: a monotonic tick count and a local wall clock that tests set and
// advance. Advancing moves both by the same milliseconds; the wall clock keeps the part of a
// second that has passed, so four advances of 250 ms make one second.
class THeadlessClock
{
public:
    // Stores the time normalised (a second of 60 is the next minute, the 32nd of January is the
    // 1st of February, ...). DayOfWeek is computed from the date; the given one is ignored.
    // Starts the new second afresh.
    void SetLocalTime(const TLocalTime& Time);
    TLocalTime GetLocalTime() const;

    void SetTickCount(std::uint64_t Milliseconds) { FTicks = Milliseconds; }
    std::uint64_t GetTickCount() const { return FTicks; }

    // Negative amounts are ignored: neither clock runs backwards.
    void Advance(std::int64_t Milliseconds);

    // Days since 1970-01-01 of a proleptic Gregorian date; Month may lie outside 1..12 and Day
    // outside the month (they carry over).
    static std::int64_t DaysFromCivil(std::int64_t Year, std::int64_t Month, std::int64_t Day);
    static TLocalTime FromSeconds(std::int64_t SecondsSince1970);
    static std::int64_t ToSeconds(const TLocalTime& Time);

private:
    std::int64_t FSeconds = ToSeconds(TLocalTime{});
    std::int64_t FMillisecond = 0; // 0..999 within FSeconds
    std::uint64_t FTicks = 0;
};
