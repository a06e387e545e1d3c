#pragma once

#include <string>
#include <vector>

// The headless port's private profile (INI) files, in memory. Files, sections and keys compare
// ASCII letters without regard to case. Reading behaves as GetPrivateProfileString: the value
// loses surrounding blanks and one pair of surrounding quotes, and the default loses trailing
// blanks.
class THeadlessProfiles
{
public:
    // File is the already resolved path.
    std::string Read(const std::string& File, const std::string& Section, const std::string& Key,
                     const std::string& Default) const;
    void Write(const std::string& File, const std::string& Section, const std::string& Key,
               const std::string& Value);
    bool HasFile(const std::string& File) const;
    void RemoveFile(const std::string& File);
    // The file as GetPrivateProfileString would find it on disk ("[Section]\r\nKey=Value\r\n").
    std::string GetFileText(const std::string& File) const;

private:
    struct TEntry
    {
        std::string Key;
        std::string Value;
    };
    struct TSection
    {
        std::string Name;
        std::vector<TEntry> Entries;
    };
    struct TFile
    {
        std::string Path; // folded
        std::vector<TSection> Sections;
    };

    const TFile* FindFile(const std::string& File) const;

    std::vector<TFile> FFiles;
};
