#include "framework/stdctrls/ListItem.h"

#include "framework/stdctrls/ListView.h"

TListItem::TListItem(TListView& Owner, int Index)
    : FOwner(Owner), FIndex(Index), FSubItems([this] { FOwner.ItemsChanged(); })
{}

void TListItem::SetCaption(const std::string& Value)
{
    FCaption = Value;
    FOwner.ItemsChanged();
}

bool TListItem::GetSelected() const
{
    return FOwner.GetItemIndex() == FIndex;
}

void TListItem::SetSelected(bool Value)
{
    if (Value)
        FOwner.SetItemIndex(FIndex);
    else if (GetSelected())
        FOwner.SetItemIndex(-1);
}

void TListItem::MakeVisible(bool PartialOK)
{
    FOwner.MakeRowVisible(FIndex, PartialOK);
}
