#pragma once

#include "framework/stdctrls/ListItem.h"

#include <memory>
#include <vector>

// The items of a list view, top to bottom; the list owns them. Between BeginUpdate and the
// matching EndUpdate the list neither repaints nor lays out its scroll bar; EndUpdate does both
// once.
class TListItems
{
public:
    explicit TListItems(TListView& Owner) : FOwner(Owner) {}

    // A new item at the end, with an empty caption and no sub-items.
    TListItem* Add();
    void Delete(int Index);
    void Clear();
    int GetCount() const { return int(FItems.size()); }
    TListItem* GetItem(int Index) const { return FItems.at(std::size_t(Index)).get(); }
    TListItem* operator[](int Index) const { return GetItem(Index); }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool IsUpdating() const { return FUpdateCount > 0; }

private:
    TListView& FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
};
