#include "app/SettingsStore.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The stored format's text buffers hold 260 characters with the terminating zero, its
// number texts 32.
constexpr std::size_t NameChars = 259;
constexpr std::size_t NumberChars = 31;

std::string Cut(std::string Text, std::size_t Chars)
{
    if (Text.size() > Chars)
        Text.resize(Chars);
    return Text;
}

std::string DecimalText(std::int32_t Value)
{
    char Text[NumberChars + 1];
    std::snprintf(Text, sizeof Text, "%ld", static_cast<long>(Value));
    return Text;
}

// Leading blanks, a sign and digits, as the C library reads a long; beyond the 32-bit range
// the nearest end of it rather than whatever the platform's long would wrap to.
std::int32_t LeadingNumber(const std::string& Text)
{
    const long long Value = std::strtoll(Text.c_str(), nullptr, 10);
    if (Value > INT32_MAX)
        return INT32_MAX;
    if (Value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(Value);
}

} // namespace

void OpenSettingsStore(const char* ProfileFile, const std::string& StoreName, SettingsStore& Store,
                       std::int32_t UseRegistry)
{
    Store.UseRegistry = UseRegistry;
    Store.Key = 0;
    Store.Disposition = 0;
    Store.ProfileFile = Cut(ProfileFile ? ProfileFile : "", NameChars);
    Store.Section = Cut(StoreName, NameChars);
    if (UseRegistry == 0)
        return;
    // The key path's buffer holds 256 characters.
    const std::string Path = Cut("Software\\Tolvane\\" + StoreName, 255);
    TPlatform::Get().CreateRegistryKey(TRegistryRoot::CurrentUser, Path, Store.Key,
                                       &Store.Disposition);
}

std::int32_t ReadSettingInt(SettingsStore& Store, const std::string& Name, std::int32_t Default)
{
    TPlatform& P = TPlatform::Get();
    if (Store.UseRegistry == 0)
        return LeadingNumber(
            Cut(P.ReadProfileEntry(Store.ProfileFile, Store.Section, Name, DecimalText(Default)),
                NumberChars));
    if (Store.Disposition == REG_CREATED_NEW_KEY) {
        WriteSettingInt(Store, Name, Default);
        return Default;
    }
    std::uint32_t Type = REG_NONE;
    std::vector<std::uint8_t> Data;
    if (Store.Key == 0 || P.QueryRegistryValue(Store.Key, Name, Type, Data) != ERROR_SUCCESS ||
        Type != REG_DWORD)
        return Default;
    return static_cast<std::int32_t>(DwordOf(Data).value_or(static_cast<std::uint32_t>(Default)));
}

void WriteSettingInt(SettingsStore& Store, const std::string& Name, std::int32_t Value)
{
    TPlatform& P = TPlatform::Get();
    if (Store.UseRegistry == 0) {
        P.WriteProfileEntry(Store.ProfileFile, Store.Section, Name, DecimalText(Value));
        return;
    }
    if (Store.Key != 0)
        P.SetRegistryValue(Store.Key, Name, REG_DWORD,
                           DwordBytes(static_cast<std::uint32_t>(Value)));
}

void CloseSettingsStore(SettingsStore& Store)
{
    if (Store.UseRegistry != 0 && Store.Key != 0)
        TPlatform::Get().CloseRegistryKey(Store.Key);
    Store.Key = 0;
}
