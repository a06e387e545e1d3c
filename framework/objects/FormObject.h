#pragma once

#include "framework/objects/FormValue.h"

#include <string>
#include <vector>

// One `object Name: TClass ... end` block of a form description: the component's properties in
// the order written, then its nested objects. Line numbers (from 1) are where each begins.
struct TFormObject
{
    struct TProperty
    {
        std::string Name; // possibly dotted: Font.Name
        TFormValue Value;
        int Line = 0;
    };

    std::string Name; // may be empty
    std::string ClassName;
    int Line = 0;
    std::vector<TProperty> Properties;
    std::vector<TFormObject> Children;
};
