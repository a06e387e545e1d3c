// A form's menu bar on the real server: a click on a bar item opens its drop-down, a click on
// an item of it runs the item once the menu is gone. The second click is made from a timer,
// as the menu's loop holds the thread while it is open.
#include "framework/stdctrls/MainMenu.h"
#include "framework/stdctrls/MenuBar.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/PopupMenuWindow.h"
#include "framework/windows/Form.h"
#include "framework/windows/Timer.h"
#include "framework/windows/WindowManager.h"
#include "tests/x11/X11TestSupport.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

TPoint Middle(const TRect& R)
{
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

TEST_F(X11AppTest, AClickOnTheMenuBarOpensTheDropDownAndAClickOnAnItemRunsIt)
{
    auto* Form = new TForm(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(200, 150, 240, 120);
    auto* Menu = new TMainMenu(Form);
    auto* File = new TMenuItem(Form);
    File->SetCaption("&File");
    Menu->GetItems()->Add(File);
    for (const char* Caption : {"&New", "&Open"}) {
        auto* I = new TMenuItem(Form);
        I->SetCaption(Caption);
        File->Add(I);
    }
    std::vector<std::string> Clicks;
    bool MenuGone = false;
    for (int I = 0; I < File->GetCount(); ++I)
        File->GetItem(I)->OnClick = [&](TObject* Sender) {
            Clicks.push_back(static_cast<TMenuItem*>(Sender)->GetCaption());
            MenuGone = !TPopupMenuTracker::GetActive();
        };
    Form->SetMenu(Menu);
    Form->Show();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(DispatchUntil([&] { return Peer->IsMapped(); }));

    bool DropDownShown = false;
    TTimer Timer(nullptr);
    Timer.SetInterval(50);
    Timer.SetOnTimer([&](TObject*) {
        const TPopupMenuTracker* T = TPopupMenuTracker::GetActive();
        if (!T)
            return;
        Timer.SetEnabled(false);
        auto* DropDown = TWindowManager::Get().GetPeer(T->GetWindow(0));
        DropDownShown = DropDown && static_cast<TX11Window*>(DropDown)->IsMapped();
        const TRect Screen = T->GetScreenBounds(0);
        const TPoint Open =
            Middle(T->GetLayout(0).GetEntry(1).Bounds) + TPoint{Screen.Left, Screen.Top};
        MovePointer(Open);
        PointerButton(1, true);
        PointerButton(1, false);
    });
    MovePointer(Form->ClientToScreen(Middle(Menu->GetBar()->GetItemRect(0))));
    PointerButton(1, true);
    PointerButton(1, false);
    EXPECT_TRUE(DispatchUntil([&] { return !Clicks.empty(); }));
    EXPECT_TRUE(DropDownShown);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"&Open"}));
    EXPECT_TRUE(MenuGone);
}

} // namespace
