#pragma once

#include "base/Rect.h"
#include "framework/objects/Component.h"

#include <vector>

class TForm;

// The screen: its size and depth, the pointer on it, the desktop's drag setting, frames drawn on
// it, and every form that exists (in creation order).
class TScreen : public TComponent
{
    PUBLISHED_CLASS(TScreen, TComponent)

    explicit TScreen(TComponent* AOwner);

    int GetWidth() const;
    int GetHeight() const;
    // Bits per pixel of the display; 8 or fewer is a palette display.
    int GetBitsPerPixel() const;
    // Where the pointer is, in screen coordinates.
    TPoint GetCursorPos() const;
    // Whether the desktop shows a window's contents while it is dragged.
    bool GetFullWindowDrag() const;
    // Inverts a frame Thickness pixels wide inside Rect on the screen; the same call again
    // restores what was there.
    void InvertFrame(const TRect& Rect, int Thickness);
    const std::vector<TForm*>& GetForms() const { return FForms; }
    int GetFormCount() const { return int(FForms.size()); }
    // The form whose window is active, or null.
    TForm* GetActiveForm() const;

private:
    friend class TForm;
    void AddForm(TForm* Form) { FForms.push_back(Form); }
    void RemoveForm(TForm* Form) { std::erase(FForms, Form); }

    std::vector<TForm*> FForms;
};

// The one screen object.
TScreen& Screen();
