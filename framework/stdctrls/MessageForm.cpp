#include "framework/stdctrls/MessageForm.h"

#include "framework/graphics/Canvas.h"
#include "framework/stdctrls/Button.h"
#include "framework/windows/Application.h"

#include <algorithm>
#include <memory>

namespace {
// The byte index after the character that starts at I (UTF-8 continuation bytes skipped).
std::size_t NextCharacter(const std::string& S, std::size_t I)
{
    ++I;
    while (I < S.size() && (static_cast<unsigned char>(S[I]) & 0xC0) == 0x80)
        ++I;
    return I;
}

struct TButtonKind
{
    const char* Caption;
    int Result;
};

std::vector<TButtonKind> ButtonsFor(unsigned Type)
{
    switch (Type) {
    case MB_OKCANCEL:
        return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{"Abort", IDABORT}, {"Retry", IDRETRY}, {"Ignore", IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{"Yes", IDYES}, {"No", IDNO}, {"Cancel", IDCANCEL}};
    case MB_YESNO:
        return {{"Yes", IDYES}, {"No", IDNO}};
    case MB_RETRYCANCEL:
        return {{"Retry", IDRETRY}, {"Cancel", IDCANCEL}};
    default:
        return {{"OK", IDOK}};
    }
}
} // namespace

TMessageForm::TMessageForm(TComponent* AOwner, const std::string& Text, const std::string& Caption,
                           unsigned Flags)
    : TForm(AOwner), FFlags(Flags)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(Caption);
    const std::vector<TButtonKind> Kinds = ButtonsFor(Flags & MB_TYPEMASK);
    for (std::size_t I = 0; I < Kinds.size(); ++I) {
        auto* B = new TButton(this);
        B->SetCaption(Kinds[I].Caption);
        B->SetModalResult(Kinds[I].Result);
        B->SetTabOrder(int(I));
        B->SetParent(this);
        if (Kinds[I].Result == IDCANCEL || Kinds.size() == 1) {
            B->SetCancel(true);
            FCancelButton = B;
        }
        FButtons.push_back(B);
    }
    const std::size_t Default =
        std::min<std::size_t>((Flags & MB_DEFMASK) >> 8, FButtons.size() - 1);
    FDefaultButton = FButtons[Default];
    FDefaultButton->SetDefault(true);
    Layout(Text);
}

TMessageForm::~TMessageForm() = default;

std::vector<std::string>
TMessageForm::WrapText(const std::string& Text, int MaxWidth,
                       const std::function<int(const std::string&)>& Measure)
{
    std::vector<std::string> Lines;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t End = Text.find('\n', Start);
        std::string Paragraph = Text.substr(Start, End == std::string::npos ? End : End - Start);
        if (!Paragraph.empty() && Paragraph.back() == '\r')
            Paragraph.pop_back();
        std::string Line;
        std::size_t Pos = 0;
        while (Pos < Paragraph.size()) {
            const std::size_t WordEnd = std::min(Paragraph.find(' ', Pos), Paragraph.size());
            std::string Word = Paragraph.substr(Pos, WordEnd - Pos);
            Pos = WordEnd + 1;
            const std::string Joined = Line.empty() ? Word : Line + " " + Word;
            if (Measure(Joined) <= MaxWidth) {
                Line = Joined;
                continue;
            }
            if (!Line.empty())
                Lines.push_back(Line);
            // A word longer than the line goes in pieces, cut between whole characters.
            Line.clear();
            while (Measure(Word) > MaxWidth && NextCharacter(Word, 0) < Word.size()) {
                std::size_t Cut = 0;
                for (std::size_t Next = NextCharacter(Word, 0);
                     Next <= Word.size() && Measure(Word.substr(0, Next)) <= MaxWidth;
                     Next = NextCharacter(Word, Next))
                    Cut = Next;
                if (Cut == 0)
                    Cut = NextCharacter(Word, 0); // a character wider than the line, alone
                Lines.push_back(Word.substr(0, Cut));
                Word.erase(0, Cut);
            }
            Line = Word;
        }
        Lines.push_back(Line);
        if (End == std::string::npos)
            break;
        Start = End + 1;
    }
    return Lines;
}

void TMessageForm::Layout(const std::string& Text)
{
    TBitmap Scratch;
    TCanvas Canvas(Scratch);
    Canvas.SetFont(GetFont());
    FLines =
        WrapText(Text, MaxTextWidth, [&](const std::string& S) { return Canvas.TextWidth(S); });
    int TextWidth = 0;
    for (const std::string& L : FLines)
        TextWidth = std::max(TextWidth, Canvas.TextWidth(L));
    const int LineHeight = Canvas.TextHeight("Ag");
    const int TextHeight = LineHeight * int(FLines.size());

    const bool HasIcon = GetIcon() != 0;
    const int TextLeft = Margin + (HasIcon ? IconSize + Margin : 0);
    const int ContentHeight = std::max(TextHeight, HasIcon ? IconSize : 0);
    const int TextTop = Margin + (ContentHeight - TextHeight) / 2;
    FTextRect = TRect::FromSize(TextLeft, TextTop, TextWidth, TextHeight);

    const int Count = int(FButtons.size());
    const int RowWidth = Count * ButtonWidth + (Count - 1) * ButtonGap;
    const int ClientWidth = std::max({TextLeft + TextWidth + Margin, RowWidth + 2 * Margin, 150});
    const int ButtonTop = Margin + ContentHeight + Margin + 2;
    int X = (ClientWidth - RowWidth) / 2;
    for (TButton* B : FButtons) {
        B->SetBounds(X, ButtonTop, ButtonWidth, ButtonHeight);
        X += ButtonWidth + ButtonGap;
    }
    SetClientWidth(ClientWidth);
    SetClientHeight(ButtonTop + ButtonHeight + Margin);
    HandleNeeded(); // the frame is known now, so the box centres by its real size
}

int TMessageForm::Execute(const std::string& Text, const std::string& Caption, unsigned Flags)
{
    const auto Box = std::make_unique<TMessageForm>(nullptr, Text, Caption, Flags);
    const int Answer = Box->ShowModal();
    // A loop ended by the application's end used no button.
    for (TButton* B : Box->FButtons)
        if (B->GetModalResult() == Answer)
            return Answer;
    return Box->FCancelButton ? Box->FCancelButton->GetModalResult() : IDCANCEL;
}

void TMessageForm::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_CLOSE) {
        if (FCancelButton)
            SetModalResult(FCancelButton->GetModalResult());
        Message.Result = 0;
        return;
    }
    TForm::Dispatch(Message);
}

void TMessageForm::VisibleChanged()
{
    TForm::VisibleChanged();
    // The box opens with the focus on its default button, so Enter and Space both answer it.
    if (GetVisible())
        FDefaultButton->SetFocus();
}

// ---- Painting -------------------------------------------------------------------------------

void TMessageForm::PaintWindow(const TPaintContext& Context)
{
    TCanvas Canvas(*Context.Surface);
    PrepareControlCanvas(Canvas, Context, Context.Origin,
                         GetClientRect().Offset(Context.Origin.X, Context.Origin.Y));
    if (GetIcon())
        PaintIcon(Canvas, TRect::FromSize(Margin, Margin, IconSize, IconSize));
    Canvas.SetFont(GetFont());
    Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    const int LineHeight = FLines.empty() ? 0 : FTextRect.Height() / int(FLines.size());
    for (std::size_t I = 0; I < FLines.size(); ++I)
        Canvas.TextOut(FTextRect.Left, FTextRect.Top + int(I) * LineHeight, FLines[I]);
}

void TMessageForm::PaintIcon(TCanvas& Canvas, const TRect& Box)
{
    TBrush& Brush = Canvas.GetBrush();
    TPen& Pen = Canvas.GetPen();
    Brush.SetStyle(TBrushStyle::bsSolid);
    const int L = Box.Left, T = Box.Top;
    switch (GetIcon()) {
    case MB_ICONSTOP: {
        Pen.SetColor(RGB(128, 0, 0));
        Brush.SetColor(clRed);
        Canvas.Ellipse(Box);
        Brush.SetColor(clWhite);
        // A white cross, two pixels thick, corner to corner of the disc's inner square.
        for (int I = 0; I < 14; ++I) {
            Canvas.FillRect(TRect::FromSize(L + 9 + I, T + 9 + I, 2, 1));
            Canvas.FillRect(TRect::FromSize(L + 21 - I, T + 9 + I, 2, 1));
        }
        break;
    }
    case MB_ICONWARNING: {
        Pen.SetColor(clBlack);
        Brush.SetColor(clYellow);
        const TPoint Corners[] = {{L + 16, T + 1}, {L + 31, T + 30}, {L + 1, T + 30}};
        Canvas.Polygon(Corners);
        Brush.SetColor(clBlack);
        Canvas.FillRect(TRect::FromSize(L + 15, T + 10, 3, 12));
        Canvas.FillRect(TRect::FromSize(L + 15, T + 24, 3, 3));
        break;
    }
    default: { // information and question: a blue disc with a white mark
        Pen.SetColor(clNavy);
        Brush.SetColor(clBlue);
        Canvas.Ellipse(Box);
        Brush.SetColor(clWhite);
        if (GetIcon() == MB_ICONQUESTION) {
            Canvas.FillRect(TRect::FromSize(L + 11, T + 7, 10, 3));
            Canvas.FillRect(TRect::FromSize(L + 19, T + 9, 3, 7));
            Canvas.FillRect(TRect::FromSize(L + 15, T + 15, 6, 3));
            Canvas.FillRect(TRect::FromSize(L + 15, T + 17, 3, 4));
            Canvas.FillRect(TRect::FromSize(L + 15, T + 23, 3, 3));
        } else {
            Canvas.FillRect(TRect::FromSize(L + 15, T + 7, 3, 3));
            Canvas.FillRect(TRect::FromSize(L + 15, T + 12, 3, 13));
        }
        break;
    }
    }
}
