#include "tests/framework/objects/StreamingTestClasses.h"

#include "base/Exception.h"
#include "framework/objects/Stream.h"

#include <cstdlib>

namespace {

int GItems = 0;
int GForms = 0;

std::string NameOf(const TComponent* C)
{
    return C->GetName().empty() ? C->ClassName() : C->GetName();
}

} // namespace

std::vector<std::string>& TestLog()
{
    static std::vector<std::string> Log;
    return Log;
}

void TTestFont::Assign(const TPersistent* Source)
{
    if (const auto* F = dynamic_cast<const TTestFont*>(Source)) {
        Name = F->Name;
        Size = F->Size;
        Color = F->Color;
        Style = F->Style;
        return;
    }
    TPersistent::Assign(Source);
}

void TTestFont::DeclareClass(TClassDeclaration<TTestFont>& D)
{
    D.String("Name", &TTestFont::Name, &TTestFont::Name);
    D.Integer("Size", &TTestFont::Size, &TTestFont::Size);
    D.Color("Color", &TTestFont::Color, &TTestFont::Color).Default(clWindowText);
    D.Set<TTestFontStyles>("Style", &TTestFont::Style, &TTestFont::Style,
                           {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

bool TTestPicture::ReadReference(std::string_view Reference)
{
    std::string Digits(Reference);
    bool Named = false;
    if (Digits.size() > 3 && Digits.compare(0, 3, "Res") == 0) {
        Digits = Digits.substr(3);
        Named = true;
    }
    if (Digits.empty() || Digits.size() > 2 ||
        Digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int Id = std::atoi(Digits.c_str());
    if (Id < 1 || Id > 99)
        return false;
    ResourceId = Id;
    NamedReference = Named;
    Bytes.clear();
    return true;
}

std::string TTestPicture::GetReference() const
{
    if (ResourceId == 0)
        return {};
    return (NamedReference ? "Res" : "") + std::to_string(ResourceId);
}

void TTestPicture::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Data",
        [this](TStream& S) {
            Bytes.resize(std::size_t(S.GetRemaining()));
            S.ReadBuffer(Bytes.data(), Bytes.size());
        },
        [this](TStream& S) { S.WriteBuffer(Bytes.data(), Bytes.size()); },
        ResourceId == 0 && !Bytes.empty());
}

TTestItem::TTestItem(TComponent* AOwner) : TComponent(AOwner)
{
    ++GItems;
}

TTestItem::~TTestItem()
{
    TestLog().push_back(NameOf(this) + ":Destroy");
    --GItems;
}

int TTestItem::LiveCount()
{
    return GItems;
}

bool& TTestItem::SawWriting()
{
    static bool Saw = false;
    return Saw;
}

int& TTestItem::FailOnCount()
{
    static int Fail = 0;
    return Fail;
}

void TTestItem::SetMode24(int Value)
{
    FSawLoading = IsLoading();
    FMode24 = Value;
}

void TTestItem::SetBuddy(TTestItem* Value)
{
    FBuddy = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TTestItem::SetParentComponent(TComponent* Value)
{
    FParentItem = dynamic_cast<TTestItem*>(Value);
}

void TTestItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBuddy)
        FBuddy = nullptr;
    if (Operation == opRemove && AComponent == FParentItem)
        FParentItem = nullptr;
}

void TTestItem::Loaded()
{
    TComponent::Loaded();
    TestLog().push_back(NameOf(this) + ":Loaded" + (FBuddy ? " buddy " + NameOf(FBuddy) : ""));
}

void TTestItem::DefineProperties(TFiler& Filer)
{
    TComponent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "RegionData", [this](TStream& S) { ReadRegionData(S); },
        [this](TStream& S) { WriteRegionData(S); }, true);
    Filer.DefineProperty(
        "Extra", [this](const TFormValue& V) { FExtra = int(V.GetInteger()); },
        [this] { return TFormValue::FromInteger(FExtra); }, FExtra != 0);
}

// Region-data style payload: a 4-byte count, then that many bytes.
void TTestItem::ReadRegionData(TStream& Stream)
{
    const std::uint32_t N = Stream.ReadUInt32();
    if (N > Stream.GetRemaining())
        throw EReadError("RegionData: " + std::to_string(N) + " bytes announced, " +
                         std::to_string(Stream.GetRemaining()) + " present");
    FRegionData.resize(N);
    Stream.ReadBuffer(FRegionData.data(), N);
}

void TTestItem::WriteRegionData(TStream& Stream)
{
    Stream.WriteUInt32(std::uint32_t(FRegionData.size()));
    Stream.WriteBuffer(FRegionData.data(), FRegionData.size());
}

void TTestItem::DeclareClass(TClassDeclaration<TTestItem>& D)
{
    D.Integer("Mode24", &TTestItem::GetMode24, &TTestItem::SetMode24);
    D.Integer("Count", &TTestItem::GetCount, [](TTestItem& I, int V) {
        if (FailOnCount() == 1 && I.IsLoading())
            throw EConvertError("Count refused");
        if (FailOnCount() == 2 && I.IsLoading())
            throw EOutOfResources("Windows Resources Exhausted");
        I.SetCount(V);
    });
    D.Unsigned("Value", &TTestItem::GetValue, &TTestItem::SetValue);
    D.Boolean("Enabled", &TTestItem::GetEnabled, &TTestItem::SetEnabled).Default(1);
    D.Enumeration<TTestAlign>("Align", &TTestItem::GetAlign, &TTestItem::SetAlign,
                              {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
    D.Set<TTestAnchors>("Anchors", &TTestItem::GetAnchors, &TTestItem::SetAnchors,
                        {"akLeft", "akTop", "akRight", "akBottom"})
        .Default(TTestAnchors{akLeft, akTop}.GetBits());
    D.Color("Color", &TTestItem::GetColor, &TTestItem::SetColor).Default(clBtnFace);
    D.String("Caption", &TTestItem::GetCaption, &TTestItem::SetCaption);
    D.Strings("Lines", &TTestItem::GetLines, &TTestItem::SetLines);
    D.Component<TTestItem>("Buddy", &TTestItem::GetBuddy, &TTestItem::SetBuddy);
    D.Event("OnClick", &TTestItem::OnClick);
    D.Event("OnMouse", &TTestItem::OnMouse);
    D.Persistent("Font", &TTestItem::GetFont);
    D.Persistent("Picture", &TTestItem::FPicture);
    // Tag -1 is never stored; two values have names, as cursors do.
    D.Integer("Tag", &TTestItem::GetTag, &TTestItem::SetTag)
        .Stored([](const TPersistent& P) {
            const auto& I = static_cast<const TTestItem&>(P);
            SawWriting() = I.GetComponentState().Contains(csWriting);
            return I.GetTag() != -1;
        })
        .Idents({{-21, "crHandPoint"}, {-2, "crCross"}});
}

TTestForm::TTestForm(TComponent* AOwner) : TComponent(AOwner)
{
    ++GForms;
}

TTestForm::~TTestForm()
{
    // The items log their names as they go, which needs the form's members alive.
    DestroyComponents();
    --GForms;
}

int TTestForm::LiveCount()
{
    return GForms;
}

void TTestForm::FormCreate(TObject* Sender)
{
    TestLog().push_back("FormCreate " + NameOf(dynamic_cast<TComponent*>(Sender)));
}

void TTestForm::ItemClick(TObject* Sender)
{
    TestLog().push_back("ItemClick " + NameOf(dynamic_cast<TComponent*>(Sender)));
}

void TTestForm::ItemMouse(TObject* Sender, int X, int Y)
{
    TestLog().push_back("ItemMouse " + NameOf(dynamic_cast<TComponent*>(Sender)) + " " +
                        std::to_string(X) + "," + std::to_string(Y));
}

void TTestForm::Loaded()
{
    TComponent::Loaded();
    TestLog().push_back(NameOf(this) + ":Loaded");
}

void TTestForm::DeclareClass(TClassDeclaration<TTestForm>& D)
{
    D.String("Caption", &TTestForm::GetCaption, &TTestForm::SetCaption);
    D.Integer("ClientWidth", &TTestForm::GetClientWidth, &TTestForm::SetClientWidth);
    D.Event("OnCreate", &TTestForm::OnCreate);
    D.RegisterMethod("FormCreate", &TTestForm::FormCreate);
    D.RegisterMethod("ItemClick", &TTestForm::ItemClick);
    D.RegisterMethod("ItemMouse", &TTestForm::ItemMouse);
}

void TTestDerivedForm::ButtonOkClick(TObject* Sender)
{
    TestLog().push_back("ButtonOkClick " + NameOf(dynamic_cast<TComponent*>(Sender)));
}

void TTestDerivedForm::DeclareClass(TClassDeclaration<TTestDerivedForm>& D)
{
    D.RegisterMethod("ButtonOkClick", &TTestDerivedForm::ButtonOkClick);
}

void RegisterTestClasses()
{
    RegisterClass<TTestItem>();
    RegisterClass<TTestForm>();
    RegisterClass<TTestDerivedForm>();
    RegisterClass<TTestTimer>();
    RegisterClass<TTestAbstract>();
    RegisterClass<TTestFont>();
}
