#pragma once

#include "framework/Bitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class TPicture;

using TPictureChangeEvent = std::function<void(TPicture* Sender)>;

// A palette handle; 0 is none. Pictures are true colour and never carry one.
using TPaletteHandle = std::uintptr_t;

// A holder of one optional graphic (a bitmap), which tells its owner of every change through
// OnChange. Copying goes through Assign, so that the copy notifies like every other change.
class TPicture
{
public:
    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    ~TPicture();

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

    // Copies Source's graphic; a null Source or one without a graphic leaves this picture without
    // one.
    void Assign(const TPicture* Source);
    void SetBitmap(const TBitmap& Bitmap);
    // Drops the graphic.
    void Clear();

    // Loading replaces the graphic only when decoding succeeded; on failure the exception
    // (EFileError, EInvalidGraphic) leaves the picture as it was and raises no change.
    void LoadFromBytes(std::span<const std::uint8_t> Data);
    void LoadFromFile(const std::string& Path);
    // A picture without a graphic has nothing to save and throws EInvalidGraphic.
    void SaveToFile(const std::string& Path) const;

    TPaletteHandle GetPalette() const { return 0; }

    const TPictureChangeEvent& GetOnChange() const { return FOnChange; }
    void SetOnChange(TPictureChangeEvent Handler) { FOnChange = std::move(Handler); }
    // Raises OnChange.
    void Changed();

private:
    void Replace(std::unique_ptr<TBitmap> Bitmap);

    std::unique_ptr<TBitmap> FBitmap;
    TPictureChangeEvent FOnChange;
};
