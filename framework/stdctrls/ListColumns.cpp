#include "framework/stdctrls/ListColumns.h"

#include "framework/stdctrls/ListView.h"

TListColumn* TListColumns::Add()
{
    FColumns.push_back(std::make_unique<TListColumn>(FOwner, GetCount()));
    FOwner.Invalidate();
    return FColumns.back().get();
}

void TListColumns::Clear()
{
    FColumns.clear();
    FOwner.Invalidate();
}
