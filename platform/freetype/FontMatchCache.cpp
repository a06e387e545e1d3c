#include "platform/freetype/FontMatchCache.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* Magic = "nixie-font-matches 1";

// A file's or folder's modification time in the file clock's ticks, -1 when it is not there.
long long ModTime(const fs::path& Path)
{
    std::error_code Error;
    const auto Time = fs::last_write_time(Path, Error);
    return Error ? -1 : static_cast<long long>(Time.time_since_epoch().count());
}

std::string Environment(const char* Name)
{
    const char* Value = std::getenv(Name);
    return Value ? Value : "";
}

// $Name, or Home/Fallback when it is unset or empty; empty when neither is known.
fs::path XdgFolder(const char* Name, const char* Fallback)
{
    if (std::string Value = Environment(Name); !Value.empty())
        return Value;
    if (std::string Home = Environment("HOME"); !Home.empty())
        return fs::path(Home) / Fallback;
    return {};
}

bool Storable(const std::string& S)
{
    return S.find_first_of("\t\n\r") == std::string::npos;
}

template <typename T>
bool ParseInteger(const std::string& Text, T& Value)
{
    const char* End = Text.data() + Text.size();
    const auto [Ptr, Error] = std::from_chars(Text.data(), End, Value);
    return Error == std::errc() && Ptr == End;
}

std::vector<std::string> SplitTabs(const std::string& Line)
{
    std::vector<std::string> Fields;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Tab = Line.find('\t', Start);
        Fields.push_back(Line.substr(Start, Tab - Start));
        if (Tab == std::string::npos)
            return Fields;
        Start = Tab + 1;
    }
}

} // namespace

TFontMatchCache::TFontMatchCache(fs::path Path) : FPath(std::move(Path)) {}

fs::path TFontMatchCache::DefaultPath()
{
    const fs::path Folder = XdgFolder("XDG_CACHE_HOME", ".cache");
    return Folder.empty() ? fs::path() : Folder / "nixie" / "font-matches";
}

// What fontconfig's choice depends on besides the request: its configuration files, the font
// folders, and its caches (rewritten by fc-cache when a font package is installed or removed).
std::string TFontMatchCache::Fingerprint()
{
    const fs::path Home = Environment("HOME");
    const fs::path UserConfig = XdgFolder("XDG_CONFIG_HOME", ".config") / "fontconfig";
    std::vector<fs::path> Watched = {"/etc/fonts",
                                     "/etc/fonts/fonts.conf",
                                     "/etc/fonts/conf.d",
                                     "/usr/share/fonts",
                                     "/usr/local/share/fonts",
                                     "/var/cache/fontconfig",
                                     UserConfig,
                                     UserConfig / "conf.d",
                                     UserConfig / "fonts.conf",
                                     XdgFolder("XDG_DATA_HOME", ".local/share") / "fonts",
                                     XdgFolder("XDG_CACHE_HOME", ".cache") / "fontconfig"};
    if (!Home.empty()) {
        Watched.push_back(Home / ".fonts");
        Watched.push_back(Home / ".fonts.conf");
    }
    std::ostringstream Out;
    for (const char* Name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT"})
        Out << Name << '=' << Environment(Name) << ';';
    for (const fs::path& Path : Watched)
        Out << Path.string() << '=' << ModTime(Path) << ';';
    std::string Result = Out.str();
    // One line in the file.
    for (char& C : Result)
        if (C == '\n' || C == '\r')
            C = ' ';
    return Result;
}

void TFontMatchCache::Read()
{
    FRead = true;
    if (FPath.empty())
        return;
    std::ifstream In(FPath);
    std::string Line;
    if (!std::getline(In, Line) || Line != Magic)
        return;
    if (!std::getline(In, Line) || Line != Fingerprint())
        return;
    FFingerprint = Line;
    while (std::getline(In, Line)) {
        const std::vector<std::string> F = SplitTabs(Line);
        TEntry Entry;
        unsigned Style = 0;
        int Bold = 0;
        int Italic = 0;
        long long Time = 0;
        if (F.size() != 7 || !ParseInteger(F[1], Style) || !ParseInteger(F[2], Entry.Index) ||
            !ParseInteger(F[3], Bold) || !ParseInteger(F[4], Italic) || !ParseInteger(F[5], Time) ||
            F[6].empty())
            continue;
        Entry.SyntheticBold = Bold != 0;
        Entry.SyntheticItalic = Italic != 0;
        Entry.File = F[6];
        FEntries[{F[0], Style}] = {Entry, Time};
    }
}

std::optional<TFontMatchCache::TEntry> TFontMatchCache::Find(const std::string& Family,
                                                             unsigned Style)
{
    if (!FRead)
        Read();
    const auto It = FEntries.find({Family, Style});
    if (It == FEntries.end() || ModTime(It->second.first.File) != It->second.second)
        return std::nullopt;
    return It->second.first;
}

void TFontMatchCache::Store(const std::string& Family, unsigned Style, const TEntry& Entry)
{
    if (FPath.empty() || Entry.File.empty() || !Storable(Family) || !Storable(Entry.File))
        return;
    if (!FRead)
        Read();
    // Measured now, after fontconfig has loaded: loading may have refreshed its own caches.
    const std::string Now = Fingerprint();
    if (Now != FFingerprint)
        FEntries.clear();
    FFingerprint = Now;
    FEntries[{Family, Style}] = {Entry, ModTime(Entry.File)};

    std::error_code Error;
    fs::create_directories(FPath.parent_path(), Error);
    // Another of our programs may be writing it at the same moment: each writes a file of its own.
    const fs::path Temporary = FPath.string() + "." + std::to_string(getpid());
    {
        std::ofstream Out(Temporary, std::ios::trunc);
        Out << Magic << '\n' << FFingerprint << '\n';
        for (const auto& [Key, Value] : FEntries) {
            const TEntry& E = Value.first;
            Out << Key.first << '\t' << Key.second << '\t' << E.Index << '\t'
                << int(E.SyntheticBold) << '\t' << int(E.SyntheticItalic) << '\t' << Value.second
                << '\t' << E.File << '\n';
        }
        if (!Out.flush())
            Error = std::make_error_code(std::errc::io_error);
    }
    if (!Error)
        fs::rename(Temporary, FPath, Error);
    if (Error)
        fs::remove(Temporary, Error);
}
