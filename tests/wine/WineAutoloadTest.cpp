// Starting at login on Windows: the clock's Run value names this very executable, quoted, with
// -autominimize, and goes again when the option is off.
#include "app/Autoload.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

constexpr const wchar_t* RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* ValueName = L"QXRidivAzoza";

// The value's type and every stored character, the terminating zero included; none when missing.
std::optional<std::pair<DWORD, std::wstring>> RunValue()
{
    std::wstring Data(4096, L'\0');
    DWORD Type = REG_NONE;
    DWORD Size = static_cast<DWORD>(Data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, ValueName, RRF_RT_ANY | RRF_NOEXPAND, &Type,
                     Data.data(), &Size) != ERROR_SUCCESS)
        return std::nullopt;
    Data.resize(Size / sizeof(wchar_t));
    return std::pair{Type, Data};
}

TEST(WineAutoload, TheRunValueStartsThisExecutableAndGoesAgain)
{
    // Every Windows profile has the Run key; a new Wine prefix may lack it.
    HKEY Run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &Run, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(Run);
    std::wstring Module(MAX_PATH * 4, L'\0');
    Module.resize(GetModuleFileNameW(nullptr, Module.data(), DWORD(Module.size())));
    ASSERT_FALSE(Module.empty());

    EXPECT_EQ(SetRunAtLogin(1, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue(), std::pair(DWORD(REG_SZ), L"\"" + Module + L"\" -autominimize" + L'\0'));
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS);
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(SetRunAtLogin(0, "QXRidivAzoza"), ERROR_SUCCESS) << "already gone is no error";
}

} // namespace
