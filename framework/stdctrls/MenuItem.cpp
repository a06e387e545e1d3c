#include "framework/stdctrls/MenuItem.h"

#include "base/Exception.h"
#include "framework/stdctrls/MainMenu.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/stdctrls/PopupMenuWindow.h"

#include <algorithm>

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    // Each nested item leaves this list as it goes.
    Clear();
}

void TMenuItem::SetCaption(const std::string& Value)
{
    if (Value != FCaption) {
        FCaption = Value;
        Changed();
    }
}

void TMenuItem::SetChecked(bool Value)
{
    if (Value != FChecked) {
        FChecked = Value;
        Changed();
    }
}

void TMenuItem::SetEnabled(bool Value)
{
    if (Value != FEnabled) {
        FEnabled = Value;
        Changed();
    }
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value != FVisible) {
        FVisible = Value;
        Changed();
    }
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (!(Value == FShortCut)) {
        FShortCut = Value;
        Changed();
    }
}

bool TMenuItem::IsEnabledInMenu() const
{
    for (const TMenuItem* I = this; I; I = I->FParent)
        if (!I->FEnabled)
            return false;
    return true;
}

void TMenuItem::Changed()
{
    const TMenuItem* Root = this;
    while (Root->FParent)
        Root = Root->FParent;
    if (Root->FMainMenu)
        Root->FMainMenu->ItemsChanged();
    if (TPopupMenuTracker* Tracker = TPopupMenuTracker::GetActive())
        Tracker->ItemChanged(*this);
}

TMenuItem* TMenuItem::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        throw EComponentError("Menu index out of range (" + std::to_string(Index) + ")");
    return FItems[std::size_t(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    const auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(GetCount(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item)
        throw EComponentError("No menu item to insert");
    if (Item->FParent || Item->FRootMenu)
        throw EComponentError("Menu item " + Item->GetName() + " is already in a menu");
    for (const TMenuItem* P = this; P; P = P->FParent)
        if (P == Item)
            throw EComponentError("A menu item cannot be nested inside itself");
    if (Index < 0 || Index > GetCount())
        throw EComponentError("Menu index out of range (" + std::to_string(Index) + ")");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* Item = GetItem(Index);
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int Index = IndexOf(Item);
    if (Index < 0)
        throw EComponentError("Menu item not found");
    Delete(Index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

void TMenuItem::Click()
{
    if (FEnabled)
        OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FRootMenu)
        return FParent->FRootMenu;
    if (FParent && FParent->FMainMenu)
        return FParent->FMainMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value)
{
    if (FParent)
        FParent->Remove(this);
    if (auto* Item = dynamic_cast<TMenuItem*>(Value))
        Item->Add(this);
    else if (auto* Menu = dynamic_cast<TPopupMenu*>(Value))
        Menu->GetItems()->Add(this);
    else if (auto* Main = dynamic_cast<TMainMenu*>(Value))
        Main->GetItems()->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    // A copy: Proc must not see the list change under it.
    const std::vector<TMenuItem*> Items = FItems;
    for (TMenuItem* Item : Items)
        if (Item->GetOwner() == Root)
            Proc(Item);
}

void TMenuItem::DeclareClass(TClassDeclaration<TMenuItem>& D)
{
    D.String("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption);
    D.Boolean("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked);
    D.Boolean("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault);
    D.Boolean("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled).Default(1);
    D.String("ShortCut", &TMenuItem::GetShortCutText, &TMenuItem::SetShortCutText);
    D.Boolean("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible).Default(1);
    D.Event("OnClick", &TMenuItem::OnClick);
}
