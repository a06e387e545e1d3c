#pragma once

// Keyboard translation of the X11 port: X keysyms to the Win32 virtual keys the framework speaks,
// and to the characters they type.

// The virtual key of a key, given the keysym of its unshifted level (XLookupKeysym index 0) and
// the keysym its modifiers select (which decides the keypad); 0 for keys without one.
unsigned KeysymToVirtualKey(unsigned long BaseKeysym, unsigned long Keysym);

// The character a keysym types, or 0 when it types none (function keys, modifiers, ...). Covers
// Latin-1, the Unicode keysyms (0x01000000 + code point) and the keys Windows gives a character
// (Backspace, Tab, Enter, Escape, Delete is none).
char32_t KeysymToCharacter(unsigned long Keysym);
