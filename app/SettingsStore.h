#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>

// Where the clock keeps its 32-bit integer settings: the per-user registry key
// HKEY_CURRENT_USER\Software\Tolvane\<store name>, or a section of a private profile (INI)
// file. One record per open, on the caller's stack; nothing is kept between opens. Nothing is
// reported: a store that cannot be opened gives every read its default and loses every write.
struct SettingsStore
{
    TRegistryKey Key = 0;          // registry mode: the open key, or 0
    std::uint32_t Disposition = 0; // REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY
    std::string ProfileFile;       // profile mode: the file, empty when none was given
    std::string Section;           // the store name: the key's last component or the section
    std::int32_t UseRegistry = 0;  // non-zero: registry mode
};

// Records the mode; in registry mode creates or opens the store's key and records whether it
// was created now. Names longer than 259 bytes are cut there, as the fixed buffers of the
// stored format always did.
void OpenSettingsStore(const char* ProfileFile, const std::string& StoreName, SettingsStore& Store,
                       std::int32_t UseRegistry);

// The value Name, or Default when the store lacks it. In a key created by this open the default
// is written as the value first, so that a first run leaves every value it read in the store.
// Registry values count only as REG_DWORD of exactly 4 bytes (a signed value is its two's
// complement). Anything else under the name (text, binary, a REG_DWORD of 0 to 3 or of 8 bytes)
// leaves the default: the read fills a 4-byte slot that holds the default, and such a value
// would fill it with bytes that mean no number, or with half a number over half the default.
// Profile entries are read as decimal text by their leading digits (none gives 0).
std::int32_t ReadSettingInt(SettingsStore& Store, const std::string& Name, std::int32_t Default);
void WriteSettingInt(SettingsStore& Store, const std::string& Name, std::int32_t Value);
void CloseSettingsStore(SettingsStore& Store);
