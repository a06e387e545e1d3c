#pragma once

#include "base/Rect.h"

#include <string>
#include <utility>
#include <vector>

class TApplication;
class TForm;

// What the snapshot tool draws in its control mode: a control of a class registered for form
// reading, at a size (0 keeps the control's own), with published properties set by name.
struct TControlSnapshot
{
    std::string ClassName;
    int Width = 0;
    int Height = 0;
    // Property name and value as a form description spells it; a boolean also takes 1 or 0,
    // a string needs no quotes.
    std::vector<std::pair<std::string, std::string>> Settings;
    // Then, in this order and each only when given: the file the hex editor program's form
    // opens, the characters typed into the focused control, and the characters the hex editor
    // program's form finds, its cursor moved to the first hit as its Find command moves it.
    std::string OpenFile{};
    std::string Typed{};
    std::string Find{};
};

// Registers the classes of the control family and the framework's controls for form reading.
void RegisterControlFamily();

// Reads the control into a new borderless form of App, as big as the control, and shows the
// form (a program's form is made and shown as it opens), then opens, types and finds. An unknown
// class, a class that is no control, an unknown property, a value the property cannot take, a
// control left without a size, a file that cannot be read, text that is not found, or an open or
// a find asked of a form that cannot do it is an Exception whose message says which.
TForm* ShowControlSnapshot(TApplication& App, const TControlSnapshot& Snapshot);

// Where the control named Part lies on Form, in the form's client coordinates; an Exception when
// the form has no control of that name.
TRect PartBounds(TForm* Form, const std::string& Part);
