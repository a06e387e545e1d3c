#pragma once

#include <string>
#include <vector>

// The headless port's private profile (INI) files, in memory, each kept as the text it would
// have on disk and read and changed as ProfileText.h says. New files get Windows line ends.
// File paths compare ASCII letters without regard to case.
class THeadlessProfiles
{
public:
    // File is the already resolved path.
    std::string Read(const std::string& File, const std::string& Section, const std::string& Key,
                     const std::string& Default) const;
    // False, and nothing changed, when a name or the value holds a line break.
    bool Write(const std::string& File, const std::string& Section, const std::string& Key,
               const std::string& Value);
    bool HasFile(const std::string& File) const;
    void RemoveFile(const std::string& File);
    std::string GetFileText(const std::string& File) const;

private:
    struct TFile
    {
        std::string Path; // folded
        std::string Text;
    };

    const TFile* FindFile(const std::string& File) const;

    std::vector<TFile> FFiles;
};
