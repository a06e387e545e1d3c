#pragma once

#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"
#include "framework/windows/CustomControl.h"

#include <vector>

class TMainMenu;
class TMenuItem;

// The band a main menu shows across the top of its form: the visible top-level items side by
// side in the classic Windows look, each as wide as its caption plus a margin on either side.
// A press on an enabled item opens its drop-down. The bar paints the selection the main menu's
// loop gives it: sunken while the item's drop-down is open, highlighted when it is only
// selected; access keys are underlined once the keyboard is in use, as Windows shows them.
class TMenuBar : public TCustomControl
{
    PUBLISHED_CLASS(TMenuBar, TCustomControl)

    static constexpr int ItemMarginPixels = 6; // left and right of a caption

    explicit TMenuBar(TMainMenu& Menu);

    // The height of one menu line.
    int GetLineHeight();
    // The visible top-level items and their rectangles in the bar, measured afresh.
    int GetItemCount();
    TMenuItem* GetItem(int Index);
    TRect GetItemRect(int Index);
    int ItemAt(TPoint Client);
    int ItemAtScreen(TPoint Screen);
    // The visible item Step places from Index, wrapping.
    int Neighbour(int Index, int Step);

    int GetSelected() const { return FSelected; }
    bool GetDropped() const { return FDropped; }
    bool GetShowAccessKeys() const { return FShowAccessKeys; }
    void SetState(int Selected, bool Dropped, bool ShowAccessKeys);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    struct TEntry
    {
        TMenuItem* Item;
        TRect Bounds;
    };
    const std::vector<TEntry>& Measure();
    void PaintItem(const TEntry& Entry, bool Selected);

    TMainMenu& FMenu;
    TBitmap FMeasureBitmap{1, 1};
    std::vector<TEntry> FEntries;
    int FSelected = -1;
    bool FDropped = false;
    bool FShowAccessKeys = false;
};
