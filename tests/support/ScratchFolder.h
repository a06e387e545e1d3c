#pragma once

// A folder of its own for a test's files, removed with everything in it when the test ends. Names
// and paths are UTF-8, as the framework takes them on every port.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

inline std::filesystem::path Utf8Path(const std::string& Utf8)
{
    return std::filesystem::path(std::u8string(Utf8.begin(), Utf8.end()));
}

// The whole contents of a file; empty when it cannot be read.
inline TBytes FileContents(const std::string& Path)
{
    std::ifstream In(Utf8Path(Path), std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

inline TBytes RandomBytes(std::size_t Size, unsigned Seed)
{
    std::mt19937 Rng(Seed);
    TBytes B(Size);
    std::generate(B.begin(), B.end(), [&] { return static_cast<std::uint8_t>(Rng()); });
    return B;
}

class TScratchFolder
{
public:
    TScratchFolder()
    {
        std::random_device Seed;
        const auto Temp = std::filesystem::temp_directory_path();
        do
            FPath = Temp / ("nixie-test-" + std::to_string(Seed()));
        while (!std::filesystem::create_directory(FPath));
    }
    ~TScratchFolder()
    {
        std::error_code Ignored;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, Ignored);
        std::filesystem::remove_all(FPath, Ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string GetPath() const { return Text(FPath); }
    std::string operator/(const std::string& Name) const { return Text(FPath / Utf8Path(Name)); }

    // A file of these bytes in the folder; its path.
    std::string Make(const std::string& Name, const TBytes& Bytes) const
    {
        const std::string Path = *this / Name;
        std::ofstream(Utf8Path(Path), std::ios::binary)
            .write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
        return Path;
    }
    // The names in the folder, sorted: what a save leaves behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> List;
        for (const auto& Entry : std::filesystem::directory_iterator(FPath))
            List.push_back(Text(Entry.path().filename()));
        std::sort(List.begin(), List.end());
        return List;
    }

private:
    static std::string Text(const std::filesystem::path& Path)
    {
        const std::u8string U = Path.u8string();
        return {U.begin(), U.end()};
    }

    std::filesystem::path FPath;
};
