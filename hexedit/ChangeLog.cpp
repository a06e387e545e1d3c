#include "hexedit/ChangeLog.h"

TChangeLog::TChangeLog()
{
    // One bucket per possible entry: pushing never rehashes the index.
    FOffsets.reserve(Capacity);
}

void TChangeLog::Clear()
{
    FChangeFirst = 0;
    FChangeCount = 0;
    FRedoCount = 0;
    FOffsets.clear();
}

TChangeEntry& TChangeLog::ChangeAt(int Index)
{
    return FChanges[static_cast<std::size_t>((FChangeFirst + Index) % Capacity)];
}

const TChangeEntry& TChangeLog::GetChange(int Index) const
{
    return FChanges[static_cast<std::size_t>((FChangeFirst + Index) % Capacity)];
}

void TChangeLog::Index(std::int32_t Offset)
{
    ++FOffsets[Offset];
}

void TChangeLog::Unindex(std::int32_t Offset)
{
    const auto Found = FOffsets.find(Offset);
    if (Found != FOffsets.end() && --Found->second == 0)
        FOffsets.erase(Found);
}

void TChangeLog::Push(std::int32_t Type, std::int32_t Offset, std::int32_t OldValue,
                      std::int32_t NewValue)
{
    // The drop comes before the merge test: a full log loses its oldest entry even when the
    // change then merges into the newest one.
    if (FChangeCount == Capacity) {
        Unindex(ChangeAt(0).Offset);
        FChangeFirst = (FChangeFirst + 1) % Capacity;
        --FChangeCount;
    }
    if (FChangeCount > 0) {
        TChangeEntry& Newest = ChangeAt(FChangeCount - 1);
        if (Newest.Offset == Offset && !Newest.IsSealed()) {
            Newest.NewValue = NewValue;
            return;
        }
    }
    ChangeAt(FChangeCount++) = {Type, 0, Offset, OldValue, NewValue};
    Index(Offset);
    FRedoCount = 0;
}

void TChangeLog::Seal()
{
    if (FChangeCount > 0)
        ChangeAt(FChangeCount - 1).Flags |= TChangeEntry::Sealed;
}

bool TChangeLog::PopUndo(TChangeEntry& Entry)
{
    if (FChangeCount == 0)
        return false;
    Entry = ChangeAt(FChangeCount - 1);
    if (FRedoCount < Capacity)
        FRedo[static_cast<std::size_t>(FRedoCount++)] = Entry;
    --FChangeCount;
    Unindex(Entry.Offset);
    return true;
}

bool TChangeLog::PopRedo(TChangeEntry& Entry)
{
    if (FRedoCount == 0)
        return false;
    const int Waiting = FRedoCount - 1;
    Entry = FRedo[static_cast<std::size_t>(Waiting)];
    // Push empties the redo log when it appends; the entries behind this one stay to be redone.
    Push(Entry.Type, Entry.Offset, Entry.OldValue, Entry.NewValue);
    FRedoCount = Waiting;
    return true;
}

const TChangeEntry* TChangeLog::FindOffset(std::int32_t Offset) const
{
    if (!HasChangeAt(Offset))
        return nullptr;
    for (int I = 0; I < FChangeCount; ++I)
        if (GetChange(I).Offset == Offset)
            return &GetChange(I);
    return nullptr;
}

const TChangeEntry* TChangeLog::LastChange() const
{
    return FChangeCount > 0 ? &GetChange(FChangeCount - 1) : nullptr;
}

const TChangeEntry* TChangeLog::LastRedo() const
{
    return FRedoCount > 0 ? &FRedo[static_cast<std::size_t>(FRedoCount - 1)] : nullptr;
}
