#pragma once

#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/Component.h"
#include "framework/objects/Event.h"
#include "framework/stdctrls/ShortCut.h"

#include <string>
#include <vector>

class TMainMenu;
class TPopupMenu;

// One command of a menu, or a separator (Caption "-"), with the items nested under it. The
// nested items belong to their owner component like any other; the list only says where they
// appear. Changes of the caption, the state and the shortcut show at once in the menu bar and
// in the open menu windows. An item takes its nested items with it when it is destroyed, and leaves
// its parent's list. In a caption '&' marks the next character as the access key and "&&" is a
// literal '&'.
class TMenuItem : public TComponent
{
    PUBLISHED_CLASS(TMenuItem, TComponent)

    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    // The default command of its menu, drawn in bold.
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    // The accelerator that runs the item from its form while the menu is closed (a main menu's
    // items only), shown right-aligned in the menu window.
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool IsLine() const { return FCaption == "-"; }

    // The nested items, in menu order. A bad index, an item that already sits in a menu, or
    // one that would end up inside itself is an EComponentError.
    int GetCount() const { return int(FItems.size()); }
    TMenuItem* GetItem(int Index) const;
    int IndexOf(const TMenuItem* Item) const; // -1 when it is not nested here
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out of the list without destroying it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Destroys every nested item.
    void Clear();

    TMenuItem* GetParent() const { return FParent; }
    // The popup menu whose Items this item is, for the root item only.
    TPopupMenu* GetRootMenu() const { return FRootMenu; }
    // The main menu whose Items this item is, for the root item only.
    TMainMenu* GetMainMenu() const { return FMainMenu; }
    // Whether the item and every item it is nested in are enabled.
    bool IsEnabledInMenu() const;

    // Runs OnClick when the item is enabled.
    virtual void Click();

    TNotifyEvent OnClick;

    // Nesting in form descriptions: a top-level item sits in its popup or main menu, the others in
    // their parent item.
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    static void DeclareClass(TClassDeclaration<TMenuItem>& D);

private:
    friend class TPopupMenu;
    friend class TMainMenu;

    void Changed();
    std::string GetShortCutText() const { return ShortCutToText(FShortCut); }
    void SetShortCutText(const std::string& Value) { SetShortCut(TextToShortCut(Value)); }

    std::string FCaption;
    bool FChecked = false;
    bool FDefault = false;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    TShortCut FShortCut;
    TPopupMenu* FRootMenu = nullptr;
    TMainMenu* FMainMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};
