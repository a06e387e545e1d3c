#include "framework/stdctrls/ListItems.h"

#include "framework/stdctrls/ListView.h"

TListItem* TListItems::Add()
{
    FItems.push_back(std::make_unique<TListItem>(FOwner, GetCount()));
    FOwner.ItemsChanged();
    return FItems.back().get();
}

void TListItems::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount())
        return;
    FItems.erase(FItems.begin() + Index);
    for (int I = Index; I < GetCount(); ++I)
        FItems[std::size_t(I)]->SetIndex(I);
    FOwner.ItemDeleted(Index);
}

void TListItems::Clear()
{
    FItems.clear();
    FOwner.ItemDeleted(-1);
}

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        FOwner.ItemsChanged();
}
