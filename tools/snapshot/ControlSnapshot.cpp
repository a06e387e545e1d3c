#include "tools/snapshot/ControlSnapshot.h"

#include "app/Fnixie.h"
#include "base/Exception.h"
#include "base/Utf8.h"
#include "controls/VelmoraPanel.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "hexedit/Hexcontrol.h"
#include "programs/gallery/Fgallery.h"
#include "programs/hexedit/Fhexedit.h"
#include "programs/hexedit/HexEditClasses.h"

#include <fstream>
#include <string_view>

namespace {

bool IsOneOf(std::string_view Value, std::initializer_list<std::string_view> Spellings)
{
    for (const std::string_view S : Spellings)
        if (SameIdent(Value, S))
            return true;
    return false;
}

// The value as a form description spells it for a property of that kind.
std::string Spelling(const TPropInfo& Info, const std::string& Value)
{
    if (Info.GetKind() == TPropKind::Boolean) {
        if (IsOneOf(Value, {"1", "True", "yes", "on"}))
            return "True";
        if (IsOneOf(Value, {"0", "False", "no", "off"}))
            return "False";
    }
    if (Info.GetKind() == TPropKind::String && !Value.starts_with('\'')) {
        std::string Quoted = "'";
        for (const char C : Value)
            Quoted += C == '\'' ? std::string("''") : std::string(1, C);
        return Quoted + "'";
    }
    return Value;
}

// The one-object form description of the control: size first, then the settings in order.
std::string Description(const TClassInfo& Class, const TControlSnapshot& S,
                        const std::string& RootName = "Snapshot")
{
    std::string Text = "object " + RootName + ": " + Class.GetName() + "\n";
    if (S.Width > 0)
        Text += "  Width = " + std::to_string(S.Width) + "\n";
    if (S.Height > 0)
        Text += "  Height = " + std::to_string(S.Height) + "\n";
    for (const auto& [Name, Value] : S.Settings) {
        const std::size_t Dot = Name.find('.');
        if (!Class.FindProperty(std::string_view(Name).substr(0, Dot)))
            throw Exception(Class.GetName() + " has no published property " + Name);
        // A line break would end the value and start another property.
        if (Value.find_first_of("\r\n") != std::string::npos)
            throw Exception("the value of " + Name + " holds a line break");
        const TPropInfo* Info = Dot == std::string::npos ? Class.FindProperty(Name) : nullptr;
        Text += "  " + Name + " = " + (Info ? Spelling(*Info, Value) : Value) + "\n";
    }
    return Text + "end\n";
}

// A program's form takes each setting as PART.PROP=VALUE, read into the live part as a
// description of that part alone would set it.
void SetParts(TForm* Form, const TControlSnapshot& S)
{
    for (const auto& [Name, Value] : S.Settings) {
        const std::size_t Dot = Name.find('.');
        TComponent* Part =
            Dot == std::string::npos ? nullptr : Form->FindComponent(Name.substr(0, Dot));
        if (!Part)
            throw Exception(Form->ClassName() + " is a form: --set takes PART.PROP=VALUE for " +
                            "one of its parts, not " + Name);
        TControlSnapshot One;
        One.Settings.emplace_back(Name.substr(Dot + 1), Value);
        TFormReader::ReadInto(*Part, Description(Part->GetClassInfo(), One, Part->GetName()));
    }
}

TFormHexEdit* HexEditForm(TForm* Form, const char* Option)
{
    auto* Editor = dynamic_cast<TFormHexEdit*>(Form);
    if (!Editor)
        throw Exception(std::string(Option) + " is for TFormHexEdit, not for " + Form->ClassName());
    return Editor;
}

// What a user would do next on the form just shown: open, type, find.
void Drive(TForm* Form, const TControlSnapshot& S)
{
    if (!S.OpenFile.empty()) {
        TFormHexEdit* Editor = HexEditForm(Form, "--open");
        // The program says why in a message box; checked first, the tool says it instead.
        if (!std::ifstream(S.OpenFile, std::ios::binary))
            throw Exception("cannot read " + S.OpenFile);
        if (!Editor->OpenFile(S.OpenFile))
            throw Exception("the editor could not open " + S.OpenFile);
    }
    if (!S.Typed.empty()) {
        TWindowManager& Manager = TWindowManager::Get();
        const HWND Focus = Manager.GetFocus();
        if (!Focus || Manager.GetTopLevel(Focus) != Form->GetHandle())
            throw Exception("nothing on " + Form->ClassName() + " takes typing");
        for (const char32_t C : DecodeUtf8(S.Typed))
            Manager.SendMessage(Focus, WM_CHAR, WPARAM(C), 0);
    }
    if (!S.Find.empty()) {
        THexEditor* Editor = HexEditForm(Form, "--find")->HexEditor;
        const int Hit = Editor->FindFirst(S.Find, THexEditor::SearchCharacters, 0);
        if (Hit < 0)
            throw Exception("'" + S.Find + "' is not found");
        Editor->MoveCursor(Hit);
    }
}

} // namespace

void RegisterControlFamily()
{
    RegisterClockClasses();
    VelmoraPanel::Register();
    RegisterGalleryClasses();
    RegisterClass<TFormGallery>();
    RegisterHexEditClasses();
    RegisterClass<TFormHexEdit>();
}

TForm* ShowControlSnapshot(TApplication& App, const TControlSnapshot& S)
{
    const TClassInfo* Class = GetClass(S.ClassName);
    if (!Class)
        throw Exception("no class " + S.ClassName + " is registered");
    if (!Class->InheritsFrom("TControl") || !Class->CanCreate())
        throw Exception(Class->GetName() + " is no control that can be created");
    if (Class->InheritsFrom("TForm")) {
        // A form of a program reads its own description; it is drawn as it opens.
        auto* Form = static_cast<TForm*>(Class->Create(&App));
        SetParts(Form, S);
        if (S.Width > 0 && S.Height > 0) {
            Form->SetClientWidth(S.Width);
            Form->SetClientHeight(S.Height);
        }
        Form->Show();
        Drive(Form, S);
        return Form;
    }
    auto* Form = new TForm(&App);
    Form->SetBorderStyle(bsNone);
    // Reading into the form makes the control the form's own, destroyed with it on any failure.
    TComponent* Read = nullptr;
    try {
        Read = TFormReader::ReadComponent(Description(*Class, S), Form);
    } catch (...) {
        delete Form;
        throw;
    }
    auto* Control = dynamic_cast<TControl*>(Read);
    if (Control->GetWidth() <= 0 || Control->GetHeight() <= 0) {
        delete Form;
        throw Exception(Class->GetName() + " is created without a size: give one with --size");
    }
    Control->SetLeft(0);
    Control->SetTop(0);
    Control->SetParent(Form);
    Form->SetClientWidth(Control->GetWidth());
    Form->SetClientHeight(Control->GetHeight());
    Form->Show();
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control); Windowed && Windowed->CanFocus())
        Windowed->SetFocus();
    Drive(Form, S);
    return Form;
}

TRect PartBounds(TForm* Form, const std::string& Part)
{
    auto* Control = dynamic_cast<TControl*>(Form->FindComponent(Part));
    if (!Control)
        throw Exception(Form->ClassName() + " has no control " + Part);
    TRect Bounds = Control->GetBoundsRect();
    for (TWinControl* Parent = Control->GetParent(); Parent && Parent != Form;
         Parent = Parent->GetParent())
        Bounds = Bounds.Offset(Parent->GetLeft(), Parent->GetTop());
    return Bounds;
}
