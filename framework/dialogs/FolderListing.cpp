#include "framework/dialogs/FolderListing.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {
char Folded(char C)
{
    return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C;
}
} // namespace

fs::path TFolderListing::ToPath(const std::string& Utf8)
{
    return fs::path(std::u8string(Utf8.begin(), Utf8.end()));
}

std::string TFolderListing::ToText(const fs::path& Path)
{
    const std::u8string U = Path.u8string();
    return {U.begin(), U.end()};
}

bool TFolderListing::NameLess(const std::string& A, const std::string& B)
{
    const auto Less = [](char X, char Y) {
        return static_cast<unsigned char>(Folded(X)) < static_cast<unsigned char>(Folded(Y));
    };
    if (std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), Less))
        return true;
    if (std::lexicographical_compare(B.begin(), B.end(), A.begin(), A.end(), Less))
        return false;
    // Names that differ only in case keep one order, so the list does not shuffle.
    return A < B;
}

std::optional<TFolderListing> TFolderListing::Read(const std::string& Folder, std::string& Error)
{
    std::error_code Code;
    fs::directory_iterator It(ToPath(Folder), Code);
    TFolderListing Listing;
    for (; !Code && It != fs::directory_iterator(); It.increment(Code)) {
        const std::string Name = ToText(It->path().filename());
        if (Name.empty() || Name[0] == '.')
            continue;
        // A link counts as what it points to; one whose target is gone shows as a file.
        std::error_code Ignored;
        (It->is_directory(Ignored) ? Listing.Folders : Listing.Files).push_back(Name);
    }
    if (Code) {
        Error = Code.message();
        return std::nullopt;
    }
    std::sort(Listing.Folders.begin(), Listing.Folders.end(), NameLess);
    std::sort(Listing.Files.begin(), Listing.Files.end(), NameLess);
    return Listing;
}
