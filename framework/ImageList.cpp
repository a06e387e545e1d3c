#include "framework/ImageList.h"

#include "framework/Exception.h"

#include <algorithm>
#include <string>

TImageList::TImageList(int Width, int Height)
{
    SetSize(Width, Height);
}

void TImageList::SetSize(int Width, int Height)
{
    if (Width < 1 || Height < 1)
        throw EInvalidGraphic("Image list cells must be at least 1 x 1 pixels, not " +
                              std::to_string(Width) + " x " + std::to_string(Height));
    if (Width == FWidth && Height == FHeight)
        return;
    FWidth = Width;
    FHeight = Height;
    FImages.clear();
}

void TImageList::Delete(int Index)
{
    if (Index >= 0 && Index < GetCount())
        FImages.erase(FImages.begin() + Index);
}

template <typename TMaskRule>
int TImageList::AddCells(const TBitmap& Image, TMaskRule Transparent)
{
    const int Cells = Image.GetWidth() / FWidth;
    if (Cells == 0 || Image.GetHeight() == 0)
        return -1;
    const int Rows = std::min(FHeight, Image.GetHeight());
    std::vector<TImage> Added(static_cast<std::size_t>(Cells));
    for (int C = 0; C < Cells; ++C) {
        TImage& Cell = Added[std::size_t(C)];
        Cell.Pixels = TBitmap(FWidth, FHeight);
        Cell.Transparent.assign(std::size_t(FWidth) * std::size_t(FHeight), 1);
        const int Left = C * FWidth;
        for (int Y = 0; Y < Rows; ++Y) {
            const TPixel* Src = Image.GetScanLine(Y) + Left;
            std::copy_n(Src, FWidth, Cell.Pixels.GetScanLine(Y));
            std::uint8_t* Mask = Cell.Transparent.data() + std::size_t(Y) * std::size_t(FWidth);
            for (int X = 0; X < FWidth; ++X)
                Mask[X] = Transparent(Left + X, Y) ? 1 : 0;
        }
    }
    const int First = GetCount();
    FImages.insert(FImages.end(), Added.begin(), Added.end());
    return First;
}

int TImageList::Add(const TBitmap& Image, const TBitmap* Mask)
{
    if (!Mask)
        return AddCells(Image, [](int, int) { return false; });
    // Outside the mask GetPixel reads black: opaque.
    return AddCells(
        Image, [Mask](int X, int Y) { return PixelIsLight(ColorToPixel(Mask->GetPixel(X, Y))); });
}

int TImageList::AddMasked(const TBitmap& Image, TColor MaskColor)
{
    const TPixel Key = ColorToPixel(MaskColor);
    return AddCells(Image, [&Image, Key](int X, int Y) {
        return (Image.GetScanLine(Y)[X] & 0x00FFFFFF) == Key;
    });
}

void TImageList::LoadFromStrip(const TBitmap& Strip, int CellsPerRow, int Count)
{
    if (CellsPerRow < 1)
        throw EInvalidGraphic("An image strip needs at least one cell a row");
    const std::string Geometry = std::to_string(Strip.GetWidth()) + " x " +
                                 std::to_string(Strip.GetHeight()) + " image strip";
    if (Strip.GetWidth() / FWidth < CellsPerRow)
        throw EInvalidGraphic("A " + Geometry + " is too narrow for " +
                              std::to_string(CellsPerRow) + " cells of " + std::to_string(FWidth) +
                              " pixels a row");
    const int Slots = Strip.GetHeight() / FHeight * CellsPerRow;
    if (Count < 0)
        Count = Slots;
    if (Count > Slots)
        throw EInvalidGraphic("A " + Geometry + " holds " + std::to_string(Slots) + " cells of " +
                              std::to_string(FWidth) + " x " + std::to_string(FHeight) + ", not " +
                              std::to_string(Count));
    std::vector<TImage> Images(static_cast<std::size_t>(Count));
    for (int I = 0; I < Count; ++I) {
        TImage& Cell = Images[std::size_t(I)];
        Cell.Pixels = TBitmap(FWidth, FHeight);
        Cell.Transparent.assign(std::size_t(FWidth) * std::size_t(FHeight), 0);
        const int Left = I % CellsPerRow * FWidth;
        const int Top = I / CellsPerRow * FHeight;
        for (int Y = 0; Y < FHeight; ++Y)
            std::copy_n(Strip.GetScanLine(Top + Y) + Left, FWidth, Cell.Pixels.GetScanLine(Y));
    }
    FImages = std::move(Images);
}

void TImageList::SaveToStrip(TBitmap& Strip, int CellsPerRow) const
{
    if (CellsPerRow < 1)
        throw EInvalidGraphic("An image strip needs at least one cell a row");
    const int Rows = (GetCount() + CellsPerRow - 1) / CellsPerRow;
    Strip.SetSize(0, 0);
    Strip.SetSize(CellsPerRow * FWidth, Rows * FHeight);
    for (int I = 0; I < GetCount(); ++I)
        Draw(Strip, I % CellsPerRow * FWidth, I / CellsPerRow * FHeight, I);
}

void TImageList::GetBitmap(int Index, TBitmap& Target) const
{
    // Emptying first makes SetSize fill every pixel white instead of keeping the old ones.
    Target.SetSize(0, 0);
    Target.SetSize(FWidth, FHeight);
    Draw(Target, 0, 0, Index);
}

void TImageList::GetMask(int Index, TBitmap& Target) const
{
    Target.SetSize(0, 0);
    Target.SetSize(FWidth, FHeight);
    Target.SetPixelFormat(TPixelFormat::pf1bit);
    if (Index < 0 || Index >= GetCount())
        return;
    const TImage& Image = FImages[std::size_t(Index)];
    for (int Y = 0; Y < FHeight; ++Y) {
        TPixel* Dst = Target.GetScanLine(Y);
        const std::uint8_t* Mask = Image.Transparent.data() + std::size_t(Y) * std::size_t(FWidth);
        for (int X = 0; X < FWidth; ++X)
            Dst[X] = Mask[X] ? ColorToPixel(clWhite) : ColorToPixel(clBlack);
    }
}

void TImageList::Draw(TBitmap& Target, int X, int Y, int Index) const
{
    if (Index < 0 || Index >= GetCount())
        return;
    const TImage& Image = FImages[std::size_t(Index)];
    // Clip in 64 bits, so that no coordinate near the ends of int can overflow.
    const auto Clip = [](long long Value, int Limit) {
        return int(std::clamp<long long>(Value, 0, Limit));
    };
    const long long TX = X, TY = Y;
    const int X0 = Clip(-TX, FWidth), X1 = Clip(Target.GetWidth() - TX, FWidth);
    const int Y0 = Clip(-TY, FHeight), Y1 = Clip(Target.GetHeight() - TY, FHeight);
    for (int SY = Y0; SY < Y1; ++SY) {
        const TPixel* Src = Image.Pixels.GetScanLine(SY);
        const std::uint8_t* Mask = Image.Transparent.data() + std::size_t(SY) * std::size_t(FWidth);
        TPixel* Dst = Target.GetScanLine(Y + SY);
        for (int SX = X0; SX < X1; ++SX)
            if (!Mask[SX])
                Dst[X + SX] = Src[SX];
    }
}
