// The hex editor's input: the cursor and how keys, characters and the mouse move it and edit
// under it, and the scroll bar that follows it.
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/WindowManager.h"
#include "hexedit/Hexcontrol.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// The text buffer a decimal group is edited in holds 1023 digits.
constexpr int DecimalRoom = 1023;

// The top of the first painted row, in client pixels.
constexpr int FirstRowTop = 10;

int ClampToInt(std::int64_t Value)
{
    return int(std::clamp<std::int64_t>(Value, INT_MIN, INT_MAX));
}

} // namespace

// What the bar's OnChange calls after the handler the host gave it: the editor while it is
// linked. A hook left behind in a bar (the host copied the event elsewhere) calls nothing more.
struct THexEditor::TScrollLink
{
    THexEditor* Editor;
    TNotifyEvent Previous; // the bar's own handler, to give back
};

// ---- Cursor ---------------------------------------------------------------------------------

void THexEditor::SetCursorPanel(int Panel)
{
    if (Panel == FCursorPanel)
        return;
    FCursorPanel = Panel;
    MoveCursor(FCursorOffset);
}

void THexEditor::MoveCursor(int Offset)
{
    // Empty data pins the cursor to 0 rather than letting it run past the end unbounded.
    if (Offset < 0 || FSize <= 0)
        Offset = 0;
    else if (Offset > FSize - 1)
        Offset = FSize - 1;
    const int Old = FCursorOffset;
    // Even a move to the same offset ends the edit of the cell: the next edit opens a new entry.
    FChangeLog->Seal();
    FBlinkPhase = 0;
    FDigitIndex = 0;
    FCursorOffset = Offset;
    OnCursorChange(this, Offset);
    if (FollowCursor()) {
        Repaint();
        return;
    }
    InvalidateOffset(Old);
    InvalidateOffset(FCursorOffset);
    Update();
}

bool THexEditor::FollowCursor()
{
    // Before the first paint the view's rows are unknown: putting the cursor's row at the bottom
    // of no rows would scroll it out of sight.
    if (!FScrollBar || FRowsPainted <= 0)
        return false;
    const int Before = FScrollBar->GetPosition();
    int Position = Before;
    if (FCursorOffset < FFirstVisibleOffset)
        Position = FCursorOffset / LineSize();
    if (FCursorOffset > FLastVisibleOffset)
        Position = FCursorOffset / LineSize() + 1 - FRowsPainted;
    if (Position == Before)
        return false;
    // Cleared also when a handler of the bar throws.
    struct TFollowing
    {
        bool& Flag;
        explicit TFollowing(bool& F) : Flag(F) { Flag = true; }
        ~TFollowing() { Flag = false; }
    } Following(FFollowing);
    FScrollBar->SetPosition(Position);
    return FScrollBar->GetPosition() != Before;
}

void THexEditor::InvalidateOffset(int Offset)
{
    if (!HandleAllocated())
        return;
    if (FRowsPainted <= 0 || FCellHeight <= 0) {
        Invalidate();
        return;
    }
    if (Offset < FFirstVisibleOffset || Offset > FLastVisibleOffset)
        return;
    const std::int64_t Row = (std::int64_t(Offset) - FFirstVisibleOffset) / LineSize();
    const int Top = ClampToInt(FirstRowTop + Row * FCellHeight);
    const TRect Area{0, Top, GetClientRect().Right, ClampToInt(std::int64_t(Top) + FCellHeight)};
    TWindowManager::Get().InvalidateRect(GetHandle(), &Area, !FControlStyle.Contains(csOpaque));
}

// ---- Keys -----------------------------------------------------------------------------------

void THexEditor::KeyDown(unsigned& Key, TShiftState)
{
    // Where each navigation key puts the cursor; 64-bit so that a long row or many rows cannot
    // wrap, MoveCursor clamping the rest.
    using TTarget = std::int64_t (*)(const THexEditor&);
    static constexpr std::pair<unsigned, TTarget> Moves[]{
        {VK_PRIOR,
         [](const THexEditor& E) {
             return E.FCursorOffset - std::int64_t(E.FBytesPerLine) * E.FRowsPainted;
         }},
        {VK_NEXT,
         [](const THexEditor& E) {
             return E.FCursorOffset + std::int64_t(E.FBytesPerLine) * E.FRowsPainted;
         }},
        {VK_END, [](const THexEditor& E) { return std::int64_t(E.FSize) - 1; }},
        {VK_HOME, [](const THexEditor&) { return std::int64_t(0); }},
        {VK_LEFT, [](const THexEditor& E) { return std::int64_t(E.FCursorOffset) - 1; }},
        {VK_UP,
         [](const THexEditor& E) { return std::int64_t(E.FCursorOffset) - E.FBytesPerLine; }},
        {VK_RIGHT, [](const THexEditor& E) { return std::int64_t(E.FCursorOffset) + 1; }},
        {VK_DOWN,
         [](const THexEditor& E) { return std::int64_t(E.FCursorOffset) + E.FBytesPerLine; }},
    };
    for (const auto& [Code, Target] : Moves)
        if (Code == Key) {
            MoveCursor(ClampToInt(Target(*this)));
            return;
        }
}

void THexEditor::KeyPress(char32_t& Key)
{
    // Only printable ASCII is typed: control characters and everything from 128 up (which a
    // signed 8-bit character would have taken for negative) change nothing.
    if (Key < 32 || Key > 127)
        return;
    ProcessInput(char(Key));
}

void THexEditor::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void THexEditor::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        WMGetDlgCode(Message);
        return;
    }
    TCustomControl::Dispatch(Message);
}

// ---- Typing ---------------------------------------------------------------------------------

void THexEditor::ProcessInput(char Ch)
{
    if (FReadOnly)
        return;
    const int Edited = FCursorOffset;
    if (FCursorPanel == 0) {
        ProcessBytesInput(Ch);
        // Still inside the cell: only its row changed. A step to the next cell has repainted
        // the rows it left and entered.
        if (FDigitIndex != 0) {
            InvalidateOffset(Edited);
            Update();
        }
        return;
    }
    ProcessCharInput(Ch);
    MoveCursor(FCursorOffset + 1);
}

void THexEditor::ProcessBytesInput(char Ch)
{
    if (FBaseBytes == 10)
        ProcessDecimalInput(Ch);
    else if (FBaseBytes == 16)
        ProcessHexInput(Ch >= 'A' && Ch <= 'Z' ? char(Ch - 'A' + 'a') : Ch);
    // A key that is no digit of the base still skips a digit.
    ++FDigitIndex;
    if (FDigitIndex >= FDigitsPerCell)
        MoveCursor(ClampToInt(std::int64_t(FCursorOffset) + FCellAdvance));
}

void THexEditor::ProcessHexInput(char Ch)
{
    int Digit;
    if (Ch >= 'a' && Ch <= 'f')
        Digit = 10 + (Ch - 'a');
    else if (Ch >= '0' && Ch <= '9')
        Digit = Ch - '0';
    else
        return;
    const std::uint8_t Byte = GetCursorByte();
    SetCursorByte(FDigitIndex == 0 ? std::uint8_t((Byte & 0x0F) | (Digit << 4))
                                   : std::uint8_t((Byte & 0xF0) | Digit));
    SetDirty(1);
}

void THexEditor::ProcessDecimalInput(char Ch)
{
    if (Ch < '0' || Ch > '9')
        return;
    // Printed unsigned: a 4-byte group of 2^31 or more would print signed, its minus sign
    // standing where the user types the first digit, and read back as another number.
    char Text[DecimalRoom + 1];
    const int Width = std::clamp(FCellDigits, 0, DecimalRoom);
    const int Length = std::snprintf(Text, sizeof Text, "%0*u", Width, unsigned(GetCursorWord()));
    // A digit index beyond the text (the cell layout not painted yet) has no digit to replace.
    if (FDigitIndex < 0 || FDigitIndex >= std::min(Length, DecimalRoom))
        return;
    Text[FDigitIndex] = Ch;
    // Read back unsigned and wide: the group keeps the low bytes of what was typed.
    SetCursorWord(std::uint32_t(std::strtoull(Text, nullptr, 10)));
    SetDirty(1);
}

void THexEditor::ProcessCharInput(char Ch)
{
    SetByte(FCursorOffset, std::uint8_t(Ch));
    SetDirty(1);
}

// ---- Mouse ----------------------------------------------------------------------------------

int THexEditor::GetMouseOffset(int X, int Y) const
{
    const THitCell* Cell = FHitTest.Find(X, Y);
    return Cell ? Cell->Offset : -1;
}

void THexEditor::MouseDown(TMouseButton, TShiftState, int X, int Y)
{
    if (const THitCell* Cell = FHitTest.Find(X, Y)) {
        // Copied first: the move repaints, and painting refills the table.
        const THitCell Hit = *Cell;
        MoveCursor(Hit.Offset);
        FCursorPanel = Hit.Panel;
    }
    SetFocus();
    Repaint();
}

// ---- Scroll bar -----------------------------------------------------------------------------

void THexEditor::SetScrollBar(TScrollBar* Value)
{
    if (Value == FScrollBar)
        return;
    UnlinkScrollBar();
    if (!Value)
        return;
    FScrollBar = Value;
    Value->FreeNotification(this);
    FScrollLink = std::make_shared<TScrollLink>(TScrollLink{this, Value->OnChange});
    Value->OnChange = Value->OnChange.Then([Link = FScrollLink](TObject*) {
        if (Link->Editor)
            Link->Editor->ScrollBarChanged();
    });
    Value->SetMax(FSize / LineSize() - 1);
    Repaint();
}

void THexEditor::UnlinkScrollBar()
{
    if (FScrollLink) {
        FScrollLink->Editor = nullptr;
        // Only the bar's hook and this one hold the link: the bar still calls the hook, and its
        // own handler goes back in its place so that links made and undone pile up nothing.
        if (FScrollBar && FScrollLink.use_count() == 2)
            FScrollBar->OnChange = FScrollLink->Previous;
        FScrollLink.reset();
    }
    if (FScrollBar)
        FScrollBar->RemoveFreeNotification(this);
    FScrollBar = nullptr;
}

void THexEditor::ScrollBarChanged()
{
    // The cursor scrolling the bar repaints the whole control itself.
    if (!FFollowing)
        Repaint();
}

void THexEditor::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent || AComponent != FScrollBar)
        return;
    if (!AComponent->IsDestroying()) {
        // Only leaving its owner: the bar lives on and gets its own handler back.
        UnlinkScrollBar();
        return;
    }
    // The bar is going, its hook with it: drop both without touching it.
    FScrollLink->Editor = nullptr;
    FScrollLink.reset();
    FScrollBar = nullptr;
}
