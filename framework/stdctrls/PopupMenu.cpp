#include "framework/stdctrls/PopupMenu.h"

#include "framework/objects/ClassRegistry.h"
#include "framework/stdctrls/MainMenu.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/PopupMenuWindow.h"

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr))
{
    FItems->FRootMenu = this;
}

TPopupMenu::~TPopupMenu()
{
    // The items go before this menu stops being one.
    FItems.reset();
}

void TPopupMenu::Popup(int X, int Y)
{
    if (TPopupMenuTracker::GetActive())
        return;
    FPopupPoint = {X, Y};
    OnPopup(this);
    TMenuItem* Chosen = nullptr;
    {
        TPopupMenuTracker Tracker(*FItems, {X, Y});
        Chosen = Tracker.Run();
    }
    // The menu window is gone now, so the handler may close forms or open other menus. This
    // menu may itself have been destroyed meanwhile: nothing of it is touched from here on.
    if (Chosen)
        Chosen->Click();
}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (Value == FPopupComponent)
        return;
    if (FPopupComponent)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TPopupMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    FItems->GetChildren(Proc, Root);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::DeclareClass(TClassDeclaration<TPopupMenu>& D)
{
    D.Boolean("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(1);
    D.Event("OnPopup", &TPopupMenu::OnPopup);
}

void RegisterMenuClasses()
{
    RegisterClass<TPopupMenu>();
    RegisterClass<TMainMenu>();
    RegisterClass<TMenuItem>();
}
