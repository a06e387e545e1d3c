#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

// A per-user registry as a tree in memory that behaves like HKEY_CURRENT_USER: the headless port
// keeps it as it is, the X11 port loads it from a file and writes it back.
// Key paths are relative to the root, components separated by backslashes; key and value names
// compare ASCII letters without regard to case and keep the case they were created with. Values
// keep their type and exactly the bytes they were given (REG_DWORD: 4 bytes little-endian;
// REG_SZ: UTF-8, with the terminating NUL when the caller included it, as Win32 callers do).
// Handles are never reused, so a stale handle is always ERROR_INVALID_HANDLE.
// As in the Windows registry, a path names at most 512 levels of names of at most 255 bytes;
// beyond that it is ERROR_INVALID_PARAMETER, so no key is made that a saved file could not hold.
class TRegistryTree
{
public:
    TRegistryTree();
    ~TRegistryTree();

    long CreateKey(const std::string& Path, TRegistryKey& Key, std::uint32_t* Disposition);
    long OpenKey(const std::string& Path, TRegistryKey& Key);
    long QueryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                    std::vector<std::uint8_t>& Data) const;
    long SetValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                  std::span<const std::uint8_t> Data);
    long DeleteValue(TRegistryKey Key, const std::string& Name);
    long CloseKey(TRegistryKey Key);

    // For tests: inspect and change the tree by path, without handles.
    bool KeyExists(const std::string& Path) const;
    // Removes the key with everything below it; handles still open on them report
    // ERROR_KEY_DELETED from then on.
    bool RemoveKey(const std::string& Path);
    std::vector<std::string> GetValueNames(const std::string& Path) const;
    std::vector<std::string> GetSubKeyNames(const std::string& Path) const;
    std::size_t GetOpenKeyCount() const { return FHandles.size(); }
    // Makes every later create and open fail with Error (ERROR_SUCCESS again to stop).
    void SetFailure(long Error) { FFailure = Error; }

    struct TValue
    {
        std::string Name;
        std::string Folded; // Name as lookups compare it, folded once
        std::uint32_t Type = REG_NONE;
        std::vector<std::uint8_t> Data;
    };
    // Every key once, the root first and each key before the keys below it, subkeys in the order
    // of their folded names, with its path (names as created) and its values in the order of
    // their creation. One walk, whatever the depth.
    void VisitKeys(const std::function<void(const std::string& Path,
                                            const std::vector<TValue>& Values)>& Visit) const;

    static constexpr std::size_t MaxKeyDepth = 512;
    static constexpr std::size_t MaxKeyNameBytes = 255;

private:
    struct TNode
    {
        std::string Name;
        std::map<std::string, std::shared_ptr<TNode>> SubKeys; // by folded name
        std::vector<TValue> Values;                            // in the order of creation
        bool Deleted = false;
    };

    static long SplitPath(const std::string& Path, std::vector<std::string>& Parts);
    std::shared_ptr<TNode> Find(const std::string& Path) const;
    long Resolve(TRegistryKey Key, std::shared_ptr<TNode>& Node) const;
    static std::vector<TValue>::iterator FindValue(TNode& Node, const std::string& Name);
    TRegistryKey NewHandle(std::shared_ptr<TNode> Node);

    std::shared_ptr<TNode> FRoot;
    std::map<TRegistryKey, std::shared_ptr<TNode>> FHandles;
    TRegistryKey FNextHandle = 0x1000;
    long FFailure = ERROR_SUCCESS;
};
