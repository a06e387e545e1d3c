// The standard exception display on the Windows port: the box is a native dialog window with the
// application's title, and a native Enter answers it.
#include "base/Exception.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/MessageForm.h"
#include "framework/windows/Application.h"
#include "framework/windows/Screen.h"
#include "framework/windows/Timer.h"
#include "framework/windows/WindowManager.h"
#include "tests/platform/win32/NativeProbe.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(Win32MessageBox, AnErrorIsShownInANativeDialogThatEnterCloses)
{
    TWindowManager::Reset();
    {
        RegisterStandardControls();
        TApplication App(nullptr);
        App.Initialize();
        App.SetTitle("Nixie");
        auto* Poll = new TTimer(&App);
        Poll->SetInterval(50);
        bool Seen = false, Visible = false;
        int Polls = 0;
        Poll->SetOnTimer([&](TObject*) {
            if (++Polls > 100) { // a guard against hanging: give up after five seconds
                Poll->SetEnabled(false);
                App.Terminate();
                return;
            }
            for (TForm* F : Screen().GetForms()) {
                auto* Box = dynamic_cast<TMessageForm*>(F);
                if (!Box || !Box->GetVisible() || Seen)
                    continue;
                Seen = Box->GetCaption() == "Nixie" && Box->GetLines().size() == 1 &&
                       Box->GetLines().front() == "Resource 71 not found.";
                void* Native = NativeHandle(*TWindowManager::Get().GetPeer(Box->GetHandle()));
                Visible = NativeIsVisible(Native);
                PostNativeMessage(Native, WM_KEYDOWN, VK_RETURN, 1);
                PostNativeMessage(Native, WM_KEYUP, VK_RETURN, 1);
            }
        });
        Poll->SetEnabled(true);
        App.ShowException(EResNotFound("Resource 71 not found"));
        EXPECT_TRUE(Seen);
        EXPECT_TRUE(Visible);
        EXPECT_FALSE(App.GetTerminated()) << "the box did not answer Enter";
        EXPECT_EQ(App.GetLastExceptionMessage(), "Resource 71 not found.");
    }
    TWindowManager::Reset();
}

} // namespace
