#include "framework/stdctrls/ListColumn.h"

#include "framework/stdctrls/ListView.h"

#include <algorithm>

void TListColumn::SetCaption(const std::string& Value)
{
    FCaption = Value;
    FOwner.Invalidate();
}

void TListColumn::SetWidth(int Value)
{
    FWidth = std::max(0, Value);
    FOwner.Invalidate();
}
