#pragma once

#include <optional>
#include <string>
#include <string_view>

// File helpers of the X11 port. Paths are UTF-8 bytes, as the kernel takes them; the framework
// above writes Windows paths, so backslashes count as folder separators here.

// Path with every backslash made a slash.
std::string ToNativePath(const std::string& Path);

// The user's configuration folder: $XDG_CONFIG_HOME when it is absolute (the base directory
// rules ignore relative ones), else ~/.config. No trailing slash.
std::string GetConfigHome();

// The folder part of Path ("." when it has none).
std::string GetFolderOf(const std::string& Path);

// Creates Folder and the folders above it that are missing; true when it exists afterwards.
bool MakeFolders(const std::string& Folder, unsigned Mode);

// The whole file; empty optional when it cannot be read, with errno telling why (ENOENT: it
// does not exist).
std::optional<std::string> ReadWholeFile(const std::string& Path);

// Replaces the file with Bytes so that a reader sees either the old or the new file, never a
// part: the bytes go to a temporary file beside it, which is flushed to the disk and renamed
// over the old one. A new file gets Mode; an existing one keeps its permissions.
bool WriteFileAtomically(const std::string& Path, std::string_view Bytes, unsigned Mode);

// Removes what WriteFileAtomically left of Path when its writer died between making the
// temporary file and renaming it: files named Path, a dot and six characters, last changed at
// least OlderThanSeconds ago (a live writer keeps its temporary file for a moment only).
// Returns how many were removed.
int RemoveStaleTemporaries(const std::string& Path, int OlderThanSeconds);

// True when Path names something other than a folder.
bool IsExistingFile(const std::string& Path);
