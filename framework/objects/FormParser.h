#pragma once

#include "framework/objects/FormObject.h"

#include <string_view>

// The syntax of a form description, without meaning: text in, a tree of objects, properties and
// values out. Errors are EReadError with a message that begins "Line N: ".
//
//   object Form1: TForm1            (or `object TForm1` for an unnamed component)
//     Caption = 'It''s'#13#10'UTF-8 ü' + 'more'
//     Left = -12                    ($FF hexadecimal as well)
//     Color = clBtnFace             (identifiers, possibly dotted: Form2.Button1)
//     Anchors = [akLeft, akTop]
//     Items = ('a' 'b' 3 x)         (strings, integers and identifiers)
//     Data = {0A1B 2C3D}            (hexadecimal, across lines)
//     Font.Name = 'Tahoma'          (dotted property names)
//     object Child: TLabel ... end
//   end
class TFormParser
{
public:
    // Deeper nesting of objects is refused, so hostile input cannot exhaust the stack.
    static constexpr int MaxNesting = 128;

    static TFormObject Parse(std::string_view Text);
};
