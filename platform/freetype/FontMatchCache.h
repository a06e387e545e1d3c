#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>

// Remembers, in a small file of the user's cache folder, which font file fontconfig chose for a
// family and style, so that a later start can open that file without loading fontconfig's
// configuration (parsing it is most of a start-up's CPU). What is remembered is trusted only
// while the font configuration folders, fontconfig's own caches and the chosen file itself keep
// the modification times they had when it was written; anything else, a damaged file included,
// reads as nothing remembered.
class TFontMatchCache
{
public:
    struct TEntry
    {
        std::string File;
        int Index = 0;
        bool SyntheticBold = false;
        bool SyntheticItalic = false;
    };

    // An empty path remembers nothing.
    explicit TFontMatchCache(std::filesystem::path Path);

    // The cache file of this user: $XDG_CACHE_HOME/nixie/font-matches, or ~/.cache/... (empty
    // when neither is known).
    static std::filesystem::path DefaultPath();

    std::optional<TEntry> Find(const std::string& Family, unsigned Style);
    // Records a match and writes the file again (atomically; a failure to write is ignored, the
    // next start simply asks fontconfig again).
    void Store(const std::string& Family, unsigned Style, const TEntry& Entry);

private:
    void Read();
    static std::string Fingerprint();

    std::filesystem::path FPath;
    bool FRead = false;
    std::string FFingerprint;
    std::map<std::pair<std::string, unsigned>, std::pair<TEntry, long long>> FEntries;
};
