// The application window of the Windows port: it owns the forms and its visibility is the
// task-bar button. Each test runs a port of its own, so that earlier decisions do not carry over.
#include "platform/win32/Win32Platform.h"
#include "tests/platform/win32/Win32TestWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class Win32TaskbarTest : public testing::Test
{
protected:
    std::unique_ptr<TTestWindow> Open(bool WantsButton, bool Popup = false)
    {
        TPlatformWindowParams P = BorderlessParams({50, 50, 150, 120});
        P.TaskbarButton = WantsButton;
        P.Popup = Popup;
        auto W = std::make_unique<TTestWindow>(P, Local);
        EXPECT_NE(W->Handle, nullptr);
        return W;
    }
    HWND App() const { return static_cast<HWND>(Local.GetApplicationWindowHandle()); }
    bool ButtonShown() const { return IsWindowVisible(App()) != FALSE; }
    std::wstring AppTitle() const
    {
        wchar_t Text[64] = {};
        GetWindowTextW(App(), Text, 64);
        return Text;
    }

    TWin32Platform Local;
};

TEST_F(Win32TaskbarTest, TheApplicationWindowOwnsEveryFormAndShowsNothingButTheButton)
{
    EXPECT_EQ(App(), nullptr) << "made with the first form";
    auto Form = Open(true);
    ASSERT_NE(App(), nullptr);
    EXPECT_EQ(GetWindow(static_cast<HWND>(Form->Handle), GW_OWNER), App());
    EXPECT_FALSE(ButtonShown()) << "nothing on the task bar before a form shows";
    Form->Window->Show(false);
    EXPECT_TRUE(ButtonShown());
    RECT R{};
    GetWindowRect(App(), &R);
    EXPECT_EQ(R.right - R.left, 0);
    EXPECT_EQ(R.bottom - R.top, 0);
    EXPECT_EQ(GetWindowLongPtrW(App(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0)
        << "a tool window would have no button";
    EXPECT_EQ(AppTitle(), L"Nixie test");
}

TEST_F(Win32TaskbarTest, SetTaskbarButtonTogglesTheApplicationWindow)
{
    auto Main = Open(true);
    Main->Window->Show(false);
    for (const bool Visible : {false, true, false, false, true}) {
        Main->Window->SetTaskbarButton(Visible);
        EXPECT_EQ(ButtonShown(), Visible);
    }
    Main->Window->SetTaskbarButton(false);
    // Once the main form has decided, another form that wants a button does not bring it back.
    auto Dialog = Open(true);
    Dialog->Window->Show(true);
    EXPECT_FALSE(ButtonShown());
    Dialog->Window->Hide();
    EXPECT_FALSE(ButtonShown());
}

TEST_F(Win32TaskbarTest, WindowsWithoutButtonsShowNone)
{
    auto Tool = Open(false);
    auto Menu = Open(true, true);
    Tool->Window->Show(false);
    Menu->Window->Show(false);
    EXPECT_FALSE(ButtonShown());
    auto Form = Open(true);
    Form->Window->Show(false);
    EXPECT_TRUE(ButtonShown());
}

TEST_F(Win32TaskbarTest, TheButtonBearsTheTitleOfItsForm)
{
    auto Main = Open(true);
    Main->Window->SetTitle("Zeit \xC3\xBC");
    Main->Window->SetTaskbarButton(true);
    EXPECT_EQ(AppTitle(), L"Zeit \u00FC");
    Main->Window->SetTitle("Nixie");
    EXPECT_EQ(AppTitle(), L"Nixie");
    auto Other = Open(true);
    Other->Window->SetTitle("Settings");
    EXPECT_EQ(AppTitle(), L"Nixie") << "only the form the button stands for names it";
}

TEST_F(Win32TaskbarTest, ClosingFromTheTaskBarAsksTheForm)
{
    auto Main = Open(true);
    Main->Window->SetTaskbarButton(true);
    SendMessageW(App(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Main->Events.Only("close").size(), 1u);
    EXPECT_TRUE(IsWindow(App())) << "the application window lives as long as the port";
    EXPECT_TRUE(IsWindow(static_cast<HWND>(Main->Handle)));
}

TEST_F(Win32TaskbarTest, TheButtonGoesWithItsForm)
{
    auto Main = Open(true);
    Main->Window->SetTaskbarButton(true);
    ASSERT_TRUE(ButtonShown());
    Main.reset();
    EXPECT_FALSE(ButtonShown());
    // The next form to show carries it again.
    auto Next = Open(true);
    Next->Window->Show(false);
    EXPECT_TRUE(ButtonShown());
}

} // namespace
