#pragma once

#include "framework/windows/Form.h"

class TLabel;
class TButton;

// The about box: the clock's name, copyright, version and page, links to the maker's other
// products, and Ok.
class TFormAboutNixie : public TForm
{
    PUBLISHED_CLASS(TFormAboutNixie, TForm)

    explicit TFormAboutNixie(TComponent* AOwner);

    TLabel* LabelProgName = nullptr;
    TLabel* LabelCopyright = nullptr;
    TLabel* LabelVersion = nullptr;
    TLabel* LabelUrl = nullptr;
    // The product links, top to bottom.
    TLabel* Label6 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label5 = nullptr;
    TButton* ButtonOk = nullptr;

    void FormCreate(TObject* Sender);
    void LabelUrlClick(TObject* Sender);
    void Label6Click(TObject* Sender);
    void Label2Click(TObject* Sender);
    void Label4Click(TObject* Sender);
    void Label3Click(TObject* Sender);
    void Label5Click(TObject* Sender);
    void ButtonOkClick(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TFormAboutNixie>& D);
};
