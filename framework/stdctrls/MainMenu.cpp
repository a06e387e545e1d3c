#include "framework/stdctrls/MainMenu.h"

#include "framework/stdctrls/MenuBar.h"
#include "framework/stdctrls/MenuBarTracker.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"

#include <algorithm>

namespace {

TMenuItem* FindIn(const TMenuItem& Parent, TShortCut Value)
{
    for (int I = 0; I < Parent.GetCount(); ++I) {
        TMenuItem* Item = Parent.GetItem(I);
        if (!Item->GetEnabled())
            continue; // nor anything nested in it
        if (Item->GetCount() == 0 && Item->GetShortCut() == Value)
            return Item;
        if (TMenuItem* Found = FindIn(*Item, Value))
            return Found;
    }
    return nullptr;
}

// The access key a key with Alt held types: letters and digits are their own.
char32_t AccessKeyOf(unsigned Key)
{
    if (Key >= 'A' && Key <= 'Z')
        return FoldAccessKey(char32_t(Key));
    if (Key >= '0' && Key <= '9')
        return char32_t(Key);
    return 0;
}

} // namespace

TMainMenu::TMainMenu(TComponent* AOwner)
    : TFormMenu(AOwner), FItems(std::make_unique<TMenuItem>(nullptr))
{
    FItems->FMainMenu = this;
}

TMainMenu::~TMainMenu()
{
    if (FForm)
        FForm->SetMenu(nullptr);
    SetForm(nullptr);
    // The items go before this menu stops being one.
    FItems.reset();
}

void TMainMenu::SetForm(TForm* Form)
{
    if (Form == FForm)
        return;
    if (FForm)
        RemoveFreeNotification(FForm);
    delete std::exchange(FBar, nullptr);
    FForm = Form;
    if (!FForm)
        return;
    FreeNotification(FForm);
    FBar = new TMenuBar(*this);
    FBar->SetParent(FForm);
    PlaceBar(FForm->GetClientRect());
}

int TMainMenu::GetBarHeight() const
{
    return FBar ? FBar->GetLineHeight() : 0;
}

void TMainMenu::PlaceBar(const TRect& Client)
{
    if (!FBar)
        return;
    const int Height = FBar->GetLineHeight();
    if (FBar->GetLeft() != Client.Left || FBar->GetTop() != Client.Top ||
        FBar->GetWidth() != Client.Width() || FBar->GetHeight() != Height)
        FBar->SetBounds(Client.Left, Client.Top, Client.Width(), Height);
}

void TMainMenu::Track(int Index, bool Open, bool Keyboard)
{
    if (!FBar)
        return;
    TMenuItem* Chosen = nullptr;
    {
        TMenuBarTracker Tracker(*FBar);
        Chosen = Tracker.Run(Index, Open, Keyboard);
    }
    // Every menu window is gone; the handler may close the form and this menu with it.
    if (Chosen)
        Chosen->Click();
}

TMenuItem* TMainMenu::FindShortCut(TShortCut Value) const
{
    return Value ? FindIn(*FItems, Value) : nullptr;
}

bool TMainMenu::MenuKey(UINT Msg, unsigned Key, TShiftState Shift)
{
    if (!FBar)
        return false;
    if (Msg == WM_KEYUP || Msg == WM_SYSKEYUP) {
        const bool AltAlone = Key == VK_MENU && FAltAlone;
        FAltAlone = false;
        if (!AltAlone || FBar->GetItemCount() == 0)
            return false;
        Track(0, false, true);
        return true;
    }
    if (Msg != WM_KEYDOWN && Msg != WM_SYSKEYDOWN)
        return false;
    if (Key == VK_MENU) {
        // A held Alt repeats: still alone.
        FAltAlone = FAltAlone || !(Shift & (ssCtrl | ssShift));
        return false;
    }
    FAltAlone = false;
    if (TMenuItem* Item = FindShortCut(ShortCut(Key, Shift))) {
        Item->Click();
        return true;
    }
    if (Key == VK_F10 && !(Shift & ssKeys) && FBar->GetItemCount() > 0) {
        Track(0, false, true);
        return true;
    }
    const char32_t Access = (Shift & ssKeys) == ssAlt ? AccessKeyOf(Key) : 0;
    if (!Access)
        return false;
    for (int I = 0; I < FBar->GetItemCount(); ++I) {
        const TMenuItem* Item = FBar->GetItem(I);
        if (Item->GetEnabled() && ParseMenuCaption(Item->GetCaption()).AccessKey == Access) {
            // The character the key makes is queued already; the drop-down must not take it
            // for one of its own access keys.
            TMsg Pending;
            while (
                TWindowManager::Get().PeekMessage(Pending, 0, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE)) {
            }
            Track(I, true, true);
            return true;
        }
    }
    return false;
}

void TMainMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    FItems->GetChildren(Proc, Root);
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TFormMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FForm) {
        // The form takes its child controls with it, the bar among them.
        FBar = nullptr;
        FForm = nullptr;
    }
}

void TMainMenu::ItemsChanged()
{
    if (FBar)
        FBar->Invalidate();
}
