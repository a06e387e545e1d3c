#pragma once

#include "framework/objects/Component.h"

#include <vector>

class TForm;

// The screen: its size, and every form that exists (in creation order).
class TScreen : public TComponent
{
    PUBLISHED_CLASS(TScreen, TComponent)

    explicit TScreen(TComponent* AOwner);

    int GetWidth() const;
    int GetHeight() const;
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
