#pragma once

#include "base/Point.h"
#include "base/Rect.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/windows/Messages.h"

#include <functional>
#include <memory>
#include <vector>

class TComponent;
class TMenuItem;

// The loop of an open popup menu, as an object (like a modal dialog's): Run shows the menu of
// Root's visible items in a top-level popup window, holds the mouse capture, dispatches every
// message other than mouse and keyboard input (so timers and paints go on behind the menu), and
// returns once an item is chosen or the menu is dismissed. Items with nested items open their
// submenu in a window of their own. The windows are destroyed when the loop ends or, at the
// latest, with the tracker, before the caller acts on the choice.
//
// Mouse: moving highlights the selectable item under the pointer; a left or right release on
// one chooses it; a press outside every menu window dismisses the menu and is not passed on.
// Keys: Up and Down move the highlight over the selectable items, wrapping; Home and End; Right
// opens a submenu, Left closes one; Enter chooses; Escape closes a submenu or the menu; Alt and
// F10 dismiss it; a typed access key chooses its item (or, when several share it, moves to the
// next). A WM_QUIT ends the loop and is posted again for the loop outside; losing the capture
// dismisses the menu.
class TPopupMenuTracker
{
public:
    TPopupMenuTracker(TMenuItem& Root, TPoint ScreenPoint);
    ~TPopupMenuTracker();
    TPopupMenuTracker(const TPopupMenuTracker&) = delete;
    TPopupMenuTracker& operator=(const TPopupMenuTracker&) = delete;

    // The chosen item, or null when the menu was dismissed, held nothing to show, or the item
    // was destroyed while the menu was open. Runs once; later calls return null at once.
    TMenuItem* Run();

    // How the loop of a menu bar's drop-down ended without a choice: closed for good, Escape
    // back to the bar, Left or Right to the neighbouring drop-down, or Switch to the bar item
    // GetSwitchTo names.
    enum class TBarExit
    {
        Closed,
        Escape,
        Left,
        Right,
        Switch
    };
    // Makes the menu the drop-down of item Index of a menu bar; BarItemAt names the bar item
    // under a screen point (-1 for none); SelectFirst highlights the first item at once, as
    // for a drop-down opened from the keyboard. Call before Run.
    void SetMenuBar(int Index, std::function<int(TPoint)> BarItemAt, bool SelectFirst);
    TBarExit GetBarExit() const { return FBarExit; }
    int GetSwitchTo() const { return FSwitchTo; }

    // Shows a change of an item on show (caption, state, shortcut) at once.
    void ItemChanged(const TMenuItem& Item);

    // The tracker whose loop is running, or null.
    static TPopupMenuTracker* GetActive();

    // Where a menu of Size opens for a request at Point: flipped to the left of (or above) the
    // point when it would leave the screen, then kept inside it as far as it fits.
    static TPoint PlaceMenu(TPoint Point, TSize Size, TPoint ScreenSize);
    // Where a submenu opens beside the parent menu window (screen rectangles): to the right,
    // its first item level with ItemScreen, or to the left when the right has no room.
    static TPoint PlaceSubmenu(const TRect& ParentScreen, const TRect& ItemScreen, TSize Size,
                               TPoint ScreenSize);

    // The open menu windows, the root first (for tests and hosts that look at the menu).
    int GetLevelCount() const { return int(FLevels.size()); }
    HWND GetWindow(int Level) const;
    TRect GetScreenBounds(int Level) const;
    const TMenuLayout& GetLayout(int Level) const;
    int GetHighlight(int Level) const; // the entry index, or -1

private:
    struct TLevel;
    class TWatcher;

    bool OpenLevel(TMenuItem& Parent, TPoint ScreenPoint, const TRect* ParentItemScreen);
    void CloseLevels(int From);
    LRESULT LevelProc(TLevel& Level, HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
    void PaintLevel(TLevel& Level, HWND Wnd);
    void SetHighlight(int Level, int Index);
    void HandleMouse(const TMsg& Msg);
    void HandleKey(const TMsg& Msg);
    void HandleChar(char32_t Character);
    void TrackTo(int Level, int Index);
    // Opens the submenu of the highlighted entry of Level (the first item highlighted when
    // SelectFirst); false when it has nothing to show.
    bool OpenSubmenu(int Level, bool SelectFirst);
    void Activate(int Level, int Index, bool FromKeyboard);
    void Choose(int Level, int Index);
    void Dismiss() { FDone = true; }
    void LeaveForBar(TBarExit Exit, int SwitchTo = -1);
    void ItemGone(TComponent* Item);

    TMenuItem* FRoot;
    TPoint FScreenPoint;
    std::vector<std::unique_ptr<TLevel>> FLevels;
    std::unique_ptr<TWatcher> FWatcher;
    TBitmap FMeasureBitmap{1, 1};
    TMenuItem* FChosen = nullptr;
    bool FRan = false;
    bool FDone = false;
    bool FClosing = false; // the tracker itself releases the capture and destroys the windows
    int FBarIndex = -1;
    bool FSelectFirst = false;
    std::function<int(TPoint)> FBarItemAt;
    TBarExit FBarExit = TBarExit::Closed;
    int FSwitchTo = -1;
};
