#include "controls/BinaryClock.h"

#include "base/Exception.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Resources.h"
#include "framework/objects/SysUtils.h"

#include <string>

namespace {

// The 18-pixel layouts draw the pictures as they are; every other height stretches them.
constexpr int LedPictureSize = 18;

std::unique_ptr<TBitmap> LoadLed(int Resource)
{
    const TResourceEntry* Entry = TResources::Find("bitmap", Resource);
    if (!Entry)
        throw EResNotFound("Resource " + std::to_string(Resource) + " not found");
    auto Led = std::make_unique<TBitmap>();
    Led->LoadFromResourceBytes(Entry->Data);
    return Led;
}

// Where the off picture of a colour lies among the declared pictures (its on picture follows).
std::size_t LedSlot(int Color)
{
    return std::size_t((Color + 1) % 4) * 2;
}

} // namespace

TBinaryClock::TBinaryClock(TComponent* AOwner) : TBinaryClock(AOwner, LedResources) {}

TBinaryClock::TBinaryClock(TComponent* AOwner, const TLedResources& Resources)
    : TCustomControl(AOwner)
{
    // Colour by colour, off before on. The pictures are owned from the moment they exist, so a
    // missing one frees those already loaded while the throw unwinds the half-made control.
    for (int Color = 0; Color < 4; ++Color) {
        const std::size_t Slot = LedSlot(Color);
        FLeds[Slot] = LoadLed(Resources[std::size_t(Color)].Off);
        FLeds[Slot + 1] = LoadLed(Resources[std::size_t(Color)].On);
    }
}

TBinaryClock::~TBinaryClock() = default;

void TBinaryClock::DeclareClass(TClassDeclaration<TBinaryClock>& D)
{
    // The inherited properties (mouse events, Font, DoubleBuffered, Anchors, Color) come from
    // the bases; the own ones declare the stored default 0, so Mode24 is written only when
    // non-zero and comes back as 1 when it was 0.
    D.Integer("LedColor", &TBinaryClock::GetLedColor, &TBinaryClock::SetLedColor);
    D.Integer("ModeShape", &TBinaryClock::GetModeShape, &TBinaryClock::SetModeShape);
    D.Integer("Mode24", &TBinaryClock::GetMode24, &TBinaryClock::SetMode24);
    D.Integer("ModeBcd", &TBinaryClock::GetModeBcd, &TBinaryClock::SetModeBcd);
    D.Integer("Type", &TBinaryClock::GetType, &TBinaryClock::SetType);
}

void BinaryClock::Register()
{
    RegisterComponents<TBinaryClock>("Additional");
}

// ---- Properties -----------------------------------------------------------------------------

// ---- Painting -------------------------------------------------------------------------------

TBinaryClock::TLedPair TBinaryClock::GetLedPair() const
{
    // Only 0 to 3 name a pair; any other value draws as colour 0 rather than pick no pictures.
    const int Color = FLedColor >= 0 && FLedColor <= 3 ? FLedColor : 0;
    const std::size_t Slot = LedSlot(Color);
    return {FLeds[Slot].get(), FLeds[Slot + 1].get()};
}

void TBinaryClock::Paint()
{
    const TLedPair Pair = GetLedPair();
    const TBitmap& On = *Pair.On;
    const TBitmap& Off = *Pair.Off;
    switch (FType) {
    case 0:
        PaintBig(On, Off);
        break;
    case 1:
        PaintSmall(On, Off);
        break;
    case 2:
        PaintTiny(On, Off);
        break;
    case 3:
        PaintHoriz(18, 18, 10, On, Off);
        break;
    case 4:
        PaintHoriz(9, 9, 4, On, Off);
        break;
    case 5:
        PaintHoriz(5, 5, 2, On, Off);
        break;
    default:
        break;
    }
}

void TBinaryClock::PaintBig(const TBitmap& On, const TBitmap& Off)
{
    PaintVertical(18, 18, 10, On, Off);
}

void TBinaryClock::PaintSmall(const TBitmap& On, const TBitmap& Off)
{
    PaintVertical(9, 9, 4, On, Off);
}

void TBinaryClock::PaintTiny(const TBitmap& On, const TBitmap& Off)
{
    PaintVertical(5, 5, 2, On, Off);
}

void TBinaryClock::ReadFields(int (&Fields)[3]) const
{
    const TLocalTime Now = CurrentLocalTime();
    int Hour = Now.Hour;
    if (FMode24 == 0 && Hour > 12)
        Hour -= 12;
    Fields[0] = Hour;
    Fields[1] = Now.Minute;
    Fields[2] = Now.Second;
}

void TBinaryClock::PaintVertical(int Width, int Height, int Gap, const TBitmap& On,
                                 const TBitmap& Off)
{
    TCanvas& Canvas = GetCanvas();
    Canvas.GetBrush().SetColor(GetColor());
    PaintBackground();
    int Fields[3];
    ReadFields(Fields);
    for (int Field = 0; Field < 3; ++Field)
        PaintBinary(Canvas, Field * (2 * Width + Gap), 0, Fields[Field], Width, Height, On, Off);
}

void TBinaryClock::PaintHoriz(int Width, int Height, int Gap, const TBitmap& On, const TBitmap& Off)
{
    TCanvas& Canvas = GetCanvas();
    Canvas.GetBrush().SetColor(GetColor());
    PaintBackground();
    int Fields[3];
    ReadFields(Fields);
    for (int Field = 0; Field < 3; ++Field)
        PaintHBinary(Canvas, Field * (8 * Width + Gap), 0, Fields[Field], Width, Height, On, Off);
}

void TBinaryClock::PaintBinary(TCanvas& Canvas, int X, int Y, int Value, int Width, int Height,
                               const TBitmap& On, const TBitmap& Off)
{
    int Mask = 0x80;
    for (int Column = 0; Column < 2; ++Column) {
        // BCD: a decimal digit a column, weights 8 to 1. Plain: the mask runs on from column 0
        // into column 1, so the columns hold bits 7 to 4 and 3 to 0.
        int Digit = Value;
        if (FModeBcd != 0) {
            Mask = 8;
            Digit = Column == 0 ? Value / 10 : Value % 10;
        }
        for (int Row = 0; Row < 4; ++Row) {
            const int CellX = X + Column * Width;
            const int CellY = Y + Row * Height;
            PaintLed(Canvas, CellX, CellY, Width, Height, (Digit & Mask) != 0, On, Off);
            Mask >>= 1;
            switch (FModeShape) {
            case 1:
                PaintSquareFrame(Canvas, CellX, CellY, Width, Height);
                break;
            case 2:
                PaintOffsetFrame(Canvas, CellX, CellY, Width, Height);
                break;
            case 3:
                PaintTriangles(Canvas, CellX, CellY, Width, Height);
                break;
            default:
                break;
            }
        }
    }
}

void TBinaryClock::PaintHBinary(TCanvas& Canvas, int X, int Y, int Value, int Width, int Height,
                                const TBitmap& On, const TBitmap& Off)
{
    int Mask = 0x80;
    for (int Position = 0; Position < 8; ++Position) {
        const int CellX = X + Position * Width;
        PaintLed(Canvas, CellX, Y, Width, Height, (Value & Mask) != 0, On, Off);
        // Rows take the frames only; the triangles belong to the columns.
        if (FModeShape == 1)
            PaintSquareFrame(Canvas, CellX, Y, Width, Height);
        else if (FModeShape == 2)
            PaintOffsetFrame(Canvas, CellX, Y, Width, Height);
        Mask >>= 1;
    }
}

void TBinaryClock::PaintLed(TCanvas& Canvas, int X, int Y, int Width, int Height, bool Lit,
                            const TBitmap& On, const TBitmap& Off)
{
    const TBitmap& Picture = Lit ? On : Off;
    if (Height == LedPictureSize)
        Canvas.Draw(X, Y, Picture);
    else
        Canvas.StretchDraw({X, Y, X + Width, Y + Height}, Picture);
}

void TBinaryClock::PaintBackground()
{
    GetCanvas().FillRect(GetClientRect());
}

// ---- Overlays -------------------------------------------------------------------------------
// Outlines in black with the canvas pen over the cell just drawn; a line's end point is left
// out, so each figure returns to its start to close.

namespace {

void PaintOutline(TCanvas& Canvas, int X, int Y, int Width, int Height)
{
    Canvas.MoveTo(X, Y);
    Canvas.LineTo(X + Width - 1, Y);
    Canvas.LineTo(X + Width - 1, Y + Height - 1);
    Canvas.LineTo(X, Y + Height - 1);
    Canvas.LineTo(X, Y);
}

// A triangle pointing up: its base from (X, Y) to the right, its apex a row above Y - Height.
void PaintTriangle(TCanvas& Canvas, int X, int Y, int Width, int Height)
{
    Canvas.MoveTo(X, Y);
    Canvas.LineTo(X + Width - 1, Y);
    Canvas.LineTo(X + Width / 2, Y - Height - 1);
    Canvas.LineTo(X, Y);
}

} // namespace

void TBinaryClock::PaintSquareFrame(TCanvas& Canvas, int X, int Y, int Width, int Height)
{
    Canvas.GetPen().SetColor(clBlack);
    for (int I = 0; I < Width / 4; ++I)
        PaintOutline(Canvas, X + I, Y + I, Width - 2 * I, Height - 2 * I);
}

void TBinaryClock::PaintOffsetFrame(TCanvas& Canvas, int X, int Y, int Width, int Height)
{
    Canvas.GetPen().SetColor(clBlack);
    for (int I = 0; I < Width / 6; ++I)
        PaintOutline(Canvas, X + I, Y + I, Width - 2 * I, Height - 2 * I);
    // The full width again, moved right: thick on the left, thin on the right, and the right
    // edges past the cell land on the next cell, which is drawn afterwards, or in the gap.
    for (int K = 0; K < Width / 3; ++K)
        PaintOutline(Canvas, X + K, Y + K, Width, Height - 2 * K);
}

void TBinaryClock::PaintTriangles(TCanvas& Canvas, int X, int Y, int Width, int Height)
{
    Canvas.GetPen().SetColor(clBlack);
    for (int I = 0; I < Width / 6; ++I)
        PaintTriangle(Canvas, X + I, Y + Height - I, Width - 2 * I, Height - 2 * I);
}
