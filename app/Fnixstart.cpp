#include "app/Fnixstart.h"

#include "app/Fnixie.h"
#include "app/ProductInfo.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Label.h"
#include "platform/Platform.h"

void TFormNixieStart::DeclareClass(TClassDeclaration<TFormNixieStart>& D)
{
    D.RegisterMethod("Label4Click", &TFormNixieStart::Label4Click);
    D.RegisterMethod("LabelLinkClick", &TFormNixieStart::LabelLinkClick);
}

TFormNixieStart::TFormNixieStart(TComponent* AOwner) : TForm(AOwner)
{
    RegisterStandardControls();
    ReadDescription();
    PanelStartup = FindPart<TPanel>("PanelStartup");
    LabelTitle = FindPart<TLabel>("LabelTitle");
    LabelLink = FindPart<TLabel>("LabelLink");
    LabelRight = FindPart<TLabel>("LabelRight");
    Label4 = FindPart<TLabel>("Label4");
    DoCreate();
}

TFormNixieStart::~TFormNixieStart()
{
    if (FormNixieStart == this)
        FormNixieStart = nullptr;
}

void TFormNixieStart::Label4Click(TObject*)
{
    // Not the main form: closing hides it.
    Close();
}

void TFormNixieStart::LabelLinkClick(TObject*)
{
    TPlatform::Get().ShellOpen(MakerSite);
}
