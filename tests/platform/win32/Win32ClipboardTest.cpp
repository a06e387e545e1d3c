// The Windows port's clipboard under Wine: UTF-8 in, CF_UNICODETEXT as other programs see it,
// and back.
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

std::wstring NativeText()
{
    std::wstring Text;
    if (!OpenClipboard(nullptr))
        return L"<not opened>";
    if (HANDLE Memory = GetClipboardData(CF_UNICODETEXT)) {
        Text = static_cast<const wchar_t*>(GlobalLock(Memory));
        GlobalUnlock(Memory);
    }
    CloseClipboard();
    return Text;
}

void PutNative(const std::wstring& Text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE, (Text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(Memory), Text.c_str(), (Text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(Memory);
    SetClipboardData(CF_UNICODETEXT, Memory);
    CloseClipboard();
}

TEST(Win32Clipboard, NonAsciiTextRoundTripsThroughUnicodeText)
{
    TPlatform& Port = TPlatform::Get();
    ASSERT_TRUE(Port.PutClipboardText("Grüße 😀 Ж"));
    EXPECT_EQ(NativeText(), L"Gr\u00FC\u00DFe \U0001F600 \u0416");
    EXPECT_EQ(Port.GetClipboardText(), "Grüße 😀 Ж");

    PutNative(L"\u00E9t\u00E9 \u20AC");
    EXPECT_EQ(Port.GetClipboardText(), "été €");
}

} // namespace
