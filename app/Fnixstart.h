#pragma once

#include "framework/windows/Form.h"

class TLabel;
class TPanel;

// The title box shown after start: a borderless black strip next to the clock that names it,
// links to its maker and says where the settings are; "X" closes it.
class TFormNixieStart : public TForm
{
    PUBLISHED_CLASS(TFormNixieStart, TForm)

    explicit TFormNixieStart(TComponent* AOwner);
    ~TFormNixieStart() override;

    TPanel* PanelStartup = nullptr;
    TLabel* LabelTitle = nullptr;
    TLabel* LabelLink = nullptr;
    TLabel* LabelRight = nullptr;
    TLabel* Label4 = nullptr;

    void Label4Click(TObject* Sender);
    void LabelLinkClick(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TFormNixieStart>& D);
};
