#pragma once

#include "hexedit/ChangeEntry.h"

#include <array>
#include <cstdint>
#include <unordered_map>

// The hex editor's bounded change log and redo log, each at most 1024 entries, oldest first.
// A push merges into the newest change while it is unsealed and at the same offset; a full change
// log drops its oldest entry, a full redo log keeps no record of a further undone entry. Knows
// nothing of windows or of the data the entries describe.
class TChangeLog
{
public:
    static constexpr int Capacity = 1024;

    TChangeLog();

    // Both logs emptied.
    void Clear();
    // Records a change: drops the oldest entry of a full log first, then merges into the newest
    // entry when it is unsealed and at Offset (whatever its type), else appends a fresh entry and
    // empties the redo log.
    void Push(std::int32_t Type, std::int32_t Offset, std::int32_t OldValue, std::int32_t NewValue);
    // Seals the newest change, so that the next change at its offset opens a new entry.
    void Seal();
    // Moves the newest change to the redo log (not kept there when the redo log is full) and
    // gives it in Entry; false when the change log is empty.
    bool PopUndo(TChangeEntry& Entry);
    // Takes the newest redo entry into Entry and pushes it back as a change; the entries that
    // wait behind it stay to be redone. False when the redo log is empty.
    bool PopRedo(TChangeEntry& Entry);

    // The oldest change at Offset, or null. Valid until the log next changes.
    const TChangeEntry* FindOffset(std::int32_t Offset) const;
    // Whether any change is at Offset, in constant time (painting asks once per cell).
    bool HasChangeAt(std::int32_t Offset) const { return FOffsets.contains(Offset); }
    // The newest change or redo entry, or null. Valid until the log next changes.
    const TChangeEntry* LastChange() const;
    const TChangeEntry* LastRedo() const;

    int GetChangeCount() const { return FChangeCount; }
    int GetRedoCount() const { return FRedoCount; }
    // Entries by age, 0 the oldest.
    const TChangeEntry& GetChange(int Index) const;
    const TChangeEntry& GetRedo(int Index) const { return FRedo[Index]; }

private:
    // The change log is a ring, so that dropping the oldest entry moves nothing.
    std::array<TChangeEntry, Capacity> FChanges{};
    int FChangeFirst = 0;
    int FChangeCount = 0;
    std::array<TChangeEntry, Capacity> FRedo{};
    int FRedoCount = 0;
    // How many change entries each offset has; offsets without any are absent.
    std::unordered_map<std::int32_t, int> FOffsets;

    TChangeEntry& ChangeAt(int Index);
    void Index(std::int32_t Offset);
    void Unindex(std::int32_t Offset);
};
