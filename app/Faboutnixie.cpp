#include "app/Faboutnixie.h"

#include "app/ProductInfo.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Label.h"
#include "platform/Platform.h"

namespace {
// The shell's answer is not examined: a page that does not open leaves the box as it is.
void OpenPage(const char* Address)
{
    TPlatform::Get().ShellOpen(Address);
}
} // namespace

void TFormAboutNixie::DeclareClass(TClassDeclaration<TFormAboutNixie>& D)
{
    D.RegisterMethod("FormCreate", &TFormAboutNixie::FormCreate);
    D.RegisterMethod("LabelUrlClick", &TFormAboutNixie::LabelUrlClick);
    D.RegisterMethod("Label6Click", &TFormAboutNixie::Label6Click);
    D.RegisterMethod("Label2Click", &TFormAboutNixie::Label2Click);
    D.RegisterMethod("Label4Click", &TFormAboutNixie::Label4Click);
    D.RegisterMethod("Label3Click", &TFormAboutNixie::Label3Click);
    D.RegisterMethod("Label5Click", &TFormAboutNixie::Label5Click);
    D.RegisterMethod("ButtonOkClick", &TFormAboutNixie::ButtonOkClick);
}

TFormAboutNixie::TFormAboutNixie(TComponent* AOwner) : TForm(AOwner)
{
    RegisterStandardControls();
    ReadDescription();
    LabelProgName = FindPart<TLabel>("LabelProgName");
    LabelCopyright = FindPart<TLabel>("LabelCopyright");
    LabelVersion = FindPart<TLabel>("LabelVersion");
    LabelUrl = FindPart<TLabel>("LabelUrl");
    Label6 = FindPart<TLabel>("Label6");
    Label2 = FindPart<TLabel>("Label2");
    Label4 = FindPart<TLabel>("Label4");
    Label3 = FindPart<TLabel>("Label3");
    Label5 = FindPart<TLabel>("Label5");
    ButtonOk = FindPart<TButton>("ButtonOk");
    DoCreate();
}

void TFormAboutNixie::FormCreate(TObject*)
{
    LabelProgName->SetCaption(ProductName);
    LabelVersion->SetCaption(std::string("version ") + ProductVersion);
    LabelUrl->SetCaption(ProductPage);
    LabelCopyright->SetCaption(ProductCopyright);
}

void TFormAboutNixie::LabelUrlClick(TObject*)
{
    OpenPage(ProductPage);
}

void TFormAboutNixie::Label6Click(TObject*)
{
    OpenPage(OtherProductPages[0]);
}

void TFormAboutNixie::Label2Click(TObject*)
{
    OpenPage(OtherProductPages[1]);
}

void TFormAboutNixie::Label4Click(TObject*)
{
    OpenPage(OtherProductPages[2]);
}

void TFormAboutNixie::Label3Click(TObject*)
{
    OpenPage(OtherProductPages[3]);
}

void TFormAboutNixie::Label5Click(TObject*)
{
    OpenPage(OtherProductPages[4]);
}

void TFormAboutNixie::ButtonOkClick(TObject*)
{
    SetModalResult(mrOk);
}
