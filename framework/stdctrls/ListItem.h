#pragma once

#include "framework/stdctrls/ListSubItems.h"

#include <string>

class TListView;

// A row of a list view: its Caption in the first column and its SubItems in the next ones.
// Changing either repaints the list.
class TListItem
{
public:
    TListItem(TListView& Owner, int Index);

    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TListSubItems& GetSubItems() { return FSubItems; }
    const TListSubItems& GetSubItems() const { return FSubItems; }
    // The item's row, counted from 0.
    int GetIndex() const { return FIndex; }
    void SetIndex(int Value) { FIndex = Value; }
    // Whether it is the list's selected item; selecting it deselects the one before.
    bool GetSelected() const;
    void SetSelected(bool Value);
    // Scrolls the list so that the item's row is in full view; with PartialOK a row partly in
    // view already counts.
    void MakeVisible(bool PartialOK);

private:
    TListView& FOwner;
    int FIndex;
    std::string FCaption;
    TListSubItems FSubItems;
};
