#pragma once

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
};

// Registers the classes of the control family and the framework's controls for form reading.
void RegisterControlFamily();

// Reads the control into a new borderless form of App, as big as the control, and shows the
// form. An unknown class, a class that is no control, an unknown property, a value the property
// cannot take or a control left without a size is an Exception whose message says which.
TForm* ShowControlSnapshot(TApplication& App, const TControlSnapshot& Snapshot);
