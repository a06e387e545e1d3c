#pragma once

#include "base/Point.h"
#include "platform/Platform.h"

#include <vector>

// The mouse (and the keys held with it) as hardware input: what these send reaches the window
// under the pointer (or the one holding the capture, or the keyboard) through the system's input
// queue, exactly as a user's hand would.

enum class TPointerButton
{
    Left,
    Right
};

// Puts the pointer on a screen point and waits (a bounded time) until the system reports it
// there; whether it got there.
//
// Under Wine the pointer of the X server follows, and the X11 driver of every Wine process
// reports where that pointer crossed or moved over its windows as input of its own. Such a
// report may reach the system after a later move and put the pointer back. With a Listener (a
// window of that process), the move is only done once the process has taken what it had to
// report and the pointer is still there: it is made again until that holds.
bool MovePointer(TPoint Screen, void* Listener = nullptr);
bool PressButton(TPointerButton Button);
bool ReleaseButton(TPointerButton Button);
// Presses or releases a key by its virtual-key code (VK_MENU for Alt, ...); keys go to the
// foreground window.
bool HoldKey(unsigned short VirtualKey, bool Down);
bool IsForeground(void* Window);
// Whether the pointer the system shows now (GetCursorInfo) is its standard cursor of Shape.
bool PointerShows(TCursorShape Shape);
// The window that a press at a screen point would go to while nothing holds the capture.
void* WindowAt(TPoint Screen);
// Releases whatever buttons and keys these functions left pressed (a case that failed half-way).
void ReleaseAllButtons();

// The points of a drag from From to To: Steps moves in a straight line, the last one on To.
std::vector<TPoint> DragPath(TPoint From, TPoint To, int Steps);
