#pragma once

#include <cstdint>

// One recorded change of the hex editor's data: a byte (type 0) or a group (type 1, a "word")
// at Offset, from OldValue to NewValue. Bit 0 of Flags seals the entry: a later change at the
// same offset then opens a new entry instead of merging into this one.
struct TChangeEntry
{
    static constexpr std::int32_t Sealed = 1;

    std::int32_t Type = 0;
    std::int32_t Flags = 0;
    std::int32_t Offset = 0;
    std::int32_t OldValue = 0;
    std::int32_t NewValue = 0;

    bool IsSealed() const { return (Flags & Sealed) != 0; }
    bool operator==(const TChangeEntry&) const = default;
};
