#pragma once

#include "base/Color.h"
#include "base/Rect.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TCanvas;

// The pixel format a bitmap reports and is written in. The pixels themselves are always held as
// 32-bit TPixel values (0x00RRGGBB), top row first; the format only says how the picture was
// stored and which path code that cares (the region builder) has to take. Palette pictures of 4
// and 8 bits load as pf32bit (true colour: no palette survives loading), and so do 1-bit ones
// with a colour other than black or white in their table; black and white ones as pf1bit.
enum class TPixelFormat
{
    pf1bit,
    pf24bit,
    pf32bit
};

// The two-colour reading of a pixel: true when it is nearer white than black. A pf1bit bitmap is
// written with this rule (true: bit 1, white) and image-list masks read it (true: transparent).
constexpr bool PixelIsLight(TPixel P)
{
    return ((P >> 16) & 0xFF) + ((P >> 8) & 0xFF) + (P & 0xFF) > 382;
}

// A 32-bit pixel surface with its own canvas, and the device-independent bitmap codec.
class TBitmap
{
public:
    TBitmap();
    TBitmap(int Width, int Height, TPixelFormat Format = TPixelFormat::pf32bit);
    TBitmap(const TBitmap& Other);
    TBitmap& operator=(const TBitmap& Other);
    ~TBitmap();

    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    // Resizing keeps the pixels that stay inside and fills new ones with white.
    void SetSize(int Width, int Height);
    void SetWidth(int Width) { SetSize(Width, FHeight); }
    void SetHeight(int Height) { SetSize(FWidth, Height); }

    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Format) { FPixelFormat = Format; }

    // Drawn with its transparent colour (the bottom-left pixel) left out; off by default.
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }

    // Copies share their pixels until one of them asks for them to write (any non-const access
    // below): a pointer taken so stays this bitmap's alone until the bitmap is copied again.
    TPixel* GetScanLine(int Y) { return OwnPixels().data() + std::size_t(Y) * std::size_t(FWidth); }
    const TPixel* GetScanLine(int Y) const
    {
        return Pixels().data() + std::size_t(Y) * std::size_t(FWidth);
    }
    std::span<TPixel> GetPixels() { return OwnPixels(); }
    std::span<const TPixel> GetPixels() const { return Pixels(); }

    // Colour access in 0x00BBGGRR; reads outside give black, writes outside do nothing.
    TColor GetPixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);

    TCanvas& GetCanvas();

    // The bounds of what canvases have drawn on the bitmap since ClearDrawnBounds, and all of it
    // after a resize or assignment: a copy of the pixels shown elsewhere needs comparing only
    // there. Pixels written straight through GetScanLine or GetPixels are not noted.
    const TRect& GetDrawnBounds() const { return FDrawn; }
    void NoteDrawn(const TRect& Rect) { FDrawn = FDrawn.Union(Rect); }
    void ClearDrawnBounds() { FDrawn = {}; }

    // Decodes a BMP file (with its 14-byte file header) or a bare DIB (starting at the info
    // header). Throws EInvalidGraphic with a clear message on malformed or truncated data; never
    // reads past Data. On failure the bitmap keeps what it held. Understood: info headers of 40,
    // 108 and 124 bytes; 1, 4 and 8 bits with a colour table; 24 and 32 bits uncompressed, and 32
    // bits with the masks of plain BGRX order; bottom-up and top-down rows. The unused byte of a
    // 32-bit pixel (alpha) is dropped. The transparent flag is left as it was.
    void LoadFromBytes(std::span<const std::uint8_t> Data);
    // As LoadFromBytes, for bytes that stay as they are for as long as the program runs (its
    // resources): the headers are checked now, with the same errors, and the pixels decoded only
    // when first asked for, so a picture nobody looks at takes no memory for them.
    void LoadFromResourceBytes(std::span<const std::uint8_t> Data);
    // Path is UTF-8. A file that cannot be read throws EFileError.
    void LoadFromFile(const std::string& Path);
    // Encodes a BMP file in the bitmap's pixel format (24-bit: bottom-up, 40-byte header, rows
    // padded to 4 bytes; 32-bit: the same with 4 bytes a pixel; 1-bit: a black and white colour
    // table, each pixel written as PixelIsLight reads it). The resolution fields always hold
    // 3780 pixels per metre (96 dpi), so the same pixels always give the same bytes. An empty
    // bitmap has no BMP form and throws EInvalidGraphic.
    std::vector<std::uint8_t> SaveToBytes() const;
    void SaveToFile(const std::string& Path) const;

private:
    // The pixels, shared between copies. Loaded from a resource, they stay encoded until first
    // asked for, and are decoded once for all the copies.
    struct TPixelStore
    {
        std::vector<TPixel> Pixels;
        std::span<const std::uint8_t> Encoded; // a resource's DIB while not yet decoded
    };

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = TPixelFormat::pf32bit;
    bool FTransparent = false;
    const std::vector<TPixel>& Pixels() const
    {
        if (!FPixels)
            return NoPixels;
        if (!FPixels->Encoded.empty())
            Decode(*FPixels);
        return FPixels->Pixels;
    }
    std::vector<TPixel>& OwnPixels()
    {
        if (!FPixels || FPixels.use_count() > 1 || !FPixels->Encoded.empty())
            Unshare();
        return FPixels->Pixels;
    }
    void Unshare();
    static void Decode(TPixelStore& Store);

    static const std::vector<TPixel> NoPixels;

    std::shared_ptr<TPixelStore> FPixels;
    TRect FDrawn;
    std::unique_ptr<TCanvas> FCanvas;
};
