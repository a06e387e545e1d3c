#pragma once

// The hex editor as plain arrays and indices, written straight from its rules, for random cases
// and the fuzzer to run beside the real one. The logs: a full change log moves every entry down
// one place, an unsealed newest entry at the same offset takes the new value, a fresh entry
// forgets the redo log. The data and cursor: a cursor move seals the newest change, undo and
// redo write the value they recall and move the cursor to it without recording that as a change.
// The view: panel, digit index and a linked bar's position, as keys, characters and clicks
// change them. Nothing here depends on a test framework: comparisons return a description of the
// first difference, empty when there is none.

#include "framework/windows/Messages.h"
#include "hexedit/ChangeLog.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

    // Where Log differs: in either log's entries, its newest entries or what it finds at the
    // offsets -1 to 64 and the largest.
    std::string Difference(const TChangeLog& Log) const
    {
        if (Log.GetChangeCount() != ChangeCount || Log.GetRedoCount() != RedoCount)
            return "counts " + std::to_string(Log.GetChangeCount()) + "/" +
                   std::to_string(Log.GetRedoCount()) + ", expected " +
                   std::to_string(ChangeCount) + "/" + std::to_string(RedoCount);
        for (int I = 0; I < ChangeCount; ++I)
            if (!(Log.GetChange(I) == Changes[I]))
                return "change " + std::to_string(I);
        for (int I = 0; I < RedoCount; ++I)
            if (!(Log.GetRedo(I) == Redo[I]))
                return "redo " + std::to_string(I);
        const TChangeEntry* Last = Log.LastChange();
        if ((Last == nullptr) != (ChangeCount == 0) ||
            (Last && !(*Last == Changes[ChangeCount - 1])))
            return "last change";
        const TChangeEntry* LastRedo = Log.LastRedo();
        if ((LastRedo == nullptr) != (RedoCount == 0) ||
            (LastRedo && !(*LastRedo == Redo[RedoCount - 1])))
            return "last redo";
        for (std::int32_t Offset : {-1, INT32_MAX})
            if (Log.HasChangeAt(Offset) != (FindOffset(Offset) != nullptr))
                return "change at " + std::to_string(Offset);
        for (std::int32_t Offset = 0; Offset < 65; ++Offset) {
            const TChangeEntry* Expected = FindOffset(Offset);
            const TChangeEntry* Found = Log.FindOffset(Offset);
            if (Log.HasChangeAt(Offset) != (Expected != nullptr) ||
                (Found != nullptr) != (Expected != nullptr) || (Found && !(*Found == *Expected)))
                return "entry at " + std::to_string(Offset);
        }
        return {};
    }
};

// The editor's data and cursor: the 1024-byte demo buffer, cursor on 5.
struct TEditorModel
{
    std::vector<std::uint8_t> Data = std::vector<std::uint8_t>(1024);
    int Size = 1024;
    int Cursor = 5;
    int Group = 4;
    int Suppress = 0;
    TChangeLogModel Log;

    TEditorModel()
    {
        for (int I = 0; I < Size; ++I)
            Data[std::size_t(I)] = std::uint8_t(I % 256);
    }
    std::uint8_t GetByte(int Offset) const
    {
        return Offset >= 0 && Offset < Size ? Data[std::size_t(Offset)] : 0;
    }
    void SetByte(int Offset, std::uint8_t Value)
    {
        if (Offset < 0 || Offset >= Size)
            return;
        if (Suppress == 0)
            Log.Push(0, Offset, GetByte(Offset), Value);
        Data[std::size_t(Offset)] = Value;
    }
    std::uint32_t GetWord(int Offset) const
    {
        const int Base = Offset / Group * Group;
        std::uint32_t Value = 0;
        for (int I = 0; I < Group; ++I)
            Value = (Value << 8) | GetByte(Base + I);
        return Value;
    }
    void SetWord(int Offset, std::uint32_t Value)
    {
        const int Base = Offset / Group * Group;
        if (Suppress == 0)
            Log.Push(1, Base, std::int32_t(GetWord(Base)), std::int32_t(Value));
        ++Suppress;
        for (int N = Group - 1; N >= 0; --N) {
            SetByte(Base + N, std::uint8_t(Value & 0xFF));
            Value >>= 8;
        }
        --Suppress;
    }
    void MoveCursor(int Offset)
    {
        Cursor = Offset < 0 ? 0 : Offset > Size - 1 ? Size - 1 : Offset;
        Log.Seal();
    }
    void Recall(bool Forward)
    {
        TChangeEntry E;
        if (!(Forward ? Log.PopRedo(E) : Log.PopUndo(E)))
            return;
        ++Suppress;
        const std::int32_t Value = Forward ? E.NewValue : E.OldValue;
        if (E.Type == 0)
            SetByte(E.Offset, std::uint8_t(Value & 0xFF));
        else
            SetWord(E.Offset, std::uint32_t(Value));
        MoveCursor(E.Offset);
        --Suppress;
    }
    void Undo() { Recall(false); }
    void Redo() { Recall(true); }

    // Where the editor's data or logs differ from these.
    template <typename TEditor>
    std::string Difference(const TEditor& Editor) const
    {
        if (!std::equal(Data.begin(), Data.end(), Editor.GetData()))
            return "data";
        return Log.Difference(Editor.GetChangeLog());
    }
};

// The view on top of the model. Rows and their pixels come from the layout rule for a monospace
// font of cell W x H: rows from y 10, a 12-pixel border, 8 address digits, a 20-pixel separator,
// then the cells.
struct TViewModel : TEditorModel
{
    int Panel = 1, Digit = 0, Position = 0, Rows = 0;
    static constexpr int Line = 16;

    void Move(int Offset)
    {
        MoveCursor(Offset);
        Digit = 0;
        if (Cursor < Position * Line)
            Position = Cursor / Line;
        if (Cursor > (Position + Rows) * Line - 1)
            Position = Cursor / Line + 1 - Rows;
    }
    // One of the navigation keys; others do nothing.
    void Key(unsigned K)
    {
        const std::pair<unsigned, std::int64_t> Targets[] = {
            {VK_PRIOR, Cursor - std::int64_t(Line) * Rows},
            {VK_NEXT, Cursor + std::int64_t(Line) * Rows},
            {VK_END, Size - 1},
            {VK_HOME, 0},
            {VK_LEFT, Cursor - 1},
            {VK_UP, Cursor - Line},
            {VK_RIGHT, Cursor + 1},
            {VK_DOWN, Cursor + Line}};
        for (const auto& [Code, Target] : Targets)
            if (Code == K)
                Move(int(Target));
    }
    void Char(char C)
    {
        if (Panel == 1) {
            SetByte(Cursor, std::uint8_t(C));
            Move(Cursor + 1);
            return;
        }
        const char L = char(std::tolower(static_cast<unsigned char>(C)));
        const int D = L >= '0' && L <= '9' ? L - '0' : L >= 'a' && L <= 'f' ? L - 'a' + 10 : -1;
        if (D >= 0) {
            const std::uint8_t B = GetByte(Cursor);
            SetByte(Cursor, std::uint8_t(Digit == 0 ? (B & 0x0F) | (D << 4) : (B & 0xF0) | D));
        }
        if (++Digit >= 2)
            Move(Cursor + 1);
    }
    // A click in a painted cell: Row of the rows on show, Byte of the line, panel 0 (values) or
    // 1 (characters).
    void Click(int Row, int Byte, int ClickPanel)
    {
        Move((Position + Row) * Line + Byte);
        Panel = ClickPanel;
    }
    // Undo or redo as the editor's commands do them: the cursor follows the entry recalled.
    void RecallAndShow(bool Forward)
    {
        if ((Forward ? Log.RedoCount : Log.ChangeCount) == 0)
            return;
        Forward ? Redo() : Undo();
        Move(Cursor);
    }
};
