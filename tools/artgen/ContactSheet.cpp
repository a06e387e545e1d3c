#include "tools/artgen/ContactSheet.h"

#include "tools/artgen/ArtCatalog.h"
#include "tools/artgen/LedArt.h"
#include "tools/artgen/NixieDigitArt.h"
#include "tools/artgen/NixieFaceArt.h"
#include "tools/artgen/VfdDigitArt.h"
#include "tools/artgen/VfdFaceArt.h"

#include <algorithm>
#include <vector>

namespace {

constexpr TPixel SheetBackground = 0x34363A;

class TSheet
{
public:
    TSheet(int Width, int Height) : FSheet(Width, Height)
    {
        for (TPixel& P : FSheet.GetPixels())
            P = SheetBackground;
    }

    // Copies Picture scaled up by Scale with its top-left corner at (X, Y).
    void Place(const TBitmap& Picture, int X, int Y, int Scale)
    {
        for (int PY = 0; PY < Picture.GetHeight() * Scale; ++PY)
            for (int PX = 0; PX < Picture.GetWidth() * Scale; ++PX)
                Put(X + PX, Y + PY, Picture.GetScanLine(PY / Scale)[PX / Scale]);
    }

    // A desktop-like backdrop: a soft diagonal gradient.
    void Backdrop(int X, int Y, int Width, int Height)
    {
        for (int PY = 0; PY < Height; ++PY)
            for (int PX = 0; PX < Width; ++PX) {
                const int T = (PX * 255 / std::max(Width, 1) + PY * 255 / std::max(Height, 1)) / 2;
                const int R = 38 + T / 8;
                const int G = 84 + T / 5;
                const int B = 120 + T / 4;
                Put(X + PX, Y + PY, TPixel(R << 16 | G << 8 | B));
            }
    }

    TBitmap& Get() { return FSheet; }

private:
    void Put(int X, int Y, TPixel P)
    {
        if (X >= 0 && Y >= 0 && X < FSheet.GetWidth() && Y < FSheet.GetHeight())
            FSheet.GetScanLine(Y)[X] = P;
    }

    TBitmap FSheet;
};

TBitmap Paint(const char* Name)
{
    for (const TArtResource& R : ArtResources())
        if (std::string(R.Name) == Name)
            return R.Paint();
    return {};
}

// The face as the window shows it: lit digits drawn over the face (stretched the canvas's way
// where the style asks for it), black left out so the backdrop shows through.
TBitmap ClockWindow(const TBitmap& Face, const TDigitLayout& Layout, const TBitmap& Strip,
                    int CellWidth, int CellHeight, const int (&Digits)[6])
{
    TBitmap Window = Face;
    std::vector<bool> Outline(std::size_t(Face.GetWidth()) * std::size_t(Face.GetHeight()));
    for (int Y = 0; Y < Face.GetHeight(); ++Y)
        for (int X = 0; X < Face.GetWidth(); ++X)
            Outline[std::size_t(Y) * std::size_t(Face.GetWidth()) + std::size_t(X)] =
                (Face.GetScanLine(Y)[X] & 0xFFFFFF) != 0;
    for (int I = 0; I < 6; ++I) {
        const int CellX = (Digits[I] % StripCellsPerRow) * CellWidth;
        const int CellY = (Digits[I] / StripCellsPerRow) * CellHeight;
        for (int Row = 0; Row < Layout.Height; ++Row)
            for (int Col = 0; Col < Layout.Width; ++Col) {
                const int X = Layout.Columns[I] + Col;
                const int Y = Layout.Top + Row;
                if (X >= Face.GetWidth() || Y >= Face.GetHeight())
                    continue;
                const int SX = CellX + Col * CellWidth / Layout.Width;
                const int SY = CellY + Row * CellHeight / Layout.Height;
                Window.GetScanLine(Y)[X] = Strip.GetScanLine(SY)[SX];
            }
    }
    // Where the outline leaves the window, the desktop shows: mark it with a key colour.
    for (int Y = 0; Y < Face.GetHeight(); ++Y)
        for (int X = 0; X < Face.GetWidth(); ++X)
            if (!Outline[std::size_t(Y) * std::size_t(Face.GetWidth()) + std::size_t(X)])
                Window.GetScanLine(Y)[X] = 0xFF000000u;
    return Window;
}

void PlaceOnDesktop(TSheet& Sheet, const TBitmap& Window, int X, int Y, int Scale)
{
    Sheet.Backdrop(X, Y, Window.GetWidth() * Scale, Window.GetHeight() * Scale);
    for (int PY = 0; PY < Window.GetHeight() * Scale; ++PY)
        for (int PX = 0; PX < Window.GetWidth() * Scale; ++PX) {
            const TPixel P = Window.GetScanLine(PY / Scale)[PX / Scale];
            if (P != 0xFF000000u)
                Sheet.Get().GetScanLine(Y + PY)[X + PX] = P;
        }
}

TBitmap Stretch(const TBitmap& Source, int Width, int Height)
{
    TBitmap Result(Width, Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            Result.GetScanLine(Y)[X] =
                Source.GetScanLine(Y * Source.GetHeight() / Height)[X * Source.GetWidth() / Width];
    return Result;
}

} // namespace

TBitmap RenderContactSheet()
{
    const TBitmap NixieL = Paint("FaceNixieLarge");
    const TBitmap NixieS = Paint("FaceNixieSmall");
    const TBitmap VfdL = Paint("FaceVfdLarge");
    const TBitmap VfdS = Paint("FaceVfdSmall");
    const TBitmap Nixie = Paint("ImageListNixie");
    const TBitmap Blue = Paint("ImageListVfd");
    const TBitmap Cyan = Paint("ImageListVfdG");
    const TBitmap Red = Paint("ImageListVfdR");

    TSheet Sheet(1600, 3690);
    int Y = 16;
    // The four styles on a desktop, at 1x and 2x.
    const TBitmap W0 = ClockWindow(NixieL, NixieDigitLayout(true), Nixie, NixieCellWidth,
                                   NixieCellHeight, {1, 0, 5, 8, 3, 7});
    const TBitmap W1 = ClockWindow(NixieS, NixieDigitLayout(false), Nixie, NixieCellWidth,
                                   NixieCellHeight, {2, 3, 4, 9, 6, 1});
    const TBitmap W2 = ClockWindow(VfdL, VfdDigitLayout(true), Cyan, VfdCellWidth, VfdCellHeight,
                                   {0, 8, 4, 5, 2, 9});
    const TBitmap W3 = ClockWindow(VfdS, VfdDigitLayout(false), Red, VfdCellWidth, VfdCellHeight,
                                   {1, 10, 11, 12, 13, 14});
    const TBitmap W4 = ClockWindow(VfdL, VfdDigitLayout(true), Blue, VfdCellWidth, VfdCellHeight,
                                   {15, 7, 3, 6, 1, 0});
    PlaceOnDesktop(Sheet, W0, 16, Y, 1);
    PlaceOnDesktop(Sheet, W1, 336, Y, 1);
    PlaceOnDesktop(Sheet, W2, 506, Y, 1);
    PlaceOnDesktop(Sheet, W3, 907, Y, 1);
    PlaceOnDesktop(Sheet, W4, 1117, Y, 1);
    Y += 176;
    PlaceOnDesktop(Sheet, W0, 16, Y, 2);
    PlaceOnDesktop(Sheet, W2, 636, Y, 2);
    Y += 332;
    PlaceOnDesktop(Sheet, W1, 16, Y, 2);
    PlaceOnDesktop(Sheet, W3, 336, Y, 2);
    Y += 176;

    // Every picture at 1x.
    int X = 16;
    for (const TBitmap* B : {&NixieL, &NixieS, &VfdL, &VfdS}) {
        Sheet.Place(*B, X, Y, 1);
        X += B->GetWidth() + 16;
    }
    Y += 174;
    X = 16;
    for (const TBitmap* B : {&Nixie, &Blue, &Cyan, &Red}) {
        Sheet.Place(*B, X, Y, 1);
        X += B->GetWidth() + 16;
    }
    for (int Color = 0; Color < 4; ++Color)
        for (int On = 0; On < 2; ++On) {
            const TBitmap Led = PaintLed(LedHue(Color), On != 0);
            const int LX = X + (Color * 2 + On) * 26;
            Sheet.Place(Led, LX, Y, 1);
            Sheet.Place(Stretch(Led, 9, 9), LX, Y + 24, 1);
            Sheet.Place(Stretch(Led, 5, 5), LX, Y + 38, 1);
        }
    Y += 176;

    // Every picture at 4x.
    Sheet.Place(NixieL, 16, Y, 4);
    Y += 496;
    Sheet.Place(NixieS, 16, Y, 4);
    Sheet.Place(Nixie, 640, Y, 4);
    Y += 508;
    Sheet.Place(VfdL, 16, Y, 4);
    Y += 648;
    Sheet.Place(VfdS, 16, Y, 4);
    Y += 332;
    X = 16;
    for (const TBitmap* B : {&Blue, &Cyan, &Red}) {
        Sheet.Place(*B, X, Y, 4);
        X += B->GetWidth() * 4 + 16;
    }
    for (int Color = 0; Color < 4; ++Color)
        for (int On = 0; On < 2; ++On) {
            const TBitmap Led = PaintLed(LedHue(Color), On != 0);
            const int LX = X + On * 80;
            const int LY = Y + Color * 160;
            Sheet.Place(Led, LX, LY, 4);
            Sheet.Place(Stretch(Led, 9, 9), LX, LY + 76, 4);
            Sheet.Place(Stretch(Led, 5, 5), LX + 40, LY + 76, 4);
        }
    return Sheet.Get();
}
