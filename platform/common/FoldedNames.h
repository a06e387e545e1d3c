#pragma once

#include <string>

// Name comparison as Windows does it for registry keys, profile entries and file paths: ASCII
// letters without regard to case (other bytes compare exactly).
std::string FoldName(const std::string& Name);

// A path in the form the headless file system compares: folded, every '/' made a '\\', and a
// relative path joined to Folder (when Folder is not empty).
std::string FoldPath(const std::string& Path, const std::string& Folder);

// True for "C:...", "\\..." and "/...".
bool IsAbsolutePath(const std::string& Path);
