#pragma once

// Registers the classes the hex editor program's form descriptions name (the standard controls,
// menus, the hex editor, the timer and the program's own forms), once.
void RegisterHexEditClasses();

