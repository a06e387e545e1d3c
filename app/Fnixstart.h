#pragma once

#include "framework/windows/Form.h"

// The title box shown after start: a borderless black strip next to the clock.
class TFormNixieStart : public TForm
{
    PUBLISHED_CLASS(TFormNixieStart, TForm)

    explicit TFormNixieStart(TComponent* AOwner);
    ~TFormNixieStart() override;
};
