#pragma once

class TForm;

// Registers the classes the hex editor program's form descriptions name (the standard controls,
// menus, the hex editor, the timer and the program's own forms), once.
void RegisterHexEditClasses();

// Centres a dialog over the application's main form while that is on show, else on the screen;
// either way it is kept inside the screen.
void PlaceOverMainForm(TForm& Dialog);
