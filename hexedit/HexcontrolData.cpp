#include "framework/stdctrls/MenuItem.h"
#include "hexedit/Hexcontrol.h"
#include "hexedit/Numbase.h"

#include <algorithm>
#include <cstdio>

namespace {

// Offsets are summed in 64 bits so that a group or a row near the largest int does not wrap.
int AsOffset(std::int64_t Offset)
{
    return Offset < 0 || Offset > INT32_MAX ? -1 : int(Offset);
}

// The C library's formatting into a text of whatever length it needs: a wide group's width
// does not overrun a fixed buffer.
template <typename... A>
std::string Printf(const char* Format, A... Args)
{
    const int Length = std::snprintf(nullptr, 0, Format, Args...);
    if (Length <= 0)
        return {};
    std::string Text(std::size_t(Length) + 1, '\0');
    std::snprintf(Text.data(), Text.size(), Format, Args...);
    Text.resize(std::size_t(Length));
    return Text;
}

} // namespace

// ---- Bytes and groups -----------------------------------------------------------------------

std::uint8_t THexEditor::GetByte(int Offset) const
{
    return InData(Offset) ? FData[Offset] : 0;
}

void THexEditor::SetByte(int Offset, std::uint8_t Value)
{
    if (!InData(Offset))
        return;
    if (FSuppress == 0) {
        // A write of the value already there is recorded too.
        FChangeLog->Push(0, Offset, GetByte(Offset), Value);
        ChangeLogUpdate();
    }
    FData[Offset] = Value;
}

std::uint32_t THexEditor::GetWord(int Offset) const
{
    if (Offset < 0)
        return 0;
    const int Group = GroupSize();
    const std::int64_t Base = std::int64_t(Offset / Group) * Group;
    // Shifting every byte in keeps the last 4 bytes' worth of a longer group, so the bytes
    // before those need not be read at all.
    std::uint32_t Value = 0;
    for (int I = std::max(Group - 4, 0); I < Group; ++I)
        Value = (Value << 8) | GetByte(AsOffset(Base + I));
    return Value;
}

void THexEditor::SetWord(int Offset, std::uint32_t Value)
{
    if (Offset < 0)
        return;
    const int Group = GroupSize();
    const int Base = (Offset / Group) * Group;
    if (FSuppress == 0) {
        FChangeLog->Push(1, Base, std::int32_t(GetWord(Base)), std::int32_t(Value));
        ChangeLogUpdate();
    }
    // The bytes are written unrecorded: the group is one entry, not a run of byte entries.
    // Byte N takes Value shifted right by 8 bits per byte after it, which is 0 beyond the last
    // four; bytes past the data are skipped, so a huge group costs no more than the data.
    ++FSuppress;
    const std::int64_t Last =
        std::min<std::int64_t>(Group - 1, std::int64_t(FDataLength) - 1 - Base);
    for (std::int64_t N = Last; N >= 0; --N) {
        const std::int64_t Shift = Group - 1 - N;
        SetByte(int(Base + N), std::uint8_t(Shift < 4 ? (Value >> (8 * Shift)) & 0xFF : 0));
    }
    --FSuppress;
}

void THexEditor::SetCursorByte(std::uint8_t Value)
{
    SetByte(FCursorOffset, Value);
    OnCursorByteChange(this);
}

void THexEditor::SetCursorWord(std::uint32_t Value)
{
    SetWord(FCursorOffset, Value);
    OnCursorByteChange(this);
}

// ---- Texts ----------------------------------------------------------------------------------

void THexEditor::FormatByte(std::uint32_t Value, std::string& Out) const
{
    if (FBaseBytes == 16)
        Out = Printf("%02X", Value);
    else if (FBaseBytes == 10)
        Out = Printf("%03d", int(Value));
    else
        Out.clear();
}

void THexEditor::FormatWord(std::uint32_t Value, std::string& Out) const
{
    if (FBaseBytes == 16)
        Out = Printf("%0*X", GroupSize() * 2, Value);
    else if (FBaseBytes == 10)
        Out = Printf("%0*d", FCellDigits, int(Value));
    else
        Out.clear();
}

void THexEditor::FormatOffset(int Offset, std::string& Out) const
{
    Out = FBaseOffset == 16 ? Printf("%0*X", 8, unsigned(Offset)) : Printf("%0*d", 10, Offset);
}

int THexEditor::DecodeOffset(const std::string& Text) const
{
    return int(FBaseOffset == 16 ? ParseHex(Text.c_str()) : ParseNumber(Text.c_str()));
}

void THexEditor::GetRowAscii(int Offset, std::string& Out) const
{
    Out.clear();
    for (std::int64_t I = 0; I < FBytesPerLine; ++I) {
        const std::uint8_t Byte = GetByte(AsOffset(std::int64_t(Offset) + I));
        Out.push_back(Byte < 0x20 ? '.' : char(Byte));
    }
}

void THexEditor::FormatChangeEntry(const TChangeEntry& Entry, const std::string& Name,
                                   std::string& Out) const
{
    std::string OffsetText, OldText, NewText;
    FormatOffset(Entry.Offset, OffsetText);
    if (Entry.Type == 0) {
        FormatByte(std::uint32_t(Entry.OldValue), OldText);
        FormatByte(std::uint32_t(Entry.NewValue), NewText);
    } else if (Entry.Type == 1) {
        FormatWord(std::uint32_t(Entry.OldValue), OldText);
        FormatWord(std::uint32_t(Entry.NewValue), NewText);
    }
    Out = Name + " " + OffsetText + ": " + OldText + " --> " + NewText;
}

void THexEditor::ChangeLogToMenuItem(TMenuItem* UndoItem, TMenuItem* RedoItem) const
{
    const auto Describe = [this](TMenuItem* Item, const TChangeEntry* Entry, const char* Name) {
        if (!Item)
            return;
        std::string Caption = Name;
        if (Entry)
            FormatChangeEntry(*Entry, Name, Caption);
        Item->SetEnabled(Entry != nullptr);
        Item->SetCaption(Caption);
    };
    Describe(UndoItem, FChangeLog->LastChange(), "Undo");
    Describe(RedoItem, FChangeLog->LastRedo(), "Redo");
}

// ---- Change log -----------------------------------------------------------------------------

void THexEditor::ChangeLogUpdate()
{
    OnChangeLogUpdate(this);
}

void THexEditor::Recall(const TChangeEntry& Entry, bool Forward)
{
    // Writing a value back is not itself a change: the log already moved the entry.
    ++FSuppress;
    const std::int32_t Value = Forward ? Entry.NewValue : Entry.OldValue;
    if (Entry.Type == 0) {
        SetByte(Entry.Offset, std::uint8_t(Value & 0xFF));
        MoveCursor(Entry.Offset);
    } else if (Entry.Type == 1) {
        SetWord(Entry.Offset, std::uint32_t(Value));
        MoveCursor(Entry.Offset);
    }
    --FSuppress;
    ChangeLogUpdate();
}

void THexEditor::Undo()
{
    TChangeEntry Entry;
    if (FChangeLog->PopUndo(Entry))
        Recall(Entry, false);
}

void THexEditor::Redo()
{
    TChangeEntry Entry;
    if (FChangeLog->PopRedo(Entry))
        Recall(Entry, true);
}
