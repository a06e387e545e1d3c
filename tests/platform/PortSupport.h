#pragma once

#include <string>

// What the port-independent tests need from the port under test beyond TPlatform: a folder to
// put files in and a way to clean up after themselves. Each test folder of a port defines these.

// An absolute folder for scratch files (no trailing backslash).
std::string GetScratchFolder();
// Removes a key of HKEY_CURRENT_USER with everything below it; nothing when it is missing.
void RemoveRegistryTree(const std::string& Path);
// Removes a scratch file; nothing when it is missing.
void RemoveScratchFile(const std::string& Path);
