#pragma once

#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/Component.h"
#include "framework/objects/Event.h"

#include <string>
#include <vector>

class TPopupMenu;

// One command of a menu, or a separator (Caption "-"), with the items nested under it. The
// nested items belong to their owner component like any other; the list only says where they
// appear. An item takes its nested items with it when it is destroyed, and leaves its parent's
// list. In a caption '&' marks the next character as the access key and "&&" is a literal '&'.
class TMenuItem : public TComponent
{
    PUBLISHED_CLASS(TMenuItem, TComponent)

    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value) { FChecked = Value; }
    // The default command of its menu, drawn in bold.
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
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

    // Runs OnClick when the item is enabled.
    virtual void Click();

    TNotifyEvent OnClick;

    // Nesting in form descriptions: a top-level item sits in its popup menu, the others in
    // their parent item.
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    static void DeclareClass(TClassDeclaration<TMenuItem>& D);

private:
    friend class TPopupMenu;

    std::string FCaption;
    bool FChecked = false;
    bool FDefault = false;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    TPopupMenu* FRootMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};
