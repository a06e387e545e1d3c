// THexEditor's painting: the rows of address, value cells and characters, the cursor mark and
// its blink, the polka-dot background, the ramped frame and separator bars, and the message
// screen. A data paint leaves behind what clicks and cursor movement need: the hit-test cells,
// the visible offsets, the rows painted and the row width.
#include "controls/VelmoraPanel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/WindowManager.h"
#include "hexedit/Hexcontrol.h"
#include "hexedit/Numbase.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int RampMaximum = 150;

// The C library's pseudo-random number modulo N; 0 when N is 0.
int Random(int N)
{
    return N == 0 ? 0 : std::rand() % N;
}

// The pen colour of the fixed-colour bands: no red, a ramped green, blue 210.
TColor BandColor(int Green)
{
    return RGB(0, std::uint8_t(Green % 256), 210);
}

// X moved on by Count cells of Width pixels, held far enough within int that the separators
// and borders after it still add safely.
int Advance(int X, std::int64_t Count, std::int64_t Width)
{
    constexpr std::int64_t Far = INT_MAX / 4;
    return int(std::clamp<std::int64_t>(X + Count * Width, -Far, Far));
}

} // namespace

// ---- Paint ----------------------------------------------------------------------------------

void THexEditor::Paint()
{
    TCanvas& Canvas = GetCanvas();
    // A blink step asks for the mark's pixels alone; the two lines of the mark cover all of them.
    if (FMessage.empty() && FMarkX >= 0) {
        const TRect Mark = CursorMarkRect();
        const TRect Clip = Canvas.GetClipRect();
        if (!Clip.IsEmpty() && Clip.Intersect(Mark) == Clip) {
            PaintCursor(FMarkShown);
            return;
        }
    }

    TBrush& Brush = Canvas.GetBrush();
    Brush.SetStyle(TBrushStyle::bsSolid);
    Brush.SetColor(GetColor());
    PaintBackground();
    // The brush style is the canvas's opaque-text flag: a clear brush lets the dots show
    // through the text.
    if (FPolkaDots > 0)
        Brush.SetStyle(TBrushStyle::bsClear);
    Canvas.SetFont(GetFont());

    if (!FMessage.empty()) {
        PaintMessage(FMessage);
        return;
    }
    // A group size below 1 divides nothing: it is refused like a line that groups do not fill.
    if (FBytesPerGroup < 1 || FBytesPerLine % FBytesPerGroup != 0) {
        PaintMessage(GroupMessage);
        return;
    }

    const TSize Cell = Canvas.TextExtent("A");
    FCharWidth = Cell.Width;
    // A face without height would never fill the client area.
    FCellHeight = std::max(Cell.Height, 1);

    const int Base = FScrollBar ? FScrollBar->GetPosition() * FBytesPerLine : 0;
    FFirstVisibleOffset = FTopOffset + Base;
    FPaintY = FirstRowY;
    FRowsPainted = 0;
    FRowWidthChanged = false;
    // A cursor outside the rows painted leaves no mark for the blink to draw.
    FMarkX = -1;
    const int Bottom = GetClientRect().Bottom;
    FClientRight = GetClientRect().Right;
    for (int R = 0; Bottom > FPaintY + FCellHeight; ++R) {
        FHitRow = FHitTest.FindOrAddRow(FPaintY, FPaintY + FCellHeight - 1, true);
        FHitRow->ClearRow();
        PaintRow(FTopOffset + Base + R * FBytesPerLine);
        FPaintY += FCellHeight;
        ++FRowsPainted;
        FLastVisibleOffset = FTopOffset + Base + (R + 1) * FBytesPerLine - 1;
    }
    FHitRow = nullptr;

    PaintFrame();
    if (FScrollBar && FScrollBar->GetLargeChange() != FRowsPainted)
        FScrollBar->SetLargeChange(FRowsPainted);
    if (FRowWidthChanged)
        OnRowWidthChange(this);
}

// ---- Rows -----------------------------------------------------------------------------------

TColor THexEditor::CellColor(int Offset, TColor Plain) const
{
    if (Offset == FCursorOffset)
        return FColorCursor;
    // A group change is recorded at the group's first offset only.
    return FChangeLog->HasChangeAt(Offset) ? FColorChange : Plain;
}

void THexEditor::UseInk(TColor Color)
{
    // Cells of one colour in a row set the font colour once, not once per cell.
    TFont& Font = GetCanvas().GetFont();
    if (Font.GetColor() != Color)
        Font.SetColor(Color);
}

bool THexEditor::PastRightEdge() const
{
    // Cells that start beyond the client area cannot be seen or clicked: they are passed over
    // at the character cell's pitch, so that a line of millions of bytes costs no more than one
    // that fits, and a row's width stays exact for the monospace fonts a hex view is shown in.
    return FPaintX >= FClientRight;
}

void THexEditor::PaintRow(int Offset)
{
    FPaintX = 0;
    PaintLeftBorder();
    PaintAddress(Offset);
    PaintAddrBytesSeperator();
    if (FBaseBytes == 10)
        PaintDecimalBytes(Offset);
    else
        PaintHexBytes(Offset);
    PaintBytesCharsSeperator();
    for (int J = 0; J < FBytesPerLine; ++J) {
        if (PastRightEdge()) {
            FPaintX = Advance(FPaintX, FBytesPerLine - J, FCharWidth);
            break;
        }
        const int O = Offset + J;
        const int CellX = FPaintX;
        UseInk(CellColor(O, FColorAscii));
        if (O < FSize)
            PaintChar(GetByte(O), FCharWidth);
        else
            PaintBlankChar();
        if (FHitRow)
            FHitRow->AddCell(CellX, FPaintX - 1, O, 1);
        if (FCursorPanel == 1 && O == FCursorOffset)
            PaintCharCursor(CellX, FPaintY);
    }
    PaintRightBorder();
    if (FPaintX != FRowWidth) {
        FRowWidth = FPaintX;
        FRowWidthChanged = true;
    }
}

void THexEditor::PaintHexBytes(int Offset)
{
    const int Group = GroupSize();
    FCellDigits = Group * 2;
    FDigitsPerCell = 2;
    FCellAdvance = 1;
    for (int J = 0; J < FBytesPerLine; ++J) {
        if (PastRightEdge()) {
            // Two digits a byte and a space after every group but the row's last.
            const int Spaces = (FBytesPerLine - 1) / Group - J / Group;
            FPaintX =
                Advance(Advance(FPaintX, FBytesPerLine - J, 2 * FCharWidth), Spaces, FCharWidth);
            break;
        }
        const int O = Offset + J;
        const int CellX = FPaintX;
        UseInk(CellColor(O, FColorByte));
        if (O < FSize)
            PaintByte(GetByte(O));
        else
            PaintBlankByte();
        if (FHitRow)
            FHitRow->AddCell(CellX, FPaintX - 1, O, 0);
        if ((J + 1) % Group == 0 && J != FBytesPerLine - 1)
            PaintSpace();
        if (FCursorPanel == 0 && O == FCursorOffset)
            PaintByteCursor(CellX, FPaintY, FDigitIndex);
    }
}

void THexEditor::PaintDecimalBytes(int Offset)
{
    const int Group = GroupSize();
    FCellDigits = FDigitsPerCell = DecimalDigits(Group);
    FCellAdvance = Group;
    for (int G = 0; G < FBytesPerLine / Group; ++G) {
        if (PastRightEdge()) {
            FPaintX = Advance(FPaintX, FBytesPerLine / Group - G,
                              std::int64_t(FCellDigits + 1) * FCharWidth);
            break;
        }
        const int O = Offset + G * Group;
        const int CellX = FPaintX;
        UseInk(CellColor(O, FColorByte));
        if (O < FSize) {
            // Big-endian from the group's first offset; bytes past the end count as 0.
            std::uint32_t Value = 0;
            for (int I = 0; I < Group; ++I)
                Value = (Value << 8) | GetByte(O + I);
            PaintDecimal(Value, FCellDigits);
        } else {
            PaintBlankDecimal();
        }
        if (FHitRow)
            FHitRow->AddCell(CellX, FPaintX - 1, O, 0);
        PaintSpace();
        if (FCursorPanel == 0 && O == FCursorOffset)
            PaintByteCursor(CellX, FPaintY, FDigitIndex);
    }
}

// ---- Cells ----------------------------------------------------------------------------------

void THexEditor::PaintText(const char* Text, int Length)
{
    TCanvas& Canvas = GetCanvas();
    const std::string_view View(Text, std::size_t(std::max(Length, 0)));
    const int Width = Canvas.TextOutWidth(FPaintX, FPaintY, View);
    FPaintX += Width;
}

void THexEditor::PaintHex(std::uint32_t Value, int Digits)
{
    char Text[40];
    PaintText(Text, std::snprintf(Text, sizeof Text, "%0*X", std::clamp(Digits, 0, 32), Value));
}

void THexEditor::PaintDecimal(std::uint32_t Value, int Digits)
{
    char Text[40];
    PaintText(Text, std::snprintf(Text, sizeof Text, "%0*u", std::clamp(Digits, 0, 32), Value));
}

void THexEditor::PaintChar(std::uint8_t Byte, int Width)
{
    // The byte is a character of the Latin-1 range, written in UTF-8 for the canvas.
    const auto C = std::uint8_t(FormatChar(Byte));
    char Text[2];
    int Length = 1;
    if (C < 0x80) {
        Text[0] = char(C);
    } else {
        Text[0] = char(0xC0 | (C >> 6));
        Text[1] = char(0x80 | (C & 0x3F));
        Length = 2;
    }
    const int Start = FPaintX;
    PaintText(Text, Length);
    if (Width != -1)
        FPaintX = Start + Width;
}

void THexEditor::PaintAddress(int Offset)
{
    // The address keeps the font's own colour, whatever the cells before it used.
    UseInk(GetFont().GetColor());
    if (FBaseOffset == 16)
        PaintHex(std::uint32_t(Offset), 8);
    else if (FBaseOffset == 10)
        PaintDecimal(std::uint32_t(Offset), 8);
}

void THexEditor::PaintAddrBytesSeperator()
{
    FAddrBytesSeparator = FPaintX;
    FPaintX += SeparatorWidth;
}

void THexEditor::PaintBytesCharsSeperator()
{
    FBytesCharsSeparator = FPaintX;
    FPaintX += SeparatorWidth;
}

// ---- Cursor ---------------------------------------------------------------------------------

void THexEditor::PaintByteCursor(int CellX, int RowY, int Digit)
{
    FMarkX = CellX + Digit * FCharWidth;
    FMarkY = RowY + FCellHeight - 2;
    FMarkWidth = FCharWidth;
    PaintCursor(true);
}

void THexEditor::PaintCharCursor(int CellX, int RowY)
{
    PaintByteCursor(CellX, RowY, 0);
}

void THexEditor::PaintCursor(bool Visible)
{
    if (FMarkX < 0)
        return;
    FMarkShown = Visible;
    TCanvas& Canvas = GetCanvas();
    TPen& Pen = Canvas.GetPen();
    const TColor Saved = Pen.GetColor();
    Pen.SetColor(Visible ? clBlack : GetColor());
    Canvas.MoveTo(FMarkX, FMarkY);
    Canvas.LineTo(FMarkX + FMarkWidth, FMarkY);
    Canvas.MoveTo(FMarkX, FMarkY + 1);
    Canvas.LineTo(FMarkX + FMarkWidth, FMarkY + 1);
    Pen.SetColor(Saved);
}

TRect THexEditor::CursorMarkRect() const
{
    return {FMarkX, FMarkY, FMarkX + FMarkWidth, FMarkY + 2};
}

void THexEditor::AnimateCursor()
{
    if (FPolkaDots > 0)
        Invalidate();
    if (!FMessage.empty() || FCursorStyle == 1)
        return;
    if (++FBlinkPhase > 5)
        FBlinkPhase = 0;
    // The canvas draws only while the control paints, so the mark's pixels are asked for and
    // Paint draws the mark alone in its new state.
    FMarkShown = FBlinkPhase <= 2;
    if (FPolkaDots <= 0 && FMarkX >= 0 && HandleAllocated()) {
        const TRect Mark = CursorMarkRect();
        TWindowManager::Get().InvalidateRect(GetHandle(), &Mark, false);
    }
}

// ---- Background, frame and bars -------------------------------------------------------------

void THexEditor::PaintBackground()
{
    TCanvas& Canvas = GetCanvas();
    const TRect R = GetClientRect();
    Canvas.FillRect(R);
    if (FPolkaDots <= 0)
        return;
    TBrush& Brush = Canvas.GetBrush();
    TPen& Pen = Canvas.GetPen();
    const TColor SavedBrush = Brush.GetColor();
    const TColor SavedPen = Pen.GetColor();
    Brush.SetColor(DotColor);
    Pen.SetColor(DotColor);
    for (int I = 0; I < std::min(DotCount, FPolkaDots); ++I) {
        TPoint& P = FDotPosition[std::size_t(I)];
        TPoint& V = FDotVelocity[std::size_t(I)];
        P.X += V.X;
        P.Y += V.Y;
        if (P.X < R.Left || P.X > R.Right || P.Y < R.Top || P.Y > R.Bottom ||
            (V.X == 0 && V.Y == 0)) {
            // One draw after another, in this order: x, y, then the velocity's x and y.
            P.X = R.Left + Random(R.Right);
            P.Y = R.Top + Random(R.Bottom);
            V.X = Random(3) - 1;
            V.Y = Random(3) - 1;
        }
        Canvas.Ellipse(P.X, P.Y, P.X + 30, P.Y + 30);
    }
    Brush.SetColor(SavedBrush);
    Pen.SetColor(SavedPen);
}

void THexEditor::PaintFrame()
{
    const TRect R = GetClientRect();
    PaintRampFrame(GetCanvas(), R.Left, R.Top, R.Right, R.Bottom, FBarWidth, RampMaximum, FDoRed,
                   FDoGreen, FDoBlue);
    for (int Separator : {FAddrBytesSeparator, FBytesCharsSeparator}) {
        if (Separator < 0)
            continue;
        FPaintX = Separator;
        PaintVertBar(FBarWidth, SeparatorWidth);
    }
}

void THexEditor::PaintVertBar(int BarWidth, int CellWidth)
{
    PaintRampBar(GetCanvas(), FPaintX, BarWidth - 1, GetClientRect().Bottom - (BarWidth - 1),
                 BarWidth, CellWidth, FDoRed, FDoGreen, FDoBlue);
}

void THexEditor::PaintHorizBar(int Height)
{
    const int Half = Height / 2;
    // Below 2 there is no line to ramp over (and no step to divide by): nothing is drawn, but
    // the band still takes its height.
    if (Half >= 1) {
        TCanvas& Canvas = GetCanvas();
        TPen& Pen = Canvas.GetPen();
        const TColor Saved = Pen.GetColor();
        const int Step = RampMaximum / Half;
        const int Centre = FPaintY + Half - 1;
        const int Right = GetClientRect().Right;
        for (int I = 0; I < Half; ++I) {
            Pen.SetColor(BandColor(I * Step));
            Canvas.MoveTo(0, Centre - I);
            Canvas.LineTo(Right, Centre - I);
            Canvas.MoveTo(0, Centre + I);
            Canvas.LineTo(Right, Centre + I);
        }
        Pen.SetColor(Saved);
    }
    FPaintY += Height;
}

void THexEditor::PaintBar(int BarWidth, int CellWidth)
{
    const int Half = BarWidth / 2;
    // As PaintHorizBar: a width below 2 draws nothing and still takes its column.
    if (Half >= 1) {
        TCanvas& Canvas = GetCanvas();
        TPen& Pen = Canvas.GetPen();
        const TColor Saved = Pen.GetColor();
        const int Step = RampMaximum / Half;
        const int Centre = FPaintX + CellWidth / 2 - 1;
        for (int I = 0; I < Half; ++I) {
            Pen.SetColor(BandColor(I * Step));
            Canvas.MoveTo(Centre - I, FPaintY);
            Canvas.LineTo(Centre - I, FPaintY + FCellHeight);
            Canvas.MoveTo(Centre + I, FPaintY);
            Canvas.LineTo(Centre + I, FPaintY + FCellHeight);
        }
        Pen.SetColor(Saved);
    }
    FPaintX += CellWidth;
}

// ---- Message --------------------------------------------------------------------------------

void THexEditor::PaintMessage(const std::string& Text)
{
    constexpr int MaxLines = 10;
    std::string_view Lines[MaxLines];
    int Count = 0;
    std::string_view Rest = Text;
    while (Count < MaxLines && !Rest.empty()) {
        const std::size_t Feed = Rest.find('\n');
        Lines[Count++] = Rest.substr(0, Feed);
        Rest = Feed == std::string_view::npos ? std::string_view() : Rest.substr(Feed + 1);
    }

    FAddrBytesSeparator = FBytesCharsSeparator = -1;
    TCanvas& Canvas = GetCanvas();
    const TRect R = GetClientRect();
    for (int K = 0; K < Count; ++K) {
        const TSize Size = Canvas.TextExtent(std::string(Lines[K]));
        const int X = R.Left + (R.Width() - Size.Width) / 2;
        const int Y = R.Top + (R.Height() - Size.Height) / 2 + Size.Height * K;
        Canvas.TextOutWidth(X, Y, Lines[K]);
    }
    PaintFrame();
}
