#include "platform/headless/HeadlessProfiles.h"

#include "platform/common/FoldedNames.h"
#include "platform/common/ProfileText.h"

#include <algorithm>

namespace {
template <typename TFiles>
auto FindIn(TFiles& Files, const std::string& File)
{
    const std::string Folded = FoldName(File);
    auto It =
        std::find_if(Files.begin(), Files.end(), [&](const auto& F) { return F.Path == Folded; });
    return It == Files.end() ? nullptr : &*It;
}
} // namespace

const THeadlessProfiles::TFile* THeadlessProfiles::FindFile(const std::string& File) const
{
    return FindIn(FFiles, File);
}

bool THeadlessProfiles::HasFile(const std::string& File) const
{
    return FindFile(File) != nullptr;
}

void THeadlessProfiles::RemoveFile(const std::string& File)
{
    const std::string Folded = FoldName(File);
    std::erase_if(FFiles, [&](const TFile& F) { return F.Path == Folded; });
}

std::string THeadlessProfiles::Read(const std::string& File, const std::string& Section,
                                    const std::string& Key, const std::string& Default) const
{
    const TFile* F = FindFile(File);
    return ReadProfileText(F ? F->Text : std::string(), Section, Key, Default);
}

bool THeadlessProfiles::Write(const std::string& File, const std::string& Section,
                              const std::string& Key, const std::string& Value)
{
    TFile* Found = FindIn(FFiles, File);
    const std::optional<std::string> Changed =
        WriteProfileText(Found ? Found->Text : std::string(), Section, Key, Value, "\r\n");
    if (!Changed)
        return false;
    if (Found)
        Found->Text = *Changed;
    else
        FFiles.push_back({FoldName(File), *Changed});
    return true;
}

std::string THeadlessProfiles::GetFileText(const std::string& File) const
{
    const TFile* F = FindFile(File);
    return F ? F->Text : std::string();
}
