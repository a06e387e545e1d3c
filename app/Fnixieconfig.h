#pragma once

#include "framework/windows/Form.h"

// The settings dialog; its controls arrive with the settings command.
class TFormNixieConfig : public TForm
{
    PUBLISHED_CLASS(TFormNixieConfig, TForm)

    explicit TFormNixieConfig(TComponent* AOwner);
};
