#pragma once

#include "framework/windows/Form.h"

// The about box; its text and links arrive with the about command.
class TFormAboutNixie : public TForm
{
    PUBLISHED_CLASS(TFormAboutNixie, TForm)

    explicit TFormAboutNixie(TComponent* AOwner);
};
