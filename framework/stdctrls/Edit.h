#pragma once

#include "framework/windows/CustomControl.h"

#include <string>

// A single-line edit box in the classic look: a sunken 2-pixel border around one line of UTF-8
// text that scrolls sideways to keep the caret in view. Positions (SelStart, SelLength,
// MaxLength) count characters, never bytes, and the caret never stands inside a character.
// Typing, deleting and pasting replace the selection; ReadOnly refuses every change from the
// user but still lets the text be selected and copied. Pasted line breaks become spaces, since
// the box holds a single line. OnChange fires on every change of Text, from code too.
class TEdit : public TCustomControl
{
    PUBLISHED_CLASS(TEdit, TCustomControl)

    explicit TEdit(TComponent* AOwner);
    ~TEdit() override;

    const std::string& GetText() const { return FText; }
    // Replaces the text (MaxLength is not applied) and puts the caret at its start.
    void SetText(const std::string& Value);
    int GetMaxLength() const { return FMaxLength; }
    // Limits what the user can type or paste; 0 is no limit. Text already longer stays.
    void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetAutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }

    // The selection, in characters; the caret stands at its end that moved last.
    int GetSelStart() const;
    // Collapses the selection to an empty one at Value, clamped to the text.
    void SetSelStart(int Value);
    int GetSelLength() const;
    // Extends the selection from SelStart by Value characters, clamped to the text.
    void SetSelLength(int Value);
    std::string GetSelText() const;
    // Replaces the selection with Value, even in a read-only box; MaxLength is not applied.
    void SetSelText(const std::string& Value);
    void SelectAll();
    // Deletes the selected text, as Delete does.
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // The caret's position in characters, and the first pixel column of the text that shows.
    int GetCaretPos() const;
    int GetScrollOffset() const { return FScroll; }

    TNotifyEvent OnChange;

    static void DeclareClass(TClassDeclaration<TEdit>& D);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Dispatch(TMessage& Message) override;
    void EnabledChanged() override { Invalidate(); }
    void FontChanged() override;
    void BoundsChanged() override;

private:
    // Byte offsets of character boundaries around Pos.
    std::size_t NextBoundary(std::size_t Pos) const;
    std::size_t PriorBoundary(std::size_t Pos) const;
    std::size_t NextWord(std::size_t Pos) const;
    std::size_t PriorWord(std::size_t Pos) const;
    std::size_t ByteOf(int Chars) const;
    int CharsOf(std::size_t Bytes) const;
    std::size_t SelFrom() const { return std::min(FAnchor, FCaret); }
    std::size_t SelTo() const { return std::max(FAnchor, FCaret); }

    // Moves the caret to Pos, dragging the anchor along unless Extend.
    void MoveCaret(std::size_t Pos, bool Extend);
    // Replaces the selection with Insert as the user does: refused when read-only, cut to
    // MaxLength; false when nothing could change.
    bool UserReplace(const std::string& Insert);
    void Replace(const std::string& Insert);
    void Changed();

    TRect TextRect() const;
    int XOf(std::size_t Pos);
    // The character boundary nearest to client column X.
    std::size_t PosAt(int X);
    void ScrollToCaret();

    std::string FText;
    std::size_t FAnchor = 0; // bytes; the selection runs between the anchor and the caret
    std::size_t FCaret = 0;
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
    int FScroll = 0; // pixels of the text scrolled out on the left
    bool FSelecting = false;
};
