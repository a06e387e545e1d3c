#pragma once

#include <string>

class TListView;

// A column of a report-style list view: the Caption on its header button and its Width in pixels.
// Changing either repaints the list.
class TListColumn
{
public:
    TListColumn(TListView& Owner, int Index) : FOwner(Owner), FIndex(Index) {}

    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    int GetWidth() const { return FWidth; }
    // At least 0.
    void SetWidth(int Value);
    int GetIndex() const { return FIndex; }

private:
    TListView& FOwner;
    int FIndex;
    std::string FCaption;
    int FWidth = 50;
};
