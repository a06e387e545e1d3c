#include "framework/Picture.h"

#include "framework/Exception.h"

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

TBitmap& TPicture::GetBitmap()
{
    if (!FBitmap)
        Replace(std::make_unique<TBitmap>());
    return *FBitmap;
}

void TPicture::Assign(const TPicture* Source)
{
    if (Source == this) {
        Changed();
        return;
    }
    if (!Source || !Source->FBitmap)
        Replace(nullptr);
    else
        Replace(std::make_unique<TBitmap>(*Source->FBitmap));
}

void TPicture::SetBitmap(const TBitmap& Bitmap)
{
    Replace(std::make_unique<TBitmap>(Bitmap));
}

void TPicture::Clear()
{
    Replace(nullptr);
}

void TPicture::LoadFromBytes(std::span<const std::uint8_t> Data)
{
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromBytes(Data);
    Replace(std::move(Bitmap));
}

void TPicture::LoadFromFile(const std::string& Path)
{
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromFile(Path);
    Replace(std::move(Bitmap));
}

void TPicture::SaveToFile(const std::string& Path) const
{
    if (!FBitmap)
        throw EInvalidGraphic("The picture holds no graphic to save");
    FBitmap->SaveToFile(Path);
}

void TPicture::Changed()
{
    if (FOnChange)
        FOnChange(this);
}

void TPicture::Replace(std::unique_ptr<TBitmap> Bitmap)
{
    FBitmap = std::move(Bitmap);
    Changed();
}
