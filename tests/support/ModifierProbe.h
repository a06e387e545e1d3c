#pragma once

// The probe of the tests that hold a modifier key while they click, on every port: a borderless
// form of the application with one control that writes down what its mouse and key events say.

#include "base/Point.h"
#include "framework/windows/Application.h"
#include "framework/windows/CustomControl.h"
#include "framework/windows/Form.h"

#include <string>
#include <vector>

struct TModifierProbe
{
    // The form at Origin (screen), 120 x 80; the control at 10, 10 within it, 60 x 40.
    TModifierProbe(TApplication& App, TPoint Origin)
        : Form(new TForm(&App)), Control(new TCustomControl(Form)), FOrigin(Origin)
    {
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(Origin.X, Origin.Y, 120, 80);
        Control->SetBounds(10, 10, 60, 40);
        Control->SetParent(Form);
        Control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState S, int X, int Y) {
            Note("down", S, {X, Y});
        };
        Control->OnMouseMove = [this](TObject*, TShiftState S, int X, int Y) {
            if (NoteMoves)
                Note("move", S, {X, Y});
        };
        Control->OnMouseUp = [this](TObject*, TMouseButton, TShiftState S, int X, int Y) {
            Note("up", S, {X, Y});
        };
        Control->OnKeyDown = [this](TObject*, unsigned&, TShiftState S) {
            Seen.push_back("keydown " + std::to_string(S));
        };
        Control->OnKeyUp = [this](TObject*, unsigned&, TShiftState S) {
            Seen.push_back("keyup " + std::to_string(S));
        };
    }

    // Where the control's point P is: in the form's client area, and on the screen.
    static TPoint InForm(TPoint P) { return P + TPoint{10, 10}; }
    TPoint OnScreen(TPoint P) const { return FOrigin + InForm(P); }

    // What a left click at the control's point P must give with Shift held.
    static std::vector<std::string> Click(TShiftState Shift, TPoint P)
    {
        return {Event("down", Shift | ssLeft, P), Event("up", Shift, P)};
    }
    static std::string Event(const char* What, TShiftState Shift, TPoint P)
    {
        return std::string(What) + " " + std::to_string(Shift) + " " + std::to_string(P.X) + "," +
               std::to_string(P.Y);
    }

    TForm* Form;
    TCustomControl* Control;
    std::vector<std::string> Seen;
    // Movements are noted only when asked: a real pointer moves on its way to a click.
    bool NoteMoves = false;

private:
    void Note(const char* What, TShiftState Shift, TPoint P)
    {
        Seen.push_back(Event(What, Shift, P));
    }

    TPoint FOrigin;
};
