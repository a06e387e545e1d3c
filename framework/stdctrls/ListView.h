#pragma once

#include "framework/stdctrls/ListColumns.h"
#include "framework/stdctrls/ListItems.h"
#include "framework/windows/CustomControl.h"

class TScrollBar;

using TSelectItemEvent = TEvent<TObject* /*Sender*/, TListItem* /*Item*/, bool /*Selected*/>;

// A list view in report style, in the classic look: a sunken edge, a header of raised buttons
// with the columns' captions, and a row per item with its caption in the first column and its
// sub-items in the next ones, each clipped to its column. A vertical scroll bar appears when the
// rows overflow; the wheel scrolls three rows a notch. A click or the Up, Down, PageUp,
// PageDown, Home and End keys select a row, which shows in the highlight colours while the list
// has the focus. Without ShowColumnHeaders the header is gone and the rows start at the top: a
// plain list.
class TListView : public TCustomControl
{
    PUBLISHED_CLASS(TListView, TCustomControl)

    explicit TListView(TComponent* AOwner);
    ~TListView() override;

    TListColumns* GetColumns() { return &FColumns; }
    TListItems* GetItems() { return &FItems; }

    // The selected row, -1 for none; values outside the items select none.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TListItem* GetSelected() const;
    // The first row shown, kept between 0 and the last that leaves no empty rows below.
    int GetTopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    // The rows that fit in full under the header.
    int GetVisibleRowCount() const;
    int GetRowHeight() const;
    int GetHeaderHeight() const;
    // Row Index in client coordinates, across the columns' area (whether shown or not).
    TRect GetItemRect(int Index) const;
    // The item shown at a client point, or -1.
    int ItemAt(TPoint P) const;
    // The embedded vertical scroll bar.
    TScrollBar* GetScrollBar() const { return FScrollBar; }

    TSelectItemEvent OnSelectItem;

    // For the items: their number or content changed, an item was deleted (-1: all), or a row is
    // to be brought into view.
    void ItemsChanged();
    void ItemDeleted(int Index);
    void MakeRowVisible(int Index, bool PartialOK);

    static void DeclareClass(TClassDeclaration<TListView>& D);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void BoundsChanged() override;
    void FontChanged() override;
    void EnabledChanged() override { Invalidate(); }

private:
    // Inside the sunken edge.
    TRect InnerRect() const;
    // Under the header, left of the scroll bar when it shows.
    TRect RowsRect() const;
    int MaxTopIndex() const;
    // Shows, hides and sets the scroll bar after the items or the size changed.
    void UpdateScrollBar();
    void PaintHeader(TCanvas& Canvas, const TRect& Inner);
    void PaintRow(TCanvas& Canvas, int Index, const TRect& Row);

    TListColumns FColumns;
    TListItems FItems;
    TScrollBar* FScrollBar = nullptr;
    int FItemIndex = -1;
    int FTopIndex = 0;
    bool FShowColumnHeaders = true;
    bool FSyncingBar = false; // the scroll bar is being set to the list's state
};
