#pragma once

#include "framework/windows/CustomControl.h"

#include <string>
#include <vector>

// A group of radio buttons in an etched frame with the Caption over its top line. The Items are
// laid out column by column: with N items in Columns columns, each column holds ceil(N / Columns)
// rows, and the area inside the frame is divided evenly into those columns and rows. ItemIndex is
// the selected item, -1 for none; a value below 0 gives -1 and one past the last item the last.
// Changing it, from code too, repaints and fires OnClick. The group is one tab stop; the arrow
// keys move the selection (no wrap) and a click on an item selects it.
class TRadioGroup : public TCustomControl
{
    PUBLISHED_CLASS(TRadioGroup, TCustomControl)

    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;

    const std::vector<std::string>& GetItems() const { return FItems; }
    void SetItems(const std::vector<std::string>& Value);
    int GetColumns() const { return FColumns; }
    // At least 1.
    void SetColumns(int Value);
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);

    // The cell of item Index in client coordinates (empty for no such item), and the item whose
    // cell holds a client point, or -1.
    TRect GetItemRect(int Index) const;
    int ItemAt(TPoint P) const;

    static void DeclareClass(TClassDeclaration<TRadioGroup>& D);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    void EnabledChanged() override { Invalidate(); }
    void FontChanged() override;

private:
    int Rows() const;
    int CaptionHeight() const;
    void PaintItem(TCanvas& Canvas, int Index);

    std::vector<std::string> FItems;
    int FColumns = 1;
    int FItemIndex = -1;
};
