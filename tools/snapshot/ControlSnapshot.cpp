#include "tools/snapshot/ControlSnapshot.h"

#include "app/Fnixie.h"
#include "base/Exception.h"
#include "controls/VelmoraPanel.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "programs/gallery/Fgallery.h"

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
std::string Description(const TClassInfo& Class, const TControlSnapshot& S)
{
    std::string Text = "object Snapshot: " + Class.GetName() + "\n";
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

} // namespace

void RegisterControlFamily()
{
    RegisterClockClasses();
    VelmoraPanel::Register();
    RegisterGalleryClasses();
    RegisterClass<TFormGallery>();
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
        if (!S.Settings.empty())
            throw Exception(Class->GetName() + " is a form: --set is for controls");
        auto* Form = static_cast<TForm*>(Class->Create(&App));
        if (S.Width > 0 && S.Height > 0) {
            Form->SetClientWidth(S.Width);
            Form->SetClientHeight(S.Height);
        }
        Form->Show();
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
    return Form;
}
