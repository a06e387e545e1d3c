#pragma once

#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The per-user registry of the X11 port: a registry tree (the one the headless port keeps in
// memory), kept in a text file (by default $XDG_CONFIG_HOME/nixie/registry). The file is read at
// the first use and rewritten whole, atomically, after every change, so a crash leaves the old or
// the new tree and never half of one. A change the file cannot take is undone and reported as
// ERROR_ACCESS_DENIED; a file that exists but cannot be read is never overwritten. Lines that
// cannot be understood are skipped (a key line with the values under it; so is a key deeper than
// 512 levels or with a name longer than 255 bytes, which the Windows registry cannot hold either),
// and the original file is kept beside as registry.damaged before it is rewritten.
class TFileRegistry
{
public:
    // An empty Path means the default file.
    explicit TFileRegistry(std::string Path = {});

    long CreateKey(const std::string& Path, TRegistryKey& Key, std::uint32_t* Disposition);
    long OpenKey(const std::string& Path, TRegistryKey& Key);
    long QueryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                    std::vector<std::uint8_t>& Data);
    long SetValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                  std::span<const std::uint8_t> Data);
    long DeleteValue(TRegistryKey Key, const std::string& Name);
    long CloseKey(TRegistryKey Key);
    // Removes a key with everything below it (tests clean up with it); false when it is missing
    // or the file cannot take the change.
    bool RemoveKey(const std::string& Path);
    // The names of the values of the key Path; none when it is missing.
    std::vector<std::string> GetValueNames(const std::string& Path);

    const std::string& GetFilePath();
    // The whole tree as the file holds it.
    std::string Serialise();
    // Replaces the tree by the one Text describes; returns how many lines made no sense.
    int Parse(const std::string& Text);

private:
    void EnsureLoaded();
    bool Save();

    TRegistryTree FTree;
    std::string FPath;
    bool FLoaded = false;
    bool FReadOnly = false;
    std::string FDamaged; // the original text of a damaged file, until it has been kept
};
