#include "framework/Bitmap.h"

#include "framework/Canvas.h"
#include "framework/Exception.h"

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int Width, int Height, TPixelFormat Format) : FPixelFormat(Format)
{
    SetSize(Width, Height);
}

TBitmap::TBitmap(const TBitmap& Other)
    : FWidth(Other.FWidth), FHeight(Other.FHeight), FPixelFormat(Other.FPixelFormat),
      FTransparent(Other.FTransparent), FPixels(Other.FPixels)
{}

TBitmap& TBitmap::operator=(const TBitmap& Other)
{
    // The canvas stays: it draws on this bitmap whatever pixels it holds.
    FWidth = Other.FWidth;
    FHeight = Other.FHeight;
    FPixelFormat = Other.FPixelFormat;
    FTransparent = Other.FTransparent;
    FPixels = Other.FPixels;
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int Width, int Height)
{
    if (Width < 0 || Height < 0)
        throw EInvalidGraphic("Bitmap size must not be negative");
    if (Width == FWidth && Height == FHeight)
        return;
    std::vector<TPixel> Pixels(std::size_t(Width) * std::size_t(Height), ColorToPixel(clWhite));
    const int KeepW = std::min(Width, FWidth);
    const int KeepH = std::min(Height, FHeight);
    for (int Y = 0; Y < KeepH; ++Y)
        std::copy_n(GetScanLine(Y), KeepW, Pixels.data() + std::size_t(Y) * std::size_t(Width));
    FPixels = std::move(Pixels);
    FWidth = Width;
    FHeight = Height;
}

TColor TBitmap::GetPixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return clBlack;
    return PixelToColor(GetScanLine(Y)[X]);
}

void TBitmap::SetPixel(int X, int Y, TColor Color)
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return;
    GetScanLine(Y)[X] = ColorToPixel(Color);
}

TCanvas& TBitmap::GetCanvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(*this);
    return *FCanvas;
}
