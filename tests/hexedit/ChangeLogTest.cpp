#include "hexedit/ChangeLog.h"

#include "tests/hexedit/HexEditorModel.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Offsets the random pushes use: a small range so that offsets repeat, and the extremes.
std::int32_t RandomOffset(std::mt19937& Random)
{
    if (Random() % 50 == 0)
        return Random() % 2 ? INT32_MAX : -1;
    return static_cast<std::int32_t>(Random() % 64);
}

TEST(ChangeLogTest, FollowsThePlainArraysThroughRandomOperations)
{
    std::mt19937 Random(20261208);
    TChangeLog Log;
    TChangeLogModel Model;
    // Phases that fill the logs, empty them by undoing, redo and mix, so that full logs, drops,
    // merges and redo-merges all happen; counted below so that the run cannot silently miss them.
    enum
    {
        Edit,
        Undo,
        Redo,
        Mixed
    } Phase = Edit;
    int PhaseLeft = 0, FullChanges = 0, FullRedos = 0, Clears = 0;
    for (int Step = 0; Step < 120000; ++Step) {
        if (PhaseLeft-- <= 0) {
            Phase = static_cast<decltype(Phase)>(Random() % 4);
            PhaseLeft = static_cast<int>(Random() % 3000);
        }
        const unsigned Pick = Random() % 100;
        const unsigned Weights[4][3] = {{70, 95, 98}, {0, 3, 100}, {5, 10, 20}, {30, 55, 80}};
        // Pick < w0: push; < w1: seal; < w2: undo; otherwise redo.
        const auto& W = Weights[Phase];
        TChangeEntry FromLog{}, FromModel{};
        if (Random() % 20000 == 0) {
            Log.Clear();
            Model.Clear();
            ++Clears;
        } else if (Pick < W[0]) {
            std::int32_t Offset = RandomOffset(Random);
            if (Model.ChangeCount > 0 && Random() % 3 == 0)
                Offset = Model.Changes[Model.ChangeCount - 1].Offset;
            const auto Type = static_cast<std::int32_t>(Random() % 3);
            const auto Old = static_cast<std::int32_t>(Random()),
                       New = static_cast<std::int32_t>(Random());
            Log.Push(Type, Offset, Old, New);
            Model.Push(Type, Offset, Old, New);
        } else if (Pick < W[1]) {
            Log.Seal();
            Model.Seal();
        } else if (Pick < W[2]) {
            ASSERT_EQ(Log.PopUndo(FromLog), Model.PopUndo(FromModel)) << "step " << Step;
            ASSERT_EQ(FromLog, FromModel) << "step " << Step;
        } else {
            ASSERT_EQ(Log.PopRedo(FromLog), Model.PopRedo(FromModel)) << "step " << Step;
            ASSERT_EQ(FromLog, FromModel) << "step " << Step;
        }
        FullChanges += Model.ChangeCount == TChangeLogModel::Size;
        FullRedos += Model.RedoCount == TChangeLogModel::Size;
        ASSERT_EQ(Model.Difference(Log), "") << "step " << Step;
    }
    EXPECT_GT(FullChanges, 100);
    EXPECT_GT(FullRedos, 0);
    EXPECT_GT(Model.Merges, 1000);
    EXPECT_GT(Clears, 0);
}

TEST(ChangeLogTest, TwoPushesAtOneOffsetMakeOneEntry)
{
    TChangeLog Log;
    Log.Push(0, 31, 0x41, 0x4F);
    Log.Push(1, 31, 0x99, 0x42); // the types are not compared; the first old value stays
    ASSERT_EQ(Log.GetChangeCount(), 1);
    EXPECT_EQ(*Log.LastChange(), (TChangeEntry{0, 0, 31, 0x41, 0x42}));
    EXPECT_TRUE(Log.HasChangeAt(31));
    EXPECT_FALSE(Log.HasChangeAt(30));
}

TEST(ChangeLogTest, ASealSeparatesTwoEntriesAtOneOffset)
{
    TChangeLog Log;
    Log.Push(0, 7, 1, 2);
    Log.Seal();
    Log.Push(0, 7, 2, 3);
    ASSERT_EQ(Log.GetChangeCount(), 2);
    EXPECT_EQ(Log.GetChange(0), (TChangeEntry{0, TChangeEntry::Sealed, 7, 1, 2}));
    EXPECT_EQ(Log.GetChange(1), (TChangeEntry{0, 0, 7, 2, 3}));
    EXPECT_EQ(Log.FindOffset(7), &Log.GetChange(0)); // the oldest entry at the offset
    TChangeEntry Entry;
    ASSERT_TRUE(Log.PopUndo(Entry));
    EXPECT_TRUE(Log.HasChangeAt(7)); // one entry at 7 is left
    ASSERT_TRUE(Log.PopUndo(Entry));
    EXPECT_FALSE(Log.HasChangeAt(7));
    EXPECT_EQ(Log.FindOffset(7), nullptr);
}

TEST(ChangeLogTest, AFullLogDropsItsOldestEntryBeforeMerging)
{
    TChangeLog Log;
    for (int I = 0; I < TChangeLog::Capacity; ++I)
        Log.Push(0, I, I & 0xFF, 0);
    ASSERT_EQ(Log.GetChangeCount(), TChangeLog::Capacity);
    Log.Push(0, TChangeLog::Capacity - 1, 0x55, 0x66);
    EXPECT_EQ(Log.GetChangeCount(), TChangeLog::Capacity - 1);
    EXPECT_EQ(Log.GetChange(0).Offset, 1);
    EXPECT_FALSE(Log.HasChangeAt(0));
    EXPECT_EQ(*Log.LastChange(), (TChangeEntry{0, 0, TChangeLog::Capacity - 1, 0xFF, 0x66}));
}

TEST(ChangeLogTest, OfMoreChangesThanTheLogHoldsTheFirstCannotBeUndone)
{
    TChangeLog Log;
    for (int I = 0; I <= TChangeLog::Capacity; ++I)
        Log.Push(0, I, I, I + 1);
    std::vector<std::int32_t> Undone;
    TChangeEntry Entry;
    while (Log.PopUndo(Entry))
        Undone.push_back(Entry.Offset);
    ASSERT_EQ(Undone.size(), static_cast<std::size_t>(TChangeLog::Capacity));
    EXPECT_EQ(Undone.front(), TChangeLog::Capacity);
    EXPECT_EQ(Undone.back(), 1);
    EXPECT_EQ(Log.GetRedoCount(), TChangeLog::Capacity);
    EXPECT_EQ(Log.LastRedo()->Offset, 1);
    for (int I = 0; I <= TChangeLog::Capacity; ++I)
        ASSERT_FALSE(Log.HasChangeAt(I)) << I;
}

TEST(ChangeLogTest, RedoPushesBackAndKeepsTheRest)
{
    TChangeLog Log;
    Log.Push(0, 1, 10, 11);
    Log.Push(0, 2, 20, 21);
    TChangeEntry Entry;
    ASSERT_TRUE(Log.PopUndo(Entry));
    ASSERT_TRUE(Log.PopUndo(Entry));
    ASSERT_TRUE(Log.PopRedo(Entry));
    EXPECT_EQ(Entry.Offset, 1);
    EXPECT_EQ(Log.GetChangeCount(), 1);
    EXPECT_EQ(Log.GetRedoCount(), 1);
    EXPECT_TRUE(Log.HasChangeAt(1));
    EXPECT_FALSE(Log.HasChangeAt(2));
    // A fresh change forgets what could be redone; a merge does not.
    Log.Push(0, 1, 0, 12);
    EXPECT_EQ(Log.GetRedoCount(), 1);
    Log.Push(0, 3, 30, 31);
    EXPECT_EQ(Log.GetRedoCount(), 0);
    EXPECT_EQ(Log.LastRedo(), nullptr);
    EXPECT_FALSE(Log.PopRedo(Entry));
    Log.Clear();
    EXPECT_FALSE(Log.PopUndo(Entry));
    EXPECT_FALSE(Log.HasChangeAt(3));
    EXPECT_EQ(Log.LastChange(), nullptr);
}

} // namespace
