#pragma once

class TMenuBar;
class TMenuItem;
struct TMsg;

// The loop of a menu bar in use, as an object: Run selects a bar item and either opens its
// drop-down (a popup menu loop, under the bar item) or, in keyboard mode, holds the mouse
// capture on the bar itself and takes the keys. It moves between drop-downs as the popup loop
// reports Left, Right or the pointer on another bar item, returns to the bar on Escape, and
// ends when an item is chosen or the bar is left. Only one menu tracks at a time.
//
// On the bar without a drop-down: Left and Right move the selection, wrapping; Enter, Down and
// Up open the selected item's drop-down; a typed access key opens its item; Escape, Alt and F10
// leave the bar, as does a press outside it; a press on an item opens it.
class TMenuBarTracker
{
public:
    explicit TMenuBarTracker(TMenuBar& Bar) : FBar(Bar) {}
    TMenuBarTracker(const TMenuBarTracker&) = delete;
    TMenuBarTracker& operator=(const TMenuBarTracker&) = delete;

    // Starts on bar item Index, its drop-down open when Open; Keyboard when the keyboard
    // started it (the access keys show, a drop-down opens with its first item highlighted).
    // The chosen item (a bar item without sub-items is a command itself), or null.
    TMenuItem* Run(int Index, bool Open, bool Keyboard);

    // The tracker whose loop is running, or null.
    static TMenuBarTracker* GetActive();
    int GetSelected() const { return FIndex; }

private:
    bool TrackBar();
    void BarKey(const TMsg& Msg, bool& Open, bool& Leave);

    TMenuBar& FBar;
    int FIndex = -1;
    bool FKeyboard = false;
};
