#pragma once

#include "framework/objects/ClassDeclaration.h"
#include "framework/stdctrls/ShortCut.h"
#include "framework/windows/FormMenu.h"

#include <memory>

class TMenuBar;
class TMenuItem;

// A form's menu bar: the items of Items side by side across the top of the form's client area
// (the form's Menu), each opening a drop-down of its nested items. Items itself is no part of a
// form description; the items nested inside the menu's description are its items.
//
// Keys the form's controls would get come here first: an enabled item's ShortCut runs its
// OnClick (not when an item it is nested in is disabled); Alt pressed and released alone, or
// F10, selects the first bar item; Alt with a bar item's access key opens that item.
class TMainMenu : public TFormMenu
{
    PUBLISHED_CLASS(TMainMenu, TFormMenu)

    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    TMenuItem* GetItems() const { return FItems.get(); }
    // The form showing the menu, and the bar it shows it in (null while no form does).
    TForm* GetForm() const { return FForm; }
    TMenuBar* GetBar() const { return FBar; }

    // Uses the bar from item Index of the visible items (see TMenuBarTracker), its drop-down
    // open when Open; the chosen item's OnClick runs after every menu window is gone and the
    // loops have ended.
    void Track(int Index, bool Open, bool Keyboard);
    // The enabled item with this shortcut, among enabled items only; null when none has it.
    TMenuItem* FindShortCut(TShortCut Value) const;

    void SetForm(TForm* Form) override;
    int GetBarHeight() const override;
    void PlaceBar(const TRect& Client) override;
    bool MenuKey(UINT Msg, unsigned Key, TShiftState Shift) override;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TMenuItem;
    // An item's caption, state or nesting changed: the bar shows it at once.
    void ItemsChanged();

    std::unique_ptr<TMenuItem> FItems;
    TForm* FForm = nullptr;
    TMenuBar* FBar = nullptr;
    bool FAltAlone = false; // Alt went down and nothing else since
};
