#include "framework/graphics/ImageList.h"

#include "base/Exception.h"
#include "framework/graphics/Picture.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Filer.h"
#include "framework/objects/FormValue.h"
#include "framework/objects/ResourceTable.h"
#include "framework/objects/Stream.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

// The Data block: a signature, the cell size, the image count and the cells a row of the two
// strips that follow, each a BMP file preceded by its length in bytes.
constexpr std::uint32_t DataSignature = 0x54534C49; // "ILST"
constexpr int DataCellsPerRow = 4;
// Far beyond any image list, yet small enough that width times height times count stays well
// inside the sizes a bitmap can hold.
constexpr std::uint32_t MaxDataCellPixels = 4096;
constexpr std::uint32_t MaxDataCount = 65536;

std::vector<std::uint8_t> ReadBlock(TStream& Stream, const char* What)
{
    const std::uint32_t Size = Stream.ReadUInt32();
    if (Size > Stream.GetRemaining())
        throw EReadError(std::string("The image list data is cut short in its ") + What);
    std::vector<std::uint8_t> Bytes(Size);
    Stream.ReadBuffer(Bytes.data(), Bytes.size());
    return Bytes;
}

void WriteBlock(TStream& Stream, const std::vector<std::uint8_t>& Bytes)
{
    Stream.WriteUInt32(std::uint32_t(Bytes.size()));
    Stream.WriteBuffer(Bytes.data(), Bytes.size());
}

} // namespace

void RegisterGraphicsClasses()
{
    RegisterClass<TImageList>();
}

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::TImageList(int Width, int Height) : TComponent(nullptr)
{
    SetSize(Width, Height);
}

TImageList::TImageList(const TImageList& Other) : TComponent(nullptr)
{
    Assign(&Other);
}

TImageList& TImageList::operator=(const TImageList& Other)
{
    Assign(&Other);
    return *this;
}

void TImageList::DeclareClass(TClassDeclaration<TImageList>& D)
{
    D.Integer("Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
    D.Integer("Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
}

void TImageList::Assign(const TPersistent* Source)
{
    const auto* List = dynamic_cast<const TImageList*>(Source);
    if (!List) {
        TComponent::Assign(Source);
        return;
    }
    if (List == this)
        return;
    FWidth = List->FWidth;
    FHeight = List->FHeight;
    FImages = List->FImages;
    FReference = List->FReference;
    FPendingStrip = List->FPendingStrip;
    FPendingCellsPerRow = List->FPendingCellsPerRow;
    FPendingCount = List->FPendingCount;
}

const std::vector<TImageList::TImage>& TImageList::Images() const
{
    if (FPendingCount > 0) {
        FImages = CutStrip(FPendingStrip, FPendingCellsPerRow, FPendingCount, nullptr);
        FPendingStrip = TBitmap();
        FPendingCount = 0;
    }
    return FImages;
}

std::vector<TImageList::TImage>& TImageList::MutableImages()
{
    Images();
    return FImages;
}

void TImageList::DropPending()
{
    FPendingStrip = TBitmap();
    FPendingCount = 0;
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
    Clear();
}

void TImageList::Clear()
{
    FImages.clear();
    DropPending();
    FReference.clear();
}

void TImageList::Delete(int Index)
{
    if (Index >= 0 && Index < GetCount()) {
        std::vector<TImage>& Images = MutableImages();
        Images.erase(Images.begin() + Index);
        FReference.clear();
    }
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
    for (TImage& Cell : Added)
        Cell.NoteOpaque();
    const int First = GetCount();
    std::vector<TImage>& Images = MutableImages();
    Images.insert(Images.end(), Added.begin(), Added.end());
    FReference.clear();
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

int TImageList::CheckStrip(const TBitmap& Strip, int CellsPerRow, int Count) const
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
    return Count;
}

std::vector<TImageList::TImage> TImageList::CutStrip(const TBitmap& Strip, int CellsPerRow,
                                                     int Count, const TBitmap* MaskStrip) const
{
    std::vector<TImage> Images(static_cast<std::size_t>(Count));
    for (int I = 0; I < Count; ++I) {
        TImage& Cell = Images[std::size_t(I)];
        Cell.Pixels = TBitmap(FWidth, FHeight);
        if (MaskStrip)
            Cell.Transparent.assign(std::size_t(FWidth) * std::size_t(FHeight), 0);
        const int Left = I % CellsPerRow * FWidth;
        const int Top = I / CellsPerRow * FHeight;
        for (int Y = 0; Y < FHeight; ++Y) {
            std::copy_n(Strip.GetScanLine(Top + Y) + Left, FWidth, Cell.Pixels.GetScanLine(Y));
            if (!MaskStrip)
                continue;
            std::uint8_t* Mask = Cell.Transparent.data() + std::size_t(Y) * std::size_t(FWidth);
            // Outside the mask GetPixel reads black: opaque.
            for (int X = 0; X < FWidth; ++X)
                Mask[X] = PixelIsLight(ColorToPixel(MaskStrip->GetPixel(Left + X, Top + Y)));
        }
        Cell.NoteOpaque();
    }
    return Images;
}

void TImageList::LoadFromStrip(const TBitmap& Strip, int CellsPerRow, int Count,
                               const TBitmap* MaskStrip)
{
    Count = CheckStrip(Strip, CellsPerRow, Count);
    std::vector<TImage> Images = CutStrip(Strip, CellsPerRow, Count, MaskStrip);
    DropPending();
    FImages = std::move(Images);
    FReference.clear();
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

void TImageList::SaveMaskToStrip(TBitmap& MaskStrip, int CellsPerRow) const
{
    if (CellsPerRow < 1)
        throw EInvalidGraphic("An image strip needs at least one cell a row");
    const int Rows = (GetCount() + CellsPerRow - 1) / CellsPerRow;
    MaskStrip.SetSize(0, 0);
    MaskStrip.SetSize(CellsPerRow * FWidth, Rows * FHeight);
    MaskStrip.SetPixelFormat(TPixelFormat::pf1bit);
    const TPixel Opaque = ColorToPixel(clBlack);
    for (int I = 0; I < GetCount(); ++I) {
        const TImage& Image = Images()[std::size_t(I)];
        const int Left = I % CellsPerRow * FWidth;
        const int Top = I / CellsPerRow * FHeight;
        for (int Y = 0; Y < FHeight; ++Y) {
            TPixel* Dst = MaskStrip.GetScanLine(Top + Y) + Left;
            const std::size_t Row = std::size_t(Y) * std::size_t(FWidth);
            for (int X = 0; X < FWidth; ++X)
                if (!Image.IsTransparent(Row + std::size_t(X)))
                    Dst[X] = Opaque;
        }
    }
}

void TImageList::LoadFromResource(std::string_view Reference)
{
    const TResourceEntry* Entry = FindResourceReference("strip", Reference);
    if (!Entry)
        throw EReadError("The program holds no image strip resource " + std::string(Reference));
    // The parameters: cell width, cell height, image count, cells a row.
    int Params[4] = {};
    const std::string_view Text = Entry->Parameters;
    std::size_t Pos = 0;
    for (int& P : Params) {
        Pos = Text.find_first_not_of(' ', Pos);
        if (Pos == std::string_view::npos)
            Pos = Text.size();
        const auto [End, Error] = std::from_chars(Text.data() + Pos, Text.data() + Text.size(), P);
        if (Error != std::errc() || P < 1)
            throw EReadError("The image strip resource " + std::string(Entry->Name) +
                             " has malformed parameters '" + std::string(Text) + "'");
        Pos = std::size_t(End - Text.data());
    }
    if (Text.find_first_not_of(' ', Pos) != std::string_view::npos)
        throw EReadError("The image strip resource " + std::string(Entry->Name) +
                         " has malformed parameters '" + std::string(Text) + "'");
    TBitmap Strip;
    Strip.LoadFromResourceBytes(Entry->Data);
    TImageList Loaded(Params[0], Params[1]);
    const int Count = Loaded.CheckStrip(Strip, Params[3], Params[2]);
    FWidth = Loaded.FWidth;
    FHeight = Loaded.FHeight;
    FImages.clear();
    FPendingStrip = Strip;
    FPendingCellsPerRow = Params[3];
    FPendingCount = Count;
    FReference =
        Entry->Id > 0 && Reference.find_first_not_of("0123456789") == std::string_view::npos
            ? std::to_string(Entry->Id)
            : std::string(Entry->Name);
}

void TImageList::DefineProperties(TFiler& Filer)
{
    TComponent::DefineProperties(Filer);
    const bool Writing = Filer.IsWriting();
    const bool ByReference = !FReference.empty();
    Filer.DefineProperty(
        "Bitmap", [this](const TFormValue& Value) { ReadBitmapReference(Value); },
        [this] {
            if (FReference.find_first_not_of("0123456789") == std::string::npos)
                return TFormValue::FromInteger(std::stoll(FReference));
            return TFormValue::FromIdent(FReference);
        },
        Writing && ByReference);
    Filer.DefineBinaryProperty(
        "Data", [this](TStream& Stream) { ReadData(Stream); },
        [this](TStream& Stream) { WriteData(Stream); }, Writing && !ByReference && GetCount() > 0);
}

void TImageList::ReadBitmapReference(const TFormValue& Value)
{
    if (Value.GetKind() == TFormValue::vkIdent)
        LoadFromResource(Value.GetText());
    else if (Value.GetKind() == TFormValue::vkInteger)
        LoadFromResource(std::to_string(Value.GetInteger()));
    else
        throw EReadError(std::string("An image strip resource name or number expected, not ") +
                         Value.DescribeKind());
}

void TImageList::ReadData(TStream& Stream)
{
    if (Stream.ReadUInt32() != DataSignature)
        throw EReadError("The image list data does not begin with its signature");
    const std::uint32_t Width = Stream.ReadUInt32();
    const std::uint32_t Height = Stream.ReadUInt32();
    const std::uint32_t Count = Stream.ReadUInt32();
    const std::uint32_t CellsPerRow = Stream.ReadUInt32();
    if (Width < 1 || Width > MaxDataCellPixels || Height < 1 || Height > MaxDataCellPixels)
        throw EReadError("The image list data gives cells of " + std::to_string(Width) + " x " +
                         std::to_string(Height) + " pixels");
    if (Count > MaxDataCount || CellsPerRow < 1 || CellsPerRow > MaxDataCount)
        throw EReadError("The image list data gives " + std::to_string(Count) + " images, " +
                         std::to_string(CellsPerRow) + " a row");
    const std::vector<std::uint8_t> ImageBytes = ReadBlock(Stream, "images");
    const std::vector<std::uint8_t> MaskBytes = ReadBlock(Stream, "masks");
    if (Stream.GetRemaining() != 0)
        throw EReadError("The image list data has " + std::to_string(Stream.GetRemaining()) +
                         " bytes more than it describes");
    TImageList Loaded(static_cast<int>(Width), static_cast<int>(Height));
    if (Count > 0) {
        TBitmap Strip, MaskStrip;
        Strip.LoadFromBytes(ImageBytes);
        MaskStrip.LoadFromBytes(MaskBytes);
        Loaded.LoadFromStrip(Strip, int(CellsPerRow), int(Count), &MaskStrip);
    } else if (!ImageBytes.empty() || !MaskBytes.empty()) {
        throw EReadError("The image list data holds strips but no images");
    }
    FWidth = Loaded.FWidth;
    FHeight = Loaded.FHeight;
    DropPending();
    FImages = std::move(Loaded.FImages);
    FReference.clear();
}

void TImageList::WriteData(TStream& Stream) const
{
    Stream.WriteUInt32(DataSignature);
    Stream.WriteUInt32(std::uint32_t(FWidth));
    Stream.WriteUInt32(std::uint32_t(FHeight));
    Stream.WriteUInt32(std::uint32_t(GetCount()));
    Stream.WriteUInt32(DataCellsPerRow);
    if (GetCount() == 0) {
        Stream.WriteUInt32(0);
        Stream.WriteUInt32(0);
        return;
    }
    // 24 bits hold every pixel exactly: the unused top byte of a TPixel is always 0.
    TBitmap Strip(1, 1, TPixelFormat::pf24bit);
    SaveToStrip(Strip, DataCellsPerRow);
    TBitmap MaskStrip;
    SaveMaskToStrip(MaskStrip, DataCellsPerRow);
    WriteBlock(Stream, Strip.SaveToBytes());
    WriteBlock(Stream, MaskStrip.SaveToBytes());
}

void TImageList::GetBitmap(int Index, TBitmap& Target) const
{
    // Emptying first makes SetSize fill every pixel white instead of keeping the old ones.
    Target.SetSize(0, 0);
    Target.SetSize(FWidth, FHeight);
    Draw(Target, 0, 0, Index);
}

const TBitmap* TImageList::GetOpaqueImage(int Index) const
{
    if (Index < 0 || Index >= GetCount() || !Images()[std::size_t(Index)].Opaque)
        return nullptr;
    return &FImages[std::size_t(Index)].Pixels;
}

void TImageList::TImage::NoteOpaque()
{
    Opaque = std::find(Transparent.begin(), Transparent.end(), 1) == Transparent.end();
    if (Opaque)
        std::vector<std::uint8_t>().swap(Transparent);
}

void TImageList::GetMask(int Index, TBitmap& Target) const
{
    Target.SetSize(0, 0);
    Target.SetSize(FWidth, FHeight);
    Target.SetPixelFormat(TPixelFormat::pf1bit);
    if (Index < 0 || Index >= GetCount())
        return;
    const TImage& Image = Images()[std::size_t(Index)];
    for (int Y = 0; Y < FHeight; ++Y) {
        TPixel* Dst = Target.GetScanLine(Y);
        const std::size_t Row = std::size_t(Y) * std::size_t(FWidth);
        for (int X = 0; X < FWidth; ++X)
            Dst[X] = Image.IsTransparent(Row + std::size_t(X)) ? ColorToPixel(clWhite)
                                                               : ColorToPixel(clBlack);
    }
}

void TImageList::Draw(TBitmap& Target, int X, int Y, int Index) const
{
    if (Index < 0 || Index >= GetCount())
        return;
    const TImage& Image = Images()[std::size_t(Index)];
    // Clip in 64 bits, so that no coordinate near the ends of int can overflow.
    const auto Clip = [](long long Value, int Limit) {
        return int(std::clamp<long long>(Value, 0, Limit));
    };
    const long long TX = X, TY = Y;
    const int X0 = Clip(-TX, FWidth), X1 = Clip(Target.GetWidth() - TX, FWidth);
    const int Y0 = Clip(-TY, FHeight), Y1 = Clip(Target.GetHeight() - TY, FHeight);
    for (int SY = Y0; SY < Y1; ++SY) {
        const TPixel* Src = Image.Pixels.GetScanLine(SY);
        TPixel* Dst = Target.GetScanLine(Y + SY);
        if (Image.Opaque) {
            std::copy(Src + X0, Src + X1, Dst + X + X0);
            continue;
        }
        const std::uint8_t* Mask = Image.Transparent.data() + std::size_t(SY) * std::size_t(FWidth);
        // A select rather than a branch: the loop then runs on whole vectors of pixels.
        for (int SX = X0; SX < X1; ++SX)
            Dst[X + SX] = Mask[SX] ? Dst[X + SX] : Src[SX];
    }
}
