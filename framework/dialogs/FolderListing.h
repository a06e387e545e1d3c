#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the file dialog shows of a folder: its sub-folders and its files, each sorted by name
// without regard to case. Names that start with '.' are hidden files and are left out. Names and
// paths are UTF-8.
struct TFolderListing
{
    std::vector<std::string> Folders;
    std::vector<std::string> Files;

    // Lists Folder; none, with the system's reason in Error, when it cannot be read.
    static std::optional<TFolderListing> Read(const std::string& Folder, std::string& Error);
    // The order of the lists: ASCII letters folded, then byte by byte.
    static bool NameLess(const std::string& A, const std::string& B);

    static std::filesystem::path ToPath(const std::string& Utf8);
    static std::string ToText(const std::filesystem::path& Path);
};
