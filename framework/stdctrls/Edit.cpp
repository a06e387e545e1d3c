#include "framework/stdctrls/Edit.h"

#include "framework/graphics/Frame3D.h"
#include "framework/windows/Clipboard.h"

#include <algorithm>

namespace {
constexpr int EdgeWidth = 2;
constexpr int Margin = 1; // between the border and the text, as Windows leaves it

bool IsContinuation(char C)
{
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

// Word breaks of the classic edit box: runs of blanks separate words.
bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

// A single line of what the clipboard held: every line break (CR, LF or CR LF) becomes one
// space, so that the words on either side stay apart.
std::string OneLine(const std::string& Text)
{
    std::string Line;
    Line.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\r' || Text[I] == '\n') {
            if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n')
                ++I;
            Line += ' ';
        } else {
            Line += Text[I];
        }
    }
    return Line;
}

void AppendUtf8(std::string& Out, char32_t C)
{
    if (C < 0x80) {
        Out += char(C);
    } else if (C < 0x800) {
        Out += char(0xC0 | C >> 6);
        Out += char(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        Out += char(0xE0 | C >> 12);
        Out += char(0x80 | (C >> 6 & 0x3F));
        Out += char(0x80 | (C & 0x3F));
    } else {
        Out += char(0xF0 | C >> 18);
        Out += char(0x80 | (C >> 12 & 0x3F));
        Out += char(0x80 | (C >> 6 & 0x3F));
        Out += char(0x80 | (C & 0x3F));
    }
}

int CountChars(std::string_view Text)
{
    return int(std::count_if(Text.begin(), Text.end(), [](char C) { return !IsContinuation(C); }));
}
} // namespace

TEdit::TEdit(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Exclude(csAcceptsControls);
    FControlStyle.Exclude(csClickEvents);
    SetColor(clWindow);
    SetTabStop(true);
    SetCursor(crIBeam);
    SetBounds(0, 0, 121, 21);
}

TEdit::~TEdit() = default;

void TEdit::DeclareClass(TClassDeclaration<TEdit>& D)
{
    D.String("Text", &TEdit::GetText, &TEdit::SetText);
    D.Integer("MaxLength", &TEdit::GetMaxLength, &TEdit::SetMaxLength);
    D.Boolean("ReadOnly", &TEdit::GetReadOnly, &TEdit::SetReadOnly);
    D.Boolean("AutoSelect", &TEdit::GetAutoSelect, &TEdit::SetAutoSelect).Default(1);
    D.Color("Color", &TEdit::GetColor, &TEdit::SetColor).Default(clWindow);
    D.Boolean("TabStop", &TEdit::GetTabStop, &TEdit::SetTabStop).Default(1);
    D.Event("OnChange", &TEdit::OnChange);
}

// ---- Text and selection ---------------------------------------------------------------------

void TEdit::SetText(const std::string& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    FAnchor = FCaret = 0;
    FScroll = 0;
    Changed();
}

std::size_t TEdit::NextBoundary(std::size_t Pos) const
{
    if (Pos >= FText.size())
        return FText.size();
    ++Pos;
    while (Pos < FText.size() && IsContinuation(FText[Pos]))
        ++Pos;
    return Pos;
}

std::size_t TEdit::PriorBoundary(std::size_t Pos) const
{
    if (Pos == 0)
        return 0;
    --Pos;
    while (Pos > 0 && IsContinuation(FText[Pos]))
        --Pos;
    return Pos;
}

std::size_t TEdit::NextWord(std::size_t Pos) const
{
    while (Pos < FText.size() && !IsBlank(FText[Pos]))
        ++Pos;
    while (Pos < FText.size() && IsBlank(FText[Pos]))
        ++Pos;
    return Pos;
}

std::size_t TEdit::PriorWord(std::size_t Pos) const
{
    while (Pos > 0 && IsBlank(FText[Pos - 1]))
        --Pos;
    while (Pos > 0 && !IsBlank(FText[Pos - 1]))
        --Pos;
    return Pos;
}

std::size_t TEdit::ByteOf(int Chars) const
{
    std::size_t Pos = 0;
    for (int I = 0; I < Chars && Pos < FText.size(); ++I)
        Pos = NextBoundary(Pos);
    return Pos;
}

int TEdit::CharsOf(std::size_t Bytes) const
{
    return CountChars(std::string_view(FText).substr(0, Bytes));
}

int TEdit::GetSelStart() const
{
    return CharsOf(SelFrom());
}

void TEdit::SetSelStart(int Value)
{
    MoveCaret(ByteOf(std::max(0, Value)), false);
}

int TEdit::GetSelLength() const
{
    return CharsOf(SelTo()) - CharsOf(SelFrom());
}

void TEdit::SetSelLength(int Value)
{
    const int Start = GetSelStart();
    FAnchor = ByteOf(Start);
    MoveCaret(ByteOf(std::max(0, Start + Value)), true);
}

int TEdit::GetCaretPos() const
{
    return CharsOf(FCaret);
}

std::string TEdit::GetSelText() const
{
    return FText.substr(SelFrom(), SelTo() - SelFrom());
}

void TEdit::SetSelText(const std::string& Value)
{
    Replace(Value);
}

void TEdit::SelectAll()
{
    FAnchor = 0;
    MoveCaret(FText.size(), true);
}

void TEdit::ClearSelection()
{
    if (SelFrom() != SelTo())
        UserReplace({});
}

void TEdit::CopyToClipboard()
{
    if (SelFrom() != SelTo())
        TClipboard::SetAsText(GetSelText());
}

void TEdit::CutToClipboard()
{
    if (FReadOnly || SelFrom() == SelTo())
        return;
    CopyToClipboard();
    UserReplace({});
}

void TEdit::PasteFromClipboard()
{
    if (!FReadOnly && TClipboard::HasText())
        UserReplace(OneLine(TClipboard::GetAsText()));
}

void TEdit::MoveCaret(std::size_t Pos, bool Extend)
{
    Pos = std::min(Pos, FText.size());
    if (Pos == FCaret && (Extend || FAnchor == FCaret))
        return;
    FCaret = Pos;
    if (!Extend)
        FAnchor = Pos;
    ScrollToCaret();
    Invalidate();
}

bool TEdit::UserReplace(const std::string& Insert)
{
    if (FReadOnly)
        return false;
    std::string Kept = Insert;
    if (FMaxLength > 0) {
        const int Room = FMaxLength - (CountChars(FText) - GetSelLength());
        if (Room <= 0) {
            Kept.clear();
        } else {
            std::size_t End = 0;
            for (int I = 0; I < Room && End < Kept.size(); ++I)
                do
                    ++End;
                while (End < Kept.size() && IsContinuation(Kept[End]));
            Kept.resize(End);
        }
        // A full box refuses a typed character rather than swallowing the selection.
        if (Kept.empty() && !Insert.empty())
            return false;
    }
    Replace(Kept);
    return true;
}

void TEdit::Replace(const std::string& Insert)
{
    const std::size_t From = SelFrom();
    const std::size_t Removed = SelTo() - From;
    if (Removed == 0 && Insert.empty())
        return;
    FText.replace(From, Removed, Insert);
    FAnchor = FCaret = From + Insert.size();
    Changed();
}

void TEdit::Changed()
{
    ScrollToCaret();
    Invalidate();
    if (!IsLoading())
        OnChange(this);
}

// ---- Geometry -------------------------------------------------------------------------------

TRect TEdit::TextRect() const
{
    const TRect C = GetClientRect();
    const int Inset = EdgeWidth + Margin;
    return {C.Left + Inset, C.Top + Inset, std::max(C.Left + Inset, C.Right - Inset),
            std::max(C.Top + Inset, C.Bottom - Inset)};
}

int TEdit::XOf(std::size_t Pos)
{
    TCanvas& Canvas = GetCanvas();
    Canvas.SetFont(GetFont());
    return TextRect().Left - FScroll + Canvas.TextWidth(FText.substr(0, Pos));
}

std::size_t TEdit::PosAt(int X)
{
    // Advances add up, so the boundaries' columns rise with the position.
    std::size_t Best = 0;
    int BestDistance = std::abs(XOf(0) - X);
    for (std::size_t Pos = NextBoundary(0); Pos <= FText.size(); Pos = NextBoundary(Pos)) {
        const int Distance = std::abs(XOf(Pos) - X);
        if (Distance < BestDistance) {
            Best = Pos;
            BestDistance = Distance;
        } else if (XOf(Pos) > X) {
            break;
        }
        if (Pos == FText.size())
            break;
    }
    return Best;
}

void TEdit::ScrollToCaret()
{
    const TRect R = TextRect();
    const int Width = R.Width();
    TCanvas& Canvas = GetCanvas();
    Canvas.SetFont(GetFont());
    const int Caret = Canvas.TextWidth(FText.substr(0, FCaret));
    const int Whole = Canvas.TextWidth(FText);
    // Windows jumps a quarter of the box at a time, so that typing does not scroll on every key.
    const int Jump = std::max(1, Width / 4);
    if (Caret < FScroll)
        FScroll = std::max(0, Caret - Jump);
    else if (Caret >= FScroll + Width)
        FScroll = Caret - Width + Jump;
    // Never leave blank room on the right while text is scrolled out on the left.
    FScroll = std::clamp(FScroll, 0, std::max(0, std::max(Whole + 1 - Width, Caret - Width + 1)));
}

void TEdit::BoundsChanged()
{
    ScrollToCaret();
    TCustomControl::BoundsChanged();
}

void TEdit::FontChanged()
{
    TCustomControl::FontChanged();
    ScrollToCaret();
}

// ---- Painting -------------------------------------------------------------------------------

void TEdit::Paint()
{
    TCanvas& Canvas = GetCanvas();
    TRect Edge = GetClientRect();
    Frame3D(Canvas, Edge, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, Edge, cl3DDkShadow, cl3DLight, 1);
    TBrush& Brush = Canvas.GetBrush();
    Brush.SetStyle(TBrushStyle::bsSolid);
    Brush.SetColor(GetEnabled() ? GetColor() : clBtnFace);
    Canvas.FillRect(Edge);

    const TRect R = TextRect();
    Canvas.SetFont(GetFont());
    if (!GetEnabled())
        Canvas.GetFont().SetColor(clGrayText);
    Brush.SetStyle(TBrushStyle::bsClear);
    const int X = R.Left - FScroll;
    Canvas.TextRect(R, X, R.Top, FText);

    // Like Windows, the selection and the caret show only while the box has the focus.
    const bool Focus = Focused() && GetEnabled();
    const int Height = Canvas.TextHeight(FText);
    if (Focus && SelFrom() != SelTo()) {
        // The selected run again, over its highlight, clipped to it.
        const TRect Sel = TRect{XOf(SelFrom()), R.Top, XOf(SelTo()), R.Top + Height}.Intersect(R);
        Canvas.SetFont(GetFont());
        Brush.SetStyle(TBrushStyle::bsSolid);
        Brush.SetColor(clHighlight);
        Canvas.FillRect(Sel);
        Brush.SetStyle(TBrushStyle::bsClear);
        Canvas.GetFont().SetColor(clHighlightText);
        Canvas.TextRect(Sel, X, R.Top, FText);
    }
    if (Focus) {
        const int CaretX = XOf(FCaret);
        Brush.SetStyle(TBrushStyle::bsSolid);
        Brush.SetColor(clWindowText);
        Canvas.FillRect(TRect{CaretX, R.Top, CaretX + 1, R.Top + Height}.Intersect(
            TRect{R.Left - Margin, R.Top, R.Right + Margin, R.Bottom}));
    }
}

// ---- Input ----------------------------------------------------------------------------------

void TEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left) {
        if (CanFocus() && !Focused())
            SetFocus();
        if (Shift & ssDouble) {
            // A word, or the run of blanks under the pointer.
            std::size_t From = PosAt(X);
            std::size_t To = From;
            const bool Blank =
                From < FText.size() ? IsBlank(FText[From]) : From > 0 && IsBlank(FText[From - 1]);
            while (From > 0 && IsBlank(FText[From - 1]) == Blank)
                --From;
            while (To < FText.size() && IsBlank(FText[To]) == Blank)
                ++To;
            FAnchor = From;
            MoveCaret(To, true);
            FSelecting = false;
        } else {
            MoveCaret(PosAt(X), (Shift & ssShift) != 0);
            FSelecting = true;
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TEdit::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FSelecting)
        MoveCaret(PosAt(X), true);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Left)
        FSelecting = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TEdit::KeyDown(unsigned& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const bool Ctrl = (Shift & ssCtrl) != 0;
    const bool Extend = (Shift & ssShift) != 0;
    switch (Key) {
    case VK_LEFT:
        // A plain arrow first collapses a selection to its near end.
        if (!Extend && !Ctrl && FAnchor != FCaret)
            MoveCaret(SelFrom(), false);
        else
            MoveCaret(Ctrl ? PriorWord(FCaret) : PriorBoundary(FCaret), Extend);
        break;
    case VK_RIGHT:
        if (!Extend && !Ctrl && FAnchor != FCaret)
            MoveCaret(SelTo(), false);
        else
            MoveCaret(Ctrl ? NextWord(FCaret) : NextBoundary(FCaret), Extend);
        break;
    case VK_HOME:
        MoveCaret(0, Extend);
        break;
    case VK_END:
        MoveCaret(FText.size(), Extend);
        break;
    case VK_BACK:
    case VK_DELETE:
        if (Key == VK_DELETE && Shift == ssShift) {
            CutToClipboard();
        } else if (!FReadOnly) {
            if (FAnchor == FCaret)
                FAnchor = Key == VK_BACK ? PriorBoundary(FCaret) : NextBoundary(FCaret);
            UserReplace({});
        }
        break;
    case VK_INSERT:
        if (Shift == ssShift)
            PasteFromClipboard();
        else if (Shift == ssCtrl)
            CopyToClipboard();
        break;
    case 'A':
    case 'C':
    case 'V':
    case 'X':
        if (Shift != ssCtrl)
            return;
        if (Key == 'A')
            SelectAll();
        else if (Key == 'C')
            CopyToClipboard();
        else if (Key == 'V')
            PasteFromClipboard();
        else
            CutToClipboard();
        break;
    default:
        return;
    }
    Key = 0;
}

void TEdit::KeyPress(char32_t& Key)
{
    TCustomControl::KeyPress(Key);
    // Control characters (Backspace, Ctrl+letters, Enter, Escape) are keys, not text.
    if (Key < 0x20 || Key == 0x7F || Key > 0x10FFFF || (Key >= 0xD800 && Key < 0xE000))
        return;
    std::string Typed;
    AppendUtf8(Typed, Key);
    UserReplace(Typed);
    Key = 0;
}

void TEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        // Without AutoSelect the box keeps its selection when Tab brings the focus.
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FAutoSelect ? DLGC_HASSETSEL : 0);
        return;
    case EM_SETSEL:
        FAnchor = ByteOf(int(Message.WParam));
        MoveCaret(Message.LParam < 0 ? FText.size() : ByteOf(Message.LParam), true);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FSelecting = false;
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}
