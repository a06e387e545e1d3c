#pragma once

#include "framework/objects/Event.h"
#include "framework/objects/SysUtils.h"
#include "framework/windows/CustomControl.h"
#include "hexedit/ChangeLog.h"
#include "hexedit/Hittest.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TMenuItem;
class TListView;
class TScrollBar;

using THexOffsetEvent = TEvent<TObject* /*Sender*/, int /*newOffset*/>;
using THexDirtyEvent = TEvent<TObject* /*Sender*/, bool /*newDirty*/>;
using THexFileNameEvent = TEvent<TObject* /*Sender*/, const std::string& /*newFileName*/>;

// A windowed control that shows and edits a byte buffer, with a bounded change log, undo and
// redo. After construction it shows a 1024-byte demo buffer (byte i = i % 256), cursor on offset
// 5 in the character column, not dirty, no message.
//
// Every own property setter stores without a range check and repaints at once; every own
// published int and colour property has the stored default 0. Offsets and sizes are 32-bit
// signed: an offset below 0 or at or past the end of the data reads 0 and writes nothing (a group
// past the end is still recorded). A BytesPerGroup below 1 is taken as groups of one byte; a
// group of more than 4 bytes keeps its last 4 bytes' worth. Texts longer than their fields (file
// name 1031 bytes, message 1023) are cut at the last whole UTF-8 character that fits.
class THexEditor : public TCustomControl
{
    PUBLISHED_CLASS(THexEditor, TCustomControl)

    static constexpr int DemoSize = 1024;
    static constexpr std::size_t FileNameRoom = 1031;
    static constexpr std::size_t MessageRoom = 1023;
    static constexpr const char* NotLoadedMessage = "Start by using the File menu to open a file";

    explicit THexEditor(TComponent* AOwner);
    ~THexEditor() override;

    // ---- Properties
    std::int32_t GetDoRed() const { return FDoRed; }
    void SetDoRed(std::int32_t Value) { SetAndRepaint(FDoRed, Value); }
    std::int32_t GetDoGreen() const { return FDoGreen; }
    void SetDoGreen(std::int32_t Value) { SetAndRepaint(FDoGreen, Value); }
    std::int32_t GetDoBlue() const { return FDoBlue; }
    void SetDoBlue(std::int32_t Value) { SetAndRepaint(FDoBlue, Value); }
    std::int32_t GetBarWidth() const { return FBarWidth; }
    void SetBarWidth(std::int32_t Value) { SetAndRepaint(FBarWidth, Value); }
    std::int32_t GetBytesPerLine() const { return FBytesPerLine; }
    void SetBytesPerLine(std::int32_t Value) { SetAndRepaint(FBytesPerLine, Value); }
    std::int32_t GetBytesPerGroup() const { return FBytesPerGroup; }
    void SetBytesPerGroup(std::int32_t Value) { SetAndRepaint(FBytesPerGroup, Value); }
    std::int32_t GetByteDigits() const { return FByteDigits; }
    void SetByteDigits(std::int32_t Value) { SetAndRepaint(FByteDigits, Value); }
    std::int32_t GetBaseBytes() const { return FBaseBytes; }
    void SetBaseBytes(std::int32_t Value) { SetAndRepaint(FBaseBytes, Value); }
    std::int32_t GetBaseOffset() const { return FBaseOffset; }
    void SetBaseOffset(std::int32_t Value) { SetAndRepaint(FBaseOffset, Value); }
    std::int32_t GetCursorStyle() const { return FCursorStyle; }
    void SetCursorStyle(std::int32_t Value) { SetAndRepaint(FCursorStyle, Value); }
    std::int32_t GetPolkaDots() const { return FPolkaDots; }
    void SetPolkaDots(std::int32_t Value) { SetAndRepaint(FPolkaDots, Value); }
    TColor GetColorByte() const { return FColorByte; }
    void SetColorByte(TColor Value) { SetAndRepaint(FColorByte, Value); }
    TColor GetColorCursor() const { return FColorCursor; }
    void SetColorCursor(TColor Value) { SetAndRepaint(FColorCursor, Value); }
    TColor GetColorChange() const { return FColorChange; }
    void SetColorChange(TColor Value) { SetAndRepaint(FColorChange, Value); }
    TColor GetColorAscii() const { return FColorAscii; }
    void SetColorAscii(TColor Value) { SetAndRepaint(FColorAscii, Value); }
    // Plain fields: no repaint.
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }

    // ---- Input
    int GetCursorPanel() const { return FCursorPanel; }
    // A different panel is stored and the cursor moved to where it is; the same panel: nothing.
    void SetCursorPanel(int Panel);
    int GetCursorOffset() const { return FCursorOffset; }
    void SetCursorOffset(int Offset) { MoveCursor(Offset); }
    // Clamps Offset to 0 .. size - 1 (to 0 when the data is empty), seals the change log, resets
    // the digit index and the blink phase and fires OnCursorChange. A linked scroll bar then
    // brings the cursor's row into view (once rows have been painted); the whole control is
    // repainted when the view scrolls, else only the old and the new cursor rows.
    void MoveCursor(int Offset);
    void ResetCursor() { MoveCursor(0); }
    int GetDigitIndex() const { return FDigitIndex; }

    // Not owned; a bar destroyed while linked unlinks itself. Linking sets the bar's maximum to
    // the last row, and a change of its position repaints the editor at the new rows; a handler
    // the host gave the bar's OnChange keeps being called first.
    TScrollBar* GetScrollBar() const { return FScrollBar; }
    void SetScrollBar(TScrollBar* Value);

    // One typed character (ignored when ReadOnly): into the value cells or the character column
    // by the panel; repaints the cursor's row, or what the move that follows repaints.
    void ProcessInput(char Ch);
    // A digit of the base into the cursor's cell; any character then steps to the next digit,
    // past the last one to the next cell.
    void ProcessBytesInput(char Ch);
    // 0-9 and a-f (lower case) into the digit index's nibble of the cursor's byte.
    void ProcessHexInput(char Ch);
    // 0-9 over the digit index's digit of the cursor's group, as its unsigned decimal text of
    // cell-digits width; the text read back is written to the group (its low bytes).
    void ProcessDecimalInput(char Ch);
    // The character's code into the cursor's byte.
    void ProcessCharInput(char Ch);
    // The offset of the painted cell under a client point, or -1.
    int GetMouseOffset(int X, int Y) const;
    // Answers the dialog-code query: arrow keys and characters, not Tab.
    void WMGetDlgCode(TMessage& Message);
    void Dispatch(TMessage& Message) override;

    // ---- Data
    int GetSize() const { return FSize; }
    // The bytes on show; GetSize() of them as far as the buffer reaches (see SetSize).
    const std::uint8_t* GetData() const { return FData; }
    const std::string& GetFileName() const { return FFileName; }
    const std::string& GetMessage() const { return FMessage; }
    int GetTopOffset() const { return FTopOffset; }
    const TChangeLog& GetChangeLog() const { return *FChangeLog; }

    // Releases a loaded buffer; shows the null buffer, size 1024.
    void FreeData();
    // A loaded buffer of Size bytes (contents undefined, none for Size below 1) becomes the data.
    void AllocData(int Size);
    // Empties both logs, fires OnChangeLogUpdate, repaints.
    void DataChange();
    // The zeroed null buffer under the name "(null)", clean, logs empty.
    void SetNull();
    // SetNull with the message NotLoadedMessage.
    void SetNotLoaded();
    // Non-empty hides the data behind the text; null empties it.
    void SetMessage(const char* Text);
    void ResetOffset();
    void ChangeFileName(const std::string& Name);
    // Stores the size only; offsets beyond the buffer's own length read 0 and write nothing.
    void SetSize(int Size);
    // Fires OnDirtyChange on every call, changed or not; no repaint.
    void SetDirty(int Dirty);

    std::uint8_t GetByte(int Offset) const;
    // Records (unless suppressed) and stores; no dirty flag, no repaint.
    void SetByte(int Offset, std::uint8_t Value);
    // The BytesPerGroup group holding Offset, big-endian.
    std::uint32_t GetWord(int Offset) const;
    // One group entry (unless suppressed), then the group's bytes from Value's low bytes.
    void SetWord(int Offset, std::uint32_t Value);
    std::uint8_t GetCursorByte() const { return GetByte(FCursorOffset); }
    void SetCursorByte(std::uint8_t Value);
    std::uint32_t GetCursorWord() const { return GetWord(FCursorOffset); }
    void SetCursorWord(std::uint32_t Value);

    // ---- Texts (empty for a base other than 10 or 16)
    void FormatByte(std::uint32_t Value, std::string& Out) const;
    void FormatWord(std::uint32_t Value, std::string& Out) const;
    void GetWordText(int Offset, std::string& Out) const { FormatWord(GetWord(Offset), Out); }
    void FormatOffset(int Offset, std::string& Out) const;
    int DecodeOffset(const std::string& Text) const;
    // BytesPerLine characters from Offset, bytes below 0x20 as '.'.
    void GetRowAscii(int Offset, std::string& Out) const;
    // "Name OFFSET: OLD --> NEW".
    void FormatChangeEntry(const TChangeEntry& Entry, const std::string& Name,
                           std::string& Out) const;
    // Captions and enabled states of an undo and a redo item (either may be null).
    void ChangeLogToMenuItem(TMenuItem* UndoItem, TMenuItem* RedoItem) const;
    // The newest 256 entries of the change log (of the redo log), oldest first, as rows of a
    // report-style list: offset, "byte" or "word", old and new value; the last row in view.
    void ChangeLogToListView(TListView* List) const;
    void RedoLogToListView(TListView* List) const;

    // ---- Files
    // 0 loaded; 1 the file ended early (what was read is on show, name and dirty flag kept); 3
    // not opened, larger than 2 GiB or no memory for it (the data stays as it was). Cursor,
    // scroll and logs are reset whatever the result.
    int LoadFromFile(const std::string& Name);
    // 0 saved (name taken, clean); 2 not all written; 3 not opened. The old file stays whole
    // unless the save succeeds; the logs and the cursor stay.
    int SaveToFile(const std::string& Name);
    // Why the last load or save failed, in the system's words; empty after a success.
    const std::string& GetFileError() const { return FFileError; }

    // ---- Change log
    void ChangeLogUpdate();
    // Writes the newest change's old value back unrecorded and moves the cursor to it.
    void Undo();
    // Writes the newest redo entry's new value back and moves the cursor to it.
    void Redo();

    // ---- Search
    // Search texts: characters, a decimal (or "0x" hexadecimal) number, hexadecimal bytes.
    enum : int
    {
        SearchCharacters = 1,
        SearchDecimal = 2,
        SearchHex = 3
    };
    // Flags: letters match only in their own case; the search starts after the cursor.
    enum : int
    {
        SearchMatchCase = 1,
        SearchFromCursor = 4
    };
    static constexpr std::size_t SearchTextRoom = 1023;
    // Stores the text (white space cut off both ends), the mode and the flags, starts at 0 or at
    // the cursor, and takes the first step. The offset of the hit or -1; the cursor stays.
    int FindFirst(const std::string& Text, int Mode, int Flags);
    // The next step in the stored mode: the hit after the last one, or -1. Once a step has
    // failed, every further step fails until FindFirst. A mode other than 1 to 3: -1.
    int FindNext();
    int FindNextAscii();
    int FindNextDecimal();
    int FindNextHex();
    const std::string& GetSearchText() const { return FSearchText; }
    int GetSearchPosition() const { return FSearchPosition; }

    THexOffsetEvent OnCursorChange;
    THexOffsetEvent OnSizeChange;
    THexDirtyEvent OnDirtyChange;
    THexFileNameEvent OnFileNameChange;
    TNotifyEvent OnCursorByteChange;
    TNotifyEvent OnRowWidthChange;
    TNotifyEvent OnChangeLogUpdate;

    static void DeclareClass(TClassDeclaration<THexEditor>& D);

    // ---- View state (set by painting)
    // What the last data paint showed; 0 before the first one.
    int GetFirstVisibleOffset() const { return FFirstVisibleOffset; }
    int GetLastVisibleOffset() const { return FLastVisibleOffset; }
    int GetRowsPainted() const { return FRowsPainted; }

    // ---- Painting
    // The width of a row in pixels, as the last data paint laid it out.
    int GetRowWidth() const { return FRowWidth; }
    // One step of the six-step blink (shown for phases 0 to 2); the host calls it from a timer.
    // CursorStyle 1 keeps the cursor steady. Without polka dots only the cursor mark is redrawn;
    // with them the whole control, since the dots move on every paint.
    void AnimateCursor();
    // '.' for 0, any other byte as it is.
    static char FormatChar(std::uint8_t Byte) { return Byte == 0 ? '.' : char(Byte); }

protected:
    // Each member draws at the drawing position and moves it on (x for cells, y for PaintHorizBar).
    void PaintHex(std::uint32_t Value, int Digits);
    void PaintDecimal(std::uint32_t Value, int Digits);
    // Width -1 advances by the text's own width.
    void PaintChar(std::uint8_t Byte, int Width);
    void PaintBlankChar() { FPaintX += FCharWidth; }
    void PaintSpace() { FPaintX += FCharWidth; }
    // Nothing, and no advance, for an address base other than 10 or 16.
    void PaintAddress(int Offset);
    void PaintByte(std::uint8_t Value) { PaintHex(Value, 2); }
    void PaintBlankByte() { FPaintX += 2 * FCharWidth; }
    void PaintBlankDecimal() { FPaintX += FCellDigits * FCharWidth; }
    void PaintLeftBorder() { FPaintX += BorderWidth; }
    void PaintRightBorder() { FPaintX += BorderWidth; }
    void PaintAddrBytesSeperator();
    void PaintBytesCharsSeperator();
    void PaintHexBytes(int Offset);
    void PaintDecimalBytes(int Offset);
    void PaintRow(int Offset);
    // The underline under a digit of a value cell, or under a character cell.
    void PaintByteCursor(int CellX, int RowY, int Digit);
    void PaintCharCursor(int CellX, int RowY);
    // The last placed mark in black, or in Color to hide it; nothing before the first.
    void PaintCursor(bool Visible);
    void PaintBackground();
    void PaintFrame();
    void PaintVertBar(int BarWidth, int CellWidth);
    // Fixed-colour bands that the control never draws itself; a size below 2 draws nothing.
    void PaintHorizBar(int Height);
    void PaintBar(int BarWidth, int CellWidth);
    // Up to 10 lines, centred, in the frame without separator bars.
    void PaintMessage(const std::string& Text);

    static constexpr int FirstRowY = 10;
    static constexpr int BorderWidth = 12;
    static constexpr int SeparatorWidth = 20;
    static constexpr int DotCount = 30;
    static constexpr TColor DotColor = RGB(255, 128, 192);
    static constexpr const char* GroupMessage =
        "Please make sure the Bytes-Per-Line (BPL) setting you\nselect is divisible by the "
        "Bytes-Per-Group (BPG) setting\nyou have selected\n";

protected:
    void Paint() override;

    // ---- Input
    // Navigation keys by table; the shift state is ignored.
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    // Characters 32 to 127 go to ProcessInput; all others are ignored.
    void KeyPress(char32_t& Key) override;
    // Any button: the cursor and panel of the painted cell under the point, then the focus.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Marks the painted row holding Offset for repainting; nothing when it is not in view, the
    // whole control when no row has been painted yet.
    void InvalidateOffset(int Offset);

    // ---- View state (set by painting)
    // Rows, cell layout and hit cells of the last data paint; the row pitch is FCellHeight.
    int FFirstVisibleOffset = 0;
    int FLastVisibleOffset = 0;
    int FRowsPainted = 0;
    int FCellHeight = 0;
    int FDigitsPerCell = 2;
    int FCellAdvance = 1;
    THitTest& GetHitTest() { return FHitTest; }

    // Set by row painting; the width of decimal group texts.
    int FCellDigits = 2;

private:
    // The group size that the byte and group operations use: never below 1.
    int GroupSize() const { return FBytesPerGroup < 1 ? 1 : FBytesPerGroup; }
    // Whether Offset names a byte that exists in both the size and the buffer.
    bool InData(std::int64_t Offset) const { return Offset >= 0 && Offset < FDataLength; }
    // Data of Capacity bytes goes on show; the size is set apart.
    void ShowData(std::uint8_t* Data, int Capacity);
    void Recall(const TChangeEntry& Entry, bool Forward);

    // The loaded buffer's seam: where a file's bytes live, released by ReleaseLoaded.
    std::uint8_t* AllocateLoaded(int Size);
    void ReleaseLoaded();
    void LogToListView(TListView* List, bool Redo) const;
    TByteBlock FLoaded;

    std::int32_t FPolkaDots = 0;
    std::int32_t FBarWidth = 6;
    std::int32_t FDoRed = 0;
    std::int32_t FDoGreen = -1;
    std::int32_t FDoBlue = 255;
    std::int32_t FBaseBytes = 16;
    std::int32_t FBaseOffset = 16;
    std::int32_t FTopOffset = 0;
    std::int32_t FBytesPerLine = 16;
    std::int32_t FBytesPerGroup = 4;
    std::int32_t FByteDigits = 2;
    std::int32_t FCursorStyle = 0;
    TColor FColorByte = 0;
    TColor FColorCursor = 0;
    TColor FColorChange = 0;
    TColor FColorAscii = 0;
    int FBlinkPhase = 0;
    int FCursorOffset = 5;
    int FDigitIndex = 0;
    int FCursorPanel = 1;
    bool FReadOnly = false;

    // ---- Input
    TScrollBar* FScrollBar = nullptr;
    // The hook in the bar's OnChange: it outlives a link (or the editor) harmlessly.
    struct TScrollLink;
    std::shared_ptr<TScrollLink> FScrollLink;
    bool FFollowing = false; // the cursor is scrolling the bar: one repaint is enough
    // Scrolls a linked bar so that the cursor's row is in view; true when it moved.
    bool FollowCursor();
    void ScrollBarChanged();
    void UnlinkScrollBar();
    // The row length that cursor and scroll arithmetic divide by: never below 1.
    int LineSize() const { return FBytesPerLine < 1 ? 1 : FBytesPerLine; }

    std::string FSearchText;
    int FSearchMode = 0;
    int FSearchFlags = 0;
    int FSearchPosition = 0;

    std::unique_ptr<TChangeLog> FChangeLog;
    int FSuppress = 0;
    std::string FMessage;
    std::string FFileName;
    std::string FFileError;
    std::array<std::uint8_t, DemoSize> FDemo{};
    std::array<std::uint8_t, DemoSize> FNull{};
    std::uint8_t* FData = nullptr;
    // The bytes FData really holds, and of them the ones inside the size.
    int FDataCapacity = 0;
    int FDataLength = 0;
    int FSize = 0;
    int FDirty = 0;
    THitTest FHitTest;

    // Painting state
    TColor CellColor(int Offset, TColor Plain) const;
    void UseInk(TColor Color);
    void PaintText(const char* Text, int Length);
    TRect CursorMarkRect() const;
    bool PastRightEdge() const;
    int FPaintX = 0;
    int FPaintY = 0;
    int FCharWidth = 0;
    int FClientRight = 0;
    int FRowWidth = 0;
    bool FRowWidthChanged = false;
    int FAddrBytesSeparator = -1;
    int FBytesCharsSeparator = -1;
    int FMarkX = -1;
    int FMarkY = -1;
    int FMarkWidth = 0;
    bool FMarkShown = false;
    std::array<TPoint, DotCount> FDotPosition{};
    std::array<TPoint, DotCount> FDotVelocity{};
    THitRow* FHitRow = nullptr;
};

namespace HexEditor {
// Puts THexEditor on the component palette page "Additional".
void Register();
} // namespace HexEditor
