#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/objects/Persistent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

class TPicture;
struct TResourceEntry;

using TPictureChangeEvent = std::function<void(TPicture* Sender)>;

// A palette handle; 0 is none. Pictures are true colour and never carry one.
using TPaletteHandle = std::uintptr_t;

// A holder of one optional graphic (a bitmap), which tells its owner of every change through
// OnChange. Copying goes through Assign, so that the copy notifies like every other change.
//
// In a form description a picture is either a reference to an embedded bitmap resource
// (`Picture = 71`, `Picture = FaceNixieLarge`), written back as long as the bitmap still holds
// exactly that resource's pixels, or its BMP bytes in the binary property Data.
class TPicture : public TPersistent
{
    PUBLISHED_CLASS(TPicture, TPersistent)

    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    ~TPicture() override;

    // The graphic, or null when the picture holds none.
    TBitmap* GetGraphic() { return FBitmap.get(); }
    const TBitmap* GetGraphic() const { return FBitmap.get(); }
    bool HasGraphic() const { return FBitmap != nullptr; }
    // The graphic as a bitmap; a picture without one gets an empty bitmap first (and notifies).
    // Whoever then changes the bitmap's pixels in place calls Changed.
    TBitmap& GetBitmap();

    // The graphic's size in pixels; 0 without a graphic.
    int GetWidth() const { return FBitmap ? FBitmap->GetWidth() : 0; }
    int GetHeight() const { return FBitmap ? FBitmap->GetHeight() : 0; }

    // Copies the graphic (and the resource it came from) of a TPicture Source; a null Source or
    // one without a graphic leaves this picture without one. Other sources: EConvertError.
    void Assign(const TPersistent* Source) override;
    void SetBitmap(const TBitmap& Bitmap);
    // Drops the graphic.
    void Clear();

    // Loading replaces the graphic only when decoding succeeded; on failure the exception
    // (EFileError, EInvalidGraphic) leaves the picture as it was and raises no change.
    void LoadFromBytes(std::span<const std::uint8_t> Data);
    void LoadFromFile(const std::string& Path);
    // A picture without a graphic has nothing to save and throws EInvalidGraphic.
    void SaveToFile(const std::string& Path) const;

    // Loads the embedded bitmap resource that Reference names (its decimal number or its name)
    // and remembers it; false for an empty Reference. A reference to a resource the program
    // lacks is an EReadError naming it, one that cannot be decoded an EInvalidGraphic; either
    // leaves the picture as it was.
    bool ReadReference(std::string_view Reference) override;
    // The resource last read, spelled as its number or its name, while the graphic still holds
    // exactly its pixels; empty once the picture was changed otherwise.
    std::string GetReference() const override;

    TPaletteHandle GetPalette() const { return 0; }

    const TPictureChangeEvent& GetOnChange() const { return FOnChange; }
    void SetOnChange(TPictureChangeEvent Handler) { FOnChange = std::move(Handler); }
    // Raises OnChange; the picture no longer stands for the resource it was read from.
    void Changed();

protected:
    // Data: the graphic as a BMP file (an empty block for an empty bitmap), written when the
    // picture holds a graphic that no resource reference stands for.
    void DefineProperties(TFiler& Filer) override;

private:
    void Replace(std::unique_ptr<TBitmap> Bitmap);
    void Notify();

    std::unique_ptr<TBitmap> FBitmap;
    std::string FReference;
    TPictureChangeEvent FOnChange;
};

// The embedded resource of Kind that a form description's Reference names: a positive decimal
// number (the resource id) or a name, matched without regard to case. Null when there is none;
// resources without a number (id 0) are found by name only.
const TResourceEntry* FindResourceReference(std::string_view Kind, std::string_view Reference);
