#pragma once

#include "framework/stdctrls/ListColumn.h"

#include <memory>
#include <vector>

// The columns of a list view, left to right; the list owns them.
class TListColumns
{
public:
    explicit TListColumns(TListView& Owner) : FOwner(Owner) {}

    // A new column at the right end, with an empty caption and the default width.
    TListColumn* Add();
    int GetCount() const { return int(FColumns.size()); }
    TListColumn* GetItem(int Index) const { return FColumns.at(std::size_t(Index)).get(); }
    TListColumn* operator[](int Index) const { return GetItem(Index); }
    void Clear();

private:
    TListView& FOwner;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};
