#pragma once

// The Xlib headers, tamed. Include this last, after every other header and behind a comment
// (so that sorting keeps it there): Xlib's macros (Bool, Status, Window as a type, ...) would
// garble what follows. None, which would also turn the enumerators TWindowFrame::None and
// TMouseButton::None into nonsense, is no macro after this header: the X constant is XNone.

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

constexpr unsigned long XNone = None;
#undef None
