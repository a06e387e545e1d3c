#pragma once

// The hex editor's two logs as plain arrays, oldest first, written straight from the rules: a
// full change log moves every entry down one place, an unsealed newest entry at the same offset
// takes the new value, a fresh entry forgets the redo log. Random cases run it beside the real
// log and compare the two after each step.

#include "hexedit/ChangeLog.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <gtest/gtest.h>

struct TChangeLogModel
{
    static constexpr int Size = 1024;
    TChangeEntry Changes[Size] = {};
    int ChangeCount = 0;
    TChangeEntry Redo[Size] = {};
    int RedoCount = 0;
    // Coverage, so that a random run cannot silently miss the interesting cases.
    int Drops = 0, Merges = 0, MostRedo = 0;

    void Clear() { ChangeCount = RedoCount = 0; }
    void Push(std::int32_t Type, std::int32_t Offset, std::int32_t Old, std::int32_t New)
    {
        if (ChangeCount == Size) {
            for (int I = 1; I < Size; ++I)
                Changes[I - 1] = Changes[I];
            ChangeCount = Size - 1;
            ++Drops;
        }
        TChangeEntry* Last = ChangeCount > 0 ? &Changes[ChangeCount - 1] : nullptr;
        if (Last && Last->Offset == Offset && (Last->Flags & 1) == 0) {
            Last->NewValue = New;
            ++Merges;
            return;
        }
        Changes[ChangeCount++] = {Type, 0, Offset, Old, New};
        RedoCount = 0;
    }
    void Seal()
    {
        if (ChangeCount > 0)
            Changes[ChangeCount - 1].Flags |= 1;
    }
    bool PopUndo(TChangeEntry& Entry)
    {
        if (ChangeCount == 0)
            return false;
        Entry = Changes[--ChangeCount];
        if (RedoCount < Size)
            Redo[RedoCount++] = Entry;
        MostRedo = std::max(MostRedo, RedoCount);
        return true;
    }
    bool PopRedo(TChangeEntry& Entry)
    {
        if (RedoCount == 0)
            return false;
        const int Before = RedoCount;
        Entry = Redo[RedoCount - 1];
        Push(Entry.Type, Entry.Offset, Entry.OldValue, Entry.NewValue);
        RedoCount = Before - 1;
        return true;
    }
    const TChangeEntry* FindOffset(std::int32_t Offset) const
    {
        for (int I = 0; I < ChangeCount; ++I)
            if (Changes[I].Offset == Offset)
                return &Changes[I];
        return nullptr;
    }

    // Fails the case where Log differs: in either log's entries, its newest entries or what it
    // finds at the offsets -1 to 64 and the largest.
    void ExpectSame(const TChangeLog& Log, int Step) const
    {
        ASSERT_EQ(Log.GetChangeCount(), ChangeCount) << "step " << Step;
        ASSERT_EQ(Log.GetRedoCount(), RedoCount) << "step " << Step;
        for (int I = 0; I < ChangeCount; ++I)
            ASSERT_EQ(Log.GetChange(I), Changes[I]) << "step " << Step << " change " << I;
        for (int I = 0; I < RedoCount; ++I)
            ASSERT_EQ(Log.GetRedo(I), Redo[I]) << "step " << Step << " redo " << I;
        ASSERT_EQ(Log.LastChange() == nullptr, ChangeCount == 0) << "step " << Step;
        if (ChangeCount > 0) {
            ASSERT_EQ(*Log.LastChange(), Changes[ChangeCount - 1]) << "step " << Step;
        }
        ASSERT_EQ(Log.LastRedo() == nullptr, RedoCount == 0) << "step " << Step;
        if (RedoCount > 0) {
            ASSERT_EQ(*Log.LastRedo(), Redo[RedoCount - 1]) << "step " << Step;
        }
        for (std::int32_t Offset = -1; Offset < 65; ++Offset) {
            const TChangeEntry* Expected = FindOffset(Offset);
            ASSERT_EQ(Log.HasChangeAt(Offset), Expected != nullptr)
                << "step " << Step << " @" << Offset;
            const TChangeEntry* Found = Log.FindOffset(Offset);
            ASSERT_EQ(Found != nullptr, Expected != nullptr) << "step " << Step << " @" << Offset;
            if (Found != nullptr) {
                ASSERT_EQ(*Found, *Expected) << "step " << Step << " @" << Offset;
            }
        }
        ASSERT_EQ(Log.HasChangeAt(INT32_MAX), FindOffset(INT32_MAX) != nullptr) << "step " << Step;
    }
};
