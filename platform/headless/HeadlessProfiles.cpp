#include "platform/headless/HeadlessProfiles.h"

#include "platform/headless/HeadlessNames.h"

#include <algorithm>

namespace {

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

std::string TrimBlanks(const std::string& S)
{
    std::size_t First = 0;
    std::size_t Last = S.size();
    while (First < Last && IsBlank(S[First]))
        ++First;
    while (Last > First && IsBlank(S[Last - 1]))
        --Last;
    return S.substr(First, Last - First);
}

template <typename T>
auto FindNamed(T& Items, const std::string& Name, auto Member)
{
    const std::string Folded = FoldName(Name);
    return std::find_if(Items.begin(), Items.end(),
                        [&](const auto& Item) { return FoldName(Item.*Member) == Folded; });
}

} // namespace

const THeadlessProfiles::TFile* THeadlessProfiles::FindFile(const std::string& File) const
{
    auto It = FindNamed(FFiles, File, &TFile::Path);
    return It == FFiles.end() ? nullptr : &*It;
}

bool THeadlessProfiles::HasFile(const std::string& File) const
{
    return FindFile(File) != nullptr;
}

void THeadlessProfiles::RemoveFile(const std::string& File)
{
    auto It = FindNamed(FFiles, File, &TFile::Path);
    if (It != FFiles.end())
        FFiles.erase(It);
}

std::string THeadlessProfiles::Read(const std::string& File, const std::string& Section,
                                    const std::string& Key, const std::string& Default) const
{
    std::string Trailing = Default;
    while (!Trailing.empty() && IsBlank(Trailing.back()))
        Trailing.pop_back();
    const TFile* F = FindFile(File);
    if (!F)
        return Trailing;
    auto S = FindNamed(F->Sections, Section, &TSection::Name);
    if (S == F->Sections.end())
        return Trailing;
    auto E = FindNamed(S->Entries, Key, &TEntry::Key);
    if (E == S->Entries.end())
        return Trailing;
    std::string Value = TrimBlanks(E->Value);
    if (Value.size() >= 2 && (Value.front() == '"' || Value.front() == '\'') &&
        Value.back() == Value.front())
        Value = Value.substr(1, Value.size() - 2);
    return Value;
}

void THeadlessProfiles::Write(const std::string& File, const std::string& Section,
                              const std::string& Key, const std::string& Value)
{
    auto F = FindNamed(FFiles, File, &TFile::Path);
    if (F == FFiles.end())
        F = FFiles.insert(FFiles.end(), TFile{FoldName(File), {}});
    auto S = FindNamed(F->Sections, Section, &TSection::Name);
    if (S == F->Sections.end())
        S = F->Sections.insert(F->Sections.end(), TSection{Section, {}});
    auto E = FindNamed(S->Entries, Key, &TEntry::Key);
    if (E == S->Entries.end())
        S->Entries.push_back(TEntry{Key, Value});
    else
        E->Value = Value;
}

std::string THeadlessProfiles::GetFileText(const std::string& File) const
{
    std::string Text;
    if (const TFile* F = FindFile(File))
        for (const TSection& S : F->Sections) {
            Text += "[" + S.Name + "]\r\n";
            for (const TEntry& E : S.Entries)
                Text += E.Key + "=" + E.Value + "\r\n";
        }
    return Text;
}
