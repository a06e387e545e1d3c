#pragma once

#include "base/Point.h"
#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/Component.h"
#include "framework/objects/Event.h"

#include <memory>

class TMenuItem;

// A context menu: the items of Items, opened at a point of the screen by Popup. Items itself is
// no part of a form description; the items nested inside the menu's description are its items.
class TPopupMenu : public TComponent
{
    PUBLISHED_CLASS(TPopupMenu, TComponent)

    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* GetItems() const { return FItems.get(); }

    // Opens the menu with its corner at the screen point (X, Y), moved so that it stays on the
    // screen, and tracks it until an item is chosen or the menu is dismissed; the chosen item's
    // OnClick runs after the menu window is gone and its loop has ended. OnPopup runs first.
    // While another menu is open this does nothing, as only one menu tracks at a time.
    virtual void Popup(int X, int Y);

    // Whether a control opens this menu by itself on a right click (the control's business).
    bool GetAutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // The component that asked for the menu, as the caller set it; cleared if it is destroyed.
    TComponent* GetPopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    // Where the last Popup was asked to open the menu.
    TPoint GetPopupPoint() const { return FPopupPoint; }

    TNotifyEvent OnPopup;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    static void DeclareClass(TClassDeclaration<TPopupMenu>& D);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TMenuItem> FItems;
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint;
};

// Puts TPopupMenu, TMainMenu and TMenuItem in the class registry, so that form descriptions can
// name them.
void RegisterMenuClasses();
