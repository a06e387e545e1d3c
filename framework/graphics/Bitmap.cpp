#include "framework/graphics/Bitmap.h"

#include "base/Exception.h"
#include "framework/graphics/Canvas.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

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
    FDrawn = {0, 0, FWidth, FHeight};
    return *this;
}

TBitmap::~TBitmap() = default;

const std::vector<TPixel> TBitmap::NoPixels;

void TBitmap::Unshare()
{
    FPixels = std::make_shared<TPixelStore>(TPixelStore{Pixels(), {}});
}

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
        std::copy_n(std::as_const(*this).GetScanLine(Y), KeepW,
                    Pixels.data() + std::size_t(Y) * std::size_t(Width));
    FPixels = std::make_shared<TPixelStore>(TPixelStore{std::move(Pixels), {}});
    FWidth = Width;
    FHeight = Height;
    FDrawn = {0, 0, FWidth, FHeight};
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

// The device-independent bitmap codec. All sizes and offsets taken from the data are checked in 64
// bits against the data's length before anything is read, so a hostile header can neither make
// the decoder read past the buffer nor make it allocate more than the data can justify.
namespace {

constexpr std::uint32_t FileHeaderBytes = 14;
constexpr std::uint32_t InfoHeaderBytes = 40;
constexpr std::uint32_t V4HeaderBytes = 108;
constexpr std::uint32_t V5HeaderBytes = 124;

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_JPEG = 4;
constexpr std::uint32_t BI_PNG = 5;

// Pictures above this many pixels (a 16384 x 16384 square) are refused as implausible.
constexpr std::uint64_t MaxPixels = std::uint64_t(1) << 28;

// 96 dots per inch, in the pixels-per-metre of the info header.
constexpr std::int32_t PixelsPerMetre = 3780;

[[noreturn]] void Fail(const std::string& Why)
{
    throw EInvalidGraphic("Invalid bitmap: " + Why);
}

std::uint16_t ReadU16(std::span<const std::uint8_t> Data, std::size_t Offset)
{
    return std::uint16_t(Data[Offset] | (Data[Offset + 1] << 8));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> Data, std::size_t Offset)
{
    return std::uint32_t(Data[Offset]) | (std::uint32_t(Data[Offset + 1]) << 8) |
           (std::uint32_t(Data[Offset + 2]) << 16) | (std::uint32_t(Data[Offset + 3]) << 24);
}

std::int32_t ReadS32(std::span<const std::uint8_t> Data, std::size_t Offset)
{
    return std::int32_t(ReadU32(Data, Offset));
}

void PutU16(std::vector<std::uint8_t>& Out, std::uint32_t Value)
{
    Out.push_back(std::uint8_t(Value));
    Out.push_back(std::uint8_t(Value >> 8));
}

void PutU32(std::vector<std::uint8_t>& Out, std::uint32_t Value)
{
    PutU16(Out, Value & 0xFFFF);
    PutU16(Out, Value >> 16);
}

// Bytes of one stored row: whole 32-bit words.
std::uint64_t StrideBytes(std::uint64_t Width, unsigned BitCount)
{
    return (Width * BitCount + 31) / 32 * 4;
}

std::string CompressionName(std::uint32_t Compression)
{
    switch (Compression) {
    case BI_RLE8:
        return "RLE8";
    case BI_RLE4:
        return "RLE4";
    case BI_JPEG:
        return "JPEG";
    case BI_PNG:
        return "PNG";
    default:
        return "unknown (" + std::to_string(Compression) + ")";
    }
}

// What the headers say, validated.
struct TDibLayout
{
    int Width = 0;
    int Rows = 0;
    bool TopDown = false;
    unsigned BitCount = 0;
    std::uint64_t PixelOffset = 0; // of the first stored (bottom or top) row
    std::uint64_t Stride = 0;
    std::vector<TPixel> Palette; // indexed formats only
};

TDibLayout ReadLayout(std::span<const std::uint8_t> Data)
{
    const std::uint64_t Size = Data.size();
    std::uint64_t InfoOffset = 0;
    bool HasFileHeader = false;
    std::uint32_t OffBits = 0;
    if (Size >= 2 && Data[0] == 'B' && Data[1] == 'M') {
        if (Size < FileHeaderBytes)
            Fail("the file header is truncated (" + std::to_string(Size) + " of 14 bytes)");
        HasFileHeader = true;
        OffBits = ReadU32(Data, 10);
        InfoOffset = FileHeaderBytes;
    }
    if (Size < InfoOffset + 4)
        Fail(HasFileHeader ? "the info header is missing" : "too short to be a bitmap");
    const std::uint32_t HeaderSize = ReadU32(Data, InfoOffset);
    if (HeaderSize != InfoHeaderBytes && HeaderSize != V4HeaderBytes &&
        HeaderSize != V5HeaderBytes) {
        // Without the signature only a known header size (core 12, OS/2 64) says "bitmap".
        if (!HasFileHeader && HeaderSize != 12 && HeaderSize != 64)
            Fail("neither a BMP file nor a device-independent bitmap");
        Fail("info header of " + std::to_string(HeaderSize) +
             " bytes is not supported (40, 108 or 124)");
    }
    if (Size < InfoOffset + HeaderSize)
        Fail("the info header is truncated (" + std::to_string(Size - InfoOffset) + " of " +
             std::to_string(HeaderSize) + " bytes)");

    const std::int32_t Width = ReadS32(Data, InfoOffset + 4);
    const std::int32_t Height = ReadS32(Data, InfoOffset + 8);
    const std::uint16_t Planes = ReadU16(Data, InfoOffset + 12);
    const std::uint16_t BitCount = ReadU16(Data, InfoOffset + 14);
    const std::uint32_t Compression = ReadU32(Data, InfoOffset + 16);
    const std::uint32_t ClrUsed = ReadU32(Data, InfoOffset + 32);

    if (Planes != 1)
        Fail("the plane count is " + std::to_string(Planes) + ", not 1");
    if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 24 && BitCount != 32)
        Fail(std::to_string(BitCount) + " bits per pixel are not supported");
    if (Compression != BI_RGB && !(Compression == BI_BITFIELDS && BitCount == 32))
        Fail(CompressionName(Compression) + " compression is not supported for " +
             std::to_string(BitCount) + " bits per pixel");
    if (Width <= 0)
        Fail("the width is " + std::to_string(Width) + "; it must be positive");
    if (Height == 0 || Height == INT_MIN)
        Fail("the height is " + std::to_string(Height));
    const std::int64_t Rows = Height < 0 ? -std::int64_t(Height) : std::int64_t(Height);
    if (std::uint64_t(Width) * std::uint64_t(Rows) > MaxPixels)
        Fail(std::to_string(Width) + " x " + std::to_string(Rows) + " pixels is too large");

    // Colour masks: after a 40-byte header they take 12 bytes of their own; the larger headers
    // carry them inside.
    std::uint64_t TableOffset = InfoOffset + HeaderSize;
    if (Compression == BI_BITFIELDS) {
        const std::uint64_t MaskOffset = InfoOffset + InfoHeaderBytes;
        if (HeaderSize == InfoHeaderBytes) {
            if (Size < MaskOffset + 12)
                Fail("the colour masks run past the end of the data");
            TableOffset += 12;
        }
        const std::uint32_t R = ReadU32(Data, MaskOffset);
        const std::uint32_t G = ReadU32(Data, MaskOffset + 4);
        const std::uint32_t B = ReadU32(Data, MaskOffset + 8);
        if (R != 0x00FF0000 || G != 0x0000FF00 || B != 0x000000FF)
            Fail("only the colour masks of BGRX order are supported");
    }

    TDibLayout L;
    L.Width = Width;
    L.Rows = int(Rows);
    L.TopDown = Height < 0;
    L.BitCount = BitCount;
    L.Stride = StrideBytes(std::uint64_t(Width), BitCount);

    // The colour table: required for indexed formats, optional (and skipped) for the others.
    std::uint64_t TableEntries = ClrUsed;
    if (BitCount <= 8) {
        const std::uint32_t MaxEntries = 1u << BitCount;
        if (ClrUsed > MaxEntries)
            Fail("a colour table of " + std::to_string(ClrUsed) + " entries for " +
                 std::to_string(BitCount) + " bits per pixel");
        if (ClrUsed == 0)
            TableEntries = MaxEntries;
    }
    const std::uint64_t TableEnd = TableOffset + TableEntries * 4;
    if (BitCount <= 8) {
        if (TableEnd > Size)
            Fail("the colour table runs past the end of the data");
        L.Palette.resize(std::size_t(TableEntries));
        for (std::size_t I = 0; I < L.Palette.size(); ++I) {
            // RGBQUAD: blue, green, red, reserved; the same byte order as a TPixel's value.
            L.Palette[I] = ReadU32(Data, std::size_t(TableOffset + 4 * I)) & 0x00FFFFFF;
        }
    }

    if (HasFileHeader) {
        L.PixelOffset = OffBits;
        if (L.PixelOffset > Size)
            Fail("the pixel data offset " + std::to_string(OffBits) + " lies past the end (" +
                 std::to_string(Size) + " bytes)");
        if (L.PixelOffset < (BitCount <= 8 ? TableEnd : TableOffset))
            Fail("the pixel data offset " + std::to_string(OffBits) + " lies inside the headers");
    } else {
        L.PixelOffset = TableEnd;
    }
    const std::uint64_t Needed = L.Stride * std::uint64_t(Rows);
    if (L.PixelOffset > Size || Size - L.PixelOffset < Needed)
        Fail("the pixel data is truncated (" +
             std::to_string(L.PixelOffset > Size ? 0 : Size - L.PixelOffset) + " of " +
             std::to_string(Needed) + " bytes)");
    return L;
}

void DecodeRow(const std::uint8_t* Src, const TDibLayout& L, TPixel* Dst)
{
    switch (L.BitCount) {
    case 32:
        for (int X = 0; X < L.Width; ++X, Src += 4)
            Dst[X] = TPixel(Src[0]) | (TPixel(Src[1]) << 8) | (TPixel(Src[2]) << 16);
        break;
    case 24:
        for (int X = 0; X < L.Width; ++X, Src += 3)
            Dst[X] = TPixel(Src[0]) | (TPixel(Src[1]) << 8) | (TPixel(Src[2]) << 16);
        break;
    default: {
        // Indexed: the leftmost pixel sits in the most significant bits of its byte. An index
        // beyond a short colour table reads as black.
        const unsigned Bits = L.BitCount;
        const unsigned PerByte = 8 / Bits;
        const unsigned Mask = (1u << Bits) - 1;
        for (int X = 0; X < L.Width; ++X) {
            const unsigned Shift = 8 - Bits * (unsigned(X) % PerByte + 1);
            const unsigned Index = (Src[unsigned(X) / PerByte] >> Shift) & Mask;
            Dst[X] = Index < L.Palette.size() ? L.Palette[Index] : 0;
        }
        break;
    }
    }
}

std::vector<TPixel> DecodePixels(std::span<const std::uint8_t> Data, const TDibLayout& L)
{
    std::vector<TPixel> Pixels(std::size_t(L.Width) * std::size_t(L.Rows));
    for (int Row = 0; Row < L.Rows; ++Row) {
        const int Y = L.TopDown ? Row : L.Rows - 1 - Row;
        DecodeRow(Data.data() + L.PixelOffset + std::uint64_t(Row) * L.Stride, L,
                  Pixels.data() + std::size_t(Y) * std::size_t(L.Width));
    }
    return Pixels;
}

TPixelFormat FormatOf(const TDibLayout& L)
{
    // pf1bit is written back black and white: a 1-bit picture in other colours would lose them.
    const bool TwoTone = L.BitCount == 1 && std::ranges::all_of(L.Palette, [](TPixel P) {
                             return P == 0 || P == 0xFFFFFF;
                         });
    return L.BitCount == 24 ? TPixelFormat::pf24bit
           : TwoTone        ? TPixelFormat::pf1bit
                            : TPixelFormat::pf32bit;
}

} // namespace

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> Data)
{
    // Decoded before anything changes, so that a failure leaves the bitmap as it was and the
    // caller's bytes are never kept.
    std::vector<TPixel> Pixels = DecodePixels(Data, ReadLayout(Data));
    LoadFromResourceBytes(Data);
    FPixels->Pixels = std::move(Pixels);
    FPixels->Encoded = {};
}

void TBitmap::LoadFromResourceBytes(std::span<const std::uint8_t> Data)
{
    const TDibLayout L = ReadLayout(Data);
    FPixels = std::make_shared<TPixelStore>(TPixelStore{{}, Data});
    FWidth = L.Width;
    FHeight = L.Rows;
    FPixelFormat = FormatOf(L);
    FDrawn = {0, 0, FWidth, FHeight};
}

void TBitmap::Decode(TPixelStore& Store)
{
    // Checked when loaded, and the bytes cannot have changed since.
    Store.Pixels = DecodePixels(Store.Encoded, ReadLayout(Store.Encoded));
    Store.Encoded = {};
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const
{
    if (Empty())
        throw EInvalidGraphic("An empty bitmap cannot be saved");
    const unsigned BitCount = FPixelFormat == TPixelFormat::pf1bit    ? 1
                              : FPixelFormat == TPixelFormat::pf24bit ? 24
                                                                      : 32;
    const std::uint32_t TableBytes = BitCount == 1 ? 8 : 0;
    const std::uint64_t Stride = StrideBytes(std::uint64_t(FWidth), BitCount);
    const std::uint64_t ImageBytes = Stride * std::uint64_t(FHeight);
    const std::uint64_t OffBits = FileHeaderBytes + InfoHeaderBytes + TableBytes;
    if (OffBits + ImageBytes > UINT32_MAX)
        throw EInvalidGraphic("The bitmap is too large for the BMP format");

    std::vector<std::uint8_t> Out;
    Out.reserve(std::size_t(OffBits + ImageBytes));
    Out.push_back('B');
    Out.push_back('M');
    PutU32(Out, std::uint32_t(OffBits + ImageBytes));
    PutU32(Out, 0); // two reserved words
    PutU32(Out, std::uint32_t(OffBits));

    PutU32(Out, InfoHeaderBytes);
    PutU32(Out, std::uint32_t(FWidth));
    PutU32(Out, std::uint32_t(FHeight)); // positive: bottom-up
    PutU16(Out, 1);
    PutU16(Out, BitCount);
    PutU32(Out, BI_RGB);
    PutU32(Out, std::uint32_t(ImageBytes));
    PutU32(Out, std::uint32_t(PixelsPerMetre));
    PutU32(Out, std::uint32_t(PixelsPerMetre));
    PutU32(Out, BitCount == 1 ? 2 : 0); // colours used
    PutU32(Out, 0);                     // colours important
    if (BitCount == 1) {
        PutU32(Out, 0x00000000);
        PutU32(Out, 0x00FFFFFF);
    }

    for (int Y = FHeight - 1; Y >= 0; --Y) {
        const TPixel* Src = GetScanLine(Y);
        const std::size_t RowStart = Out.size();
        if (BitCount == 1) {
            for (int X = 0; X < FWidth; X += 8) {
                std::uint8_t Byte = 0;
                for (int B = 0; B < 8 && X + B < FWidth; ++B)
                    if (PixelIsLight(Src[X + B]))
                        Byte |= std::uint8_t(0x80 >> B);
                Out.push_back(Byte);
            }
        } else {
            for (int X = 0; X < FWidth; ++X) {
                Out.push_back(std::uint8_t(Src[X]));
                Out.push_back(std::uint8_t(Src[X] >> 8));
                Out.push_back(std::uint8_t(Src[X] >> 16));
                if (BitCount == 32)
                    Out.push_back(0);
            }
        }
        Out.resize(RowStart + std::size_t(Stride), 0);
    }
    return Out;
}

void TBitmap::LoadFromFile(const std::string& Path)
{
    // A path built from UTF-8 code units opens the right file on every system, Windows included.
    const std::filesystem::path FsPath(std::u8string(Path.begin(), Path.end()));
    std::ifstream In(FsPath, std::ios::binary);
    if (!In)
        throw EFileError("Cannot open \"" + Path + "\"");
    const std::vector<std::uint8_t> Data((std::istreambuf_iterator<char>(In)),
                                         std::istreambuf_iterator<char>());
    if (In.bad())
        throw EFileError("Cannot read \"" + Path + "\"");
    try {
        LoadFromBytes(Data);
    } catch (const EInvalidGraphic& E) {
        throw EInvalidGraphic(Path + ": " + E.GetMessage());
    }
}

void TBitmap::SaveToFile(const std::string& Path) const
{
    const std::vector<std::uint8_t> Data = SaveToBytes();
    const std::filesystem::path FsPath(std::u8string(Path.begin(), Path.end()));
    std::ofstream Out(FsPath, std::ios::binary | std::ios::trunc);
    if (!Out)
        throw EFileError("Cannot create \"" + Path + "\"");
    Out.write(reinterpret_cast<const char*>(Data.data()), std::streamsize(Data.size()));
    Out.close();
    if (!Out)
        throw EFileError("Cannot write \"" + Path + "\"");
}
