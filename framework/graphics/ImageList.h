#pragma once

#include "base/Color.h"
#include "framework/graphics/Bitmap.h"
#include "framework/objects/Component.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TFormValue;
class TStream;

// A list of equally sized images, each with a mask, addressed by index in the order they were
// added. A mask marks each pixel of a cell transparent or opaque; as in a Win32 image list mask,
// white (1) is transparent and black (0) is opaque, and a transparent pixel is never drawn.
//
// As a component it publishes Width and Height (16 by default). Its images are stored after
// them either as `Bitmap = NAME` (or a number): the embedded image-strip resource they were
// loaded from, while they are unchanged since, or as the binary property Data, which holds the
// cell size, the image count, the strip of images and the strip of masks.
class TImageList : public TComponent
{
    PUBLISHED_CLASS(TImageList, TComponent)

    explicit TImageList(TComponent* AOwner = nullptr);
    TImageList(int Width, int Height);
    // A copy of the cell size, images and resource, without owner or name (as a bitmap is
    // copied); what it copies is Assign's.
    TImageList(const TImageList& Other);
    TImageList& operator=(const TImageList& Other);

    static void DeclareClass(TClassDeclaration<TImageList>& D);

    // Takes the cell size, images and resource of another image list; other sources are an
    // EConvertError.
    void Assign(const TPersistent* Source) override;

    // The cell size in pixels (16 x 16 by default). Changing it removes every image, since the
    // images held no longer fit the cells.
    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    void SetWidth(int Width) { SetSize(Width, FHeight); }
    void SetHeight(int Height) { SetSize(FWidth, Height); }
    void SetSize(int Width, int Height);

    int GetCount() const { return FPendingCount > 0 ? FPendingCount : int(FImages.size()); }
    void Clear();
    // Removes one image; the ones after it move up. An index the list does not hold does nothing.
    void Delete(int Index);

    // Appends the cells that Image holds side by side, left to right (as many as fit whole into
    // its width; a narrower image adds none). Mask pixels that PixelIsLight reads as light are
    // transparent; without a mask, or beyond its edges, a cell is opaque. Rows of a cell below an
    // image shorter than the cell are transparent. Returns the index of the first added image, or
    // -1 when none was added.
    int Add(const TBitmap& Image, const TBitmap* Mask);
    // As Add, with the pixels of MaskColor (an RGB or system colour) transparent.
    int AddMasked(const TBitmap& Image, TColor MaskColor);

    // Replaces the images by the cells of an image strip: CellsPerRow cells a row, rows top to
    // bottom. Count is the number of images the strip holds (its last row may be partly empty);
    // -1 takes every cell it has room for. Without a MaskStrip every cell is opaque; with one,
    // laid out as the strip, its light pixels are transparent (beyond its edges all is opaque). A
    // strip narrower than CellsPerRow cells, or too small for Count, throws EInvalidGraphic and
    // leaves the list as it was.
    void LoadFromStrip(const TBitmap& Strip, int CellsPerRow, int Count = -1,
                       const TBitmap* MaskStrip = nullptr);
    // The reverse: the images laid out CellsPerRow a row on white (transparent pixels white).
    void SaveToStrip(TBitmap& Strip, int CellsPerRow) const;
    // The masks in the same layout, as a 1-bit bitmap: white transparent (and where no image
    // is), black opaque.
    void SaveMaskToStrip(TBitmap& MaskStrip, int CellsPerRow) const;

    // Replaces the images by those of the embedded image-strip resource that Reference names
    // (its number or its name); the cell size becomes the strip's. A reference to a resource
    // the program lacks, or to one whose parameters are malformed, is an EReadError; a strip
    // that cannot be decoded an EInvalidGraphic; either leaves the list as it was. The strip is
    // cut into images when they are first needed: a list loaded and never drawn from costs
    // almost nothing.
    void LoadFromResource(std::string_view Reference);
    // The strip resource last loaded, as its number or name, while the images are unchanged
    // since; empty otherwise.
    const std::string& GetResourceReference() const { return FReference; }

    // Target becomes a cell-sized bitmap filled white with the image drawn at (0, 0) through its
    // mask. An index the list does not hold leaves the white cell. The pixel format of Target is
    // left as it was.
    void GetBitmap(int Index, TBitmap& Target) const;
    // Target becomes the cell-sized 1-bit mask of the image: white where transparent, black where
    // opaque (all white for an index the list does not hold).
    void GetMask(int Index, TBitmap& Target) const;
    // Draws the image with its top-left corner at (X, Y) through its mask, clipped to Target.
    void Draw(TBitmap& Target, int X, int Y, int Index) const;
    // The image itself when none of its pixels is transparent, so that drawing it is drawing the
    // cell GetBitmap would make, without making one; null otherwise and for an index the list
    // does not hold.
    const TBitmap* GetOpaqueImage(int Index) const;

protected:
    void DefineProperties(TFiler& Filer) override;

private:
    struct TImage
    {
        TBitmap Pixels;
        // One per pixel, top row first, 1 = transparent; empty when no pixel is.
        std::vector<std::uint8_t> Transparent;
        bool Opaque = true; // no pixel transparent

        // Sets Opaque from the mask, and drops a mask that has nothing transparent.
        void NoteOpaque();
        bool IsTransparent(std::size_t PixelIndex) const
        {
            return !Opaque && Transparent[PixelIndex];
        }
    };

    // The cells of a strip (see LoadFromStrip), checked first by CheckStrip, which gives their
    // count.
    int CheckStrip(const TBitmap& Strip, int CellsPerRow, int Count) const;
    std::vector<TImage> CutStrip(const TBitmap& Strip, int CellsPerRow, int Count,
                                 const TBitmap* MaskStrip) const;
    // The images, cut from the pending strip first if there is one.
    const std::vector<TImage>& Images() const;
    std::vector<TImage>& MutableImages();
    void DropPending();

    // Appends the cells of Image; Transparent(X, Y) tells the mask in Image coordinates.
    template <typename TMaskRule>
    int AddCells(const TBitmap& Image, TMaskRule Transparent);
    void ReadBitmapReference(const TFormValue& Value);
    void ReadData(TStream& Stream);
    void WriteData(TStream& Stream) const;

    int FWidth = 16;
    int FHeight = 16;
    mutable std::vector<TImage> FImages;
    std::string FReference;
    // A resource strip loaded but not yet cut: its pixels stay undecoded until then.
    mutable TBitmap FPendingStrip;
    mutable int FPendingCellsPerRow = 0;
    mutable int FPendingCount = 0;
};

// Registers the graphics classes that form descriptions create (TImageList) with the class
// registry. The application calls it once at start-up, before reading any form; calling it
// again does nothing.
void RegisterGraphicsClasses();
