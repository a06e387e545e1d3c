#include "framework/graphics/Picture.h"

#include "base/Exception.h"
#include "framework/objects/Filer.h"
#include "framework/objects/PropInfo.h"
#include "framework/objects/ResourceTable.h"
#include "framework/objects/Resources.h"
#include "framework/objects/Stream.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

bool SamePixels(const TBitmap& A, const TBitmap& B)
{
    return A.GetWidth() == B.GetWidth() && A.GetHeight() == B.GetHeight() &&
           A.GetPixelFormat() == B.GetPixelFormat() &&
           std::equal(A.GetPixels().begin(), A.GetPixels().end(), B.GetPixels().begin());
}

} // namespace

const TResourceEntry* FindResourceReference(std::string_view Kind, std::string_view Reference)
{
    if (Reference.empty())
        return nullptr;
    if (Reference.find_first_not_of("0123456789") == std::string_view::npos) {
        int Id = 0;
        const auto [End, Error] =
            std::from_chars(Reference.data(), Reference.data() + Reference.size(), Id);
        if (Error != std::errc() || End != Reference.data() + Reference.size() || Id <= 0)
            return nullptr;
        return TResources::Find(Kind, Id);
    }
    if (const TResourceEntry* Exact = TResources::FindByName(Reference))
        if (Kind == Exact->Kind)
            return Exact;
    for (const TResourceEntry& E : TResources::GetAll())
        if (Kind == E.Kind && SameIdent(E.Name, Reference))
            return &E;
    return nullptr;
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

TBitmap& TPicture::GetBitmap()
{
    if (!FBitmap)
        Replace(std::make_unique<TBitmap>());
    return *FBitmap;
}

void TPicture::Assign(const TPersistent* Source)
{
    if (Source == this) {
        Notify();
        return;
    }
    if (!Source) {
        Replace(nullptr);
        return;
    }
    const auto* Picture = dynamic_cast<const TPicture*>(Source);
    if (!Picture) {
        TPersistent::Assign(Source);
        return;
    }
    // The copy stands for the same resource as long as its source still does.
    std::string Reference = Picture->GetReference();
    FBitmap = Picture->FBitmap ? std::make_unique<TBitmap>(*Picture->FBitmap) : nullptr;
    FReference = std::move(Reference);
    Notify();
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

bool TPicture::ReadReference(std::string_view Reference)
{
    if (Reference.empty())
        return false;
    const TResourceEntry* Entry = FindResourceReference("bitmap", Reference);
    if (!Entry)
        throw EReadError("The program holds no bitmap resource " + std::string(Reference));
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromResourceBytes(Entry->Data);
    FBitmap = std::move(Bitmap);
    // Spelled as the form description spelled it: by number, or by the resource's own name.
    FReference =
        Entry->Id > 0 && Reference.find_first_not_of("0123456789") == std::string_view::npos
            ? std::to_string(Entry->Id)
            : std::string(Entry->Name);
    Notify();
    return true;
}

std::string TPicture::GetReference() const
{
    if (FReference.empty() || !FBitmap)
        return {};
    // Whoever edits the bitmap in place should call Changed, but a stale reference would lose
    // the edit on the next save: compare against the resource itself.
    const TResourceEntry* Entry = FindResourceReference("bitmap", FReference);
    if (!Entry)
        return {};
    TBitmap Original;
    try {
        Original.LoadFromResourceBytes(Entry->Data);
    } catch (const EInvalidGraphic&) {
        return {};
    }
    return SamePixels(Original, *FBitmap) ? FReference : std::string();
}

void TPicture::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    const bool HasData = Filer.IsWriting() && FBitmap && GetReference().empty();
    Filer.DefineBinaryProperty(
        "Data",
        [this](TStream& Stream) {
            std::vector<std::uint8_t> Bytes(std::size_t(Stream.GetRemaining()));
            Stream.ReadBuffer(Bytes.data(), Bytes.size());
            auto Bitmap = std::make_unique<TBitmap>();
            if (!Bytes.empty())
                Bitmap->LoadFromBytes(Bytes);
            Replace(std::move(Bitmap));
        },
        [this](TStream& Stream) {
            if (FBitmap && !FBitmap->Empty()) {
                const std::vector<std::uint8_t> Bytes = FBitmap->SaveToBytes();
                Stream.WriteBuffer(Bytes.data(), Bytes.size());
            }
        },
        HasData);
}

void TPicture::Changed()
{
    FReference.clear();
    Notify();
}

void TPicture::Replace(std::unique_ptr<TBitmap> Bitmap)
{
    FBitmap = std::move(Bitmap);
    FReference.clear();
    Notify();
}

void TPicture::Notify()
{
    if (FOnChange)
        FOnChange(this);
}
