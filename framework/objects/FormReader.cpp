#include "framework/objects/FormReader.h"

#include "base/Exception.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Component.h"
#include "framework/objects/Filer.h"
#include "framework/objects/FormParser.h"
#include "framework/objects/MemoryStream.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace {

TFormReader::TFindGlobalComponent& GlobalFinder()
{
    static TFormReader::TFindGlobalComponent Finder;
    return Finder;
}

[[noreturn]] void Fail(int Line, const std::string& Message)
{
    throw EReadError("Line " + std::to_string(Line) + ": " + Message);
}

bool HasLine(const Exception& E)
{
    return E.GetMessage().rfind("Line ", 0) == 0;
}

// Runs Fn; a framework error without a line gets this line and context. Errors of other kinds
// (a picture that cannot be decoded, resources exhausted) pass through unchanged.
template <typename F>
void Guarded(int Line, const std::string& Context, F&& Fn)
{
    try {
        Fn();
    } catch (const EReadError& E) {
        if (HasLine(E))
            throw;
        Fail(Line, Context + ": " + E.GetMessage());
    } catch (const EComponentError& E) {
        Fail(Line, Context + ": " + E.GetMessage());
    } catch (const EConvertError& E) {
        Fail(Line, Context + ": " + E.GetMessage());
    }
}

class TReadWatcher : public TComponent
{
public:
    explicit TReadWatcher(std::function<void(TComponent*)> OnRemove)
        : TComponent(nullptr), FOnRemove(std::move(OnRemove))
    {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            FOnRemove(AComponent);
    }

private:
    std::function<void(TComponent*)> FOnRemove;
};

std::string Describe(const TComponent& C)
{
    return C.GetName().empty() ? C.ClassName() : C.GetName();
}

} // namespace

TFormReader::TFormReader(TComponent& Root)
    : FRoot(Root),
      FWatcher(std::make_unique<TReadWatcher>([this](TComponent* C) { FAlive.erase(C); }))
{}

TFormReader::~TFormReader()
{
    for (TComponent* C : FAlive)
        FWatcher->RemoveFreeNotification(C);
}

void TFormReader::SetFindGlobalComponent(TFindGlobalComponent Finder)
{
    GlobalFinder() = std::move(Finder);
}

void TFormReader::ReadInto(TComponent& Root, std::string_view Text)
{
    ReadInto(Root, TFormParser::Parse(Text));
}

void TFormReader::ReadInto(TComponent& Root, const TFormObject& Description)
{
    TFormReader Reader(Root);
    Reader.Read(Description, false);
}

TComponent* TFormReader::ReadComponent(std::string_view Text, TComponent* Owner)
{
    const TFormObject Description = TFormParser::Parse(Text);
    const TClassInfo* Class = GetClass(Description.ClassName);
    if (!Class)
        Fail(Description.Line, "Class " + Description.ClassName + " not found");
    if (!Class->IsComponentClass() || !Class->CanCreate())
        Fail(Description.Line, "Class " + Class->GetName() + " cannot be created");
    TComponent* Root = nullptr;
    Guarded(Description.Line, "Creating " + Class->GetName(), [&] { Root = Class->Create(Owner); });
    TFormReader Reader(*Root);
    Reader.Track(Root);
    Reader.Read(Description, true);
    return Root;
}

void TFormReader::Track(TComponent* Component)
{
    FAlive.insert(Component);
    FWatcher->FreeNotification(Component);
}

void TFormReader::Read(const TFormObject& Description, bool RootCreated)
{
    try {
        ReadRootHeader(Description);
        FLoaded.push_back(&FRoot);
        ReadProperties(FRoot, Description);
        for (const TFormObject& Child : Description.Children)
            ReadChild(FRoot, Child, 1);
        ResolveFixups();
        const std::vector<TComponent*> Loaded = FLoaded;
        for (TComponent* C : Loaded)
            if (C == &FRoot || IsAlive(C))
                C->FComponentState.Exclude(csReading);
        for (TComponent* C : Loaded)
            if (C == &FRoot || IsAlive(C))
                C->Loaded();
    } catch (...) {
        Cleanup(RootCreated);
        throw;
    }
}

void TFormReader::ReadRootHeader(const TFormObject& Description)
{
    if (!FRoot.GetClassInfo().InheritsFrom(Description.ClassName))
        Fail(Description.Line, "The description is of " + Description.ClassName + ", which a " +
                                   FRoot.ClassName() + " is not");
    FRoot.FComponentState.Include(csLoading);
    FRoot.FComponentState.Include(csReading);
    const std::string& Name = Description.Name;
    if (!Name.empty() && Name != FRoot.GetName()) {
        std::string Unique = Name;
        if (TComponent* Owner = FRoot.GetOwner()) {
            for (int N = 1;; ++N) {
                TComponent* Existing = Owner->FindComponent(Unique);
                if (!Existing || Existing == &FRoot)
                    break;
                Unique = Name + "_" + std::to_string(N);
            }
        }
        Guarded(Description.Line, "Naming the root", [&] { FRoot.SetName(Unique); });
    }
}

void TFormReader::ReadChild(TComponent& Parent, const TFormObject& Description, int Depth)
{
    const int Line = Description.Line;
    if (Depth > TFormParser::MaxNesting)
        Fail(Line, "Objects nested too deep");
    const TClassInfo* Class = GetClass(Description.ClassName);
    if (!Class)
        Fail(Line, "Class " + Description.ClassName + " not found");
    if (!Class->IsComponentClass())
        Fail(Line, Class->GetName() + " is not a component class");
    if (!Class->CanCreate())
        Fail(Line, "Class " + Class->GetName() + " cannot be created");

    const std::string What = Description.Name.empty() ? Class->GetName() : Description.Name;
    TComponent* C = nullptr;
    Guarded(Line, "Creating " + What, [&] { C = Class->Create(&FRoot); });
    FCreated.push_back(C);
    Track(C);
    C->FComponentState.Include(csLoading);
    C->FComponentState.Include(csReading);
    Guarded(Line, "Naming " + What, [&] { C->SetName(Description.Name); });
    Guarded(Line, "Placing " + What, [&] { C->SetParentComponent(&Parent); });
    FLoaded.push_back(C);
    ReadProperties(*C, Description);
    for (const TFormObject& Child : Description.Children) {
        if (!IsAlive(C))
            Fail(Child.Line, What + " was destroyed while it was read");
        ReadChild(*C, Child, Depth + 1);
    }
}

void TFormReader::ReadProperties(TComponent& Component, const TFormObject& Description)
{
    FCurrent = Describe(Component);
    for (const TFormObject::TProperty& P : Description.Properties) {
        if (&Component != &FRoot && !IsAlive(&Component))
            Fail(P.Line, FCurrent + " was destroyed while it was read");
        ReadProperty(Component, P);
    }
}

void TFormReader::ReadProperty(TComponent& Component, const TFormObject::TProperty& Property)
{
    TPersistent* Target = &Component;
    std::string Path; // the part of the name resolved so far
    std::string_view Rest = Property.Name;
    for (;;) {
        const std::size_t Dot = Rest.find('.');
        const std::string Part(Rest.substr(0, Dot));
        const TPropInfo* Info = Target->GetClassInfo().FindProperty(Part);
        Path += Path.empty() ? Part : "." + Part;
        if (Dot == std::string_view::npos) {
            if (Info)
                SetValue(Component, *Target, *Info, Property);
            else
                ReadDefined(*Target, Part, Property);
            return;
        }
        if (!Info)
            Fail(Property.Line, "Property " + FCurrent + "." + Path + " does not exist");
        // The classic spelling of a string list: Items.Strings = ('a' 'b').
        if (Info->GetKind() == TPropKind::StringList && Rest.substr(Dot + 1) == "Strings") {
            SetValue(Component, *Target, *Info, Property);
            return;
        }
        if (Info->GetKind() != TPropKind::Persistent)
            Fail(Property.Line, "Property " + FCurrent + "." + Path + " has no sub-properties");
        Target = Info->GetSubObject(*Target);
        if (!Target)
            Fail(Property.Line, "Property " + FCurrent + "." + Path + " holds no object");
        Rest = Rest.substr(Dot + 1);
    }
}

void TFormReader::SetValue(TComponent& Component, TPersistent& Instance, const TPropInfo& Info,
                           const TFormObject::TProperty& Property)
{
    const TFormValue& V = Property.Value;
    const int Line = Property.Line;
    const std::string Name = FCurrent + "." + Property.Name;
    const std::string Context = "Error reading " + Name;
    const auto Mismatch = [&](const char* Expected) {
        Fail(Line,
             "Invalid value for " + Name + ": " + Expected + " expected, not " + V.DescribeKind());
    };
    const auto SetOrdinal = [&](std::int64_t Value) {
        Guarded(Line, Context, [&] { Info.SetOrdinal(Instance, Value); });
    };

    switch (Info.GetKind()) {
    case TPropKind::Integer:
    case TPropKind::Unsigned: {
        std::int64_t Value = V.GetInteger();
        if (V.GetKind() == TFormValue::vkIdent && !Info.GetIdents().empty()) {
            if (!Info.IdentToOrdinal(V.GetText(), Value))
                Fail(Line, "Invalid value " + V.GetText() + " for " + Name);
        } else if (V.GetKind() != TFormValue::vkInteger) {
            Mismatch("an integer");
        }
        if (Value < Info.GetMinOrdinal() || Value > Info.GetMaxOrdinal())
            Fail(Line, "Value " + std::to_string(Value) + " out of range for " + Name);
        SetOrdinal(Value);
        return;
    }
    case TPropKind::Boolean:
        if (V.IsIdent("True"))
            SetOrdinal(1);
        else if (V.IsIdent("False"))
            SetOrdinal(0);
        else
            Mismatch("True or False");
        return;
    case TPropKind::Enumeration: {
        if (V.GetKind() != TFormValue::vkIdent)
            Mismatch("an identifier");
        const int Index = Info.IndexOfName(V.GetText());
        if (Index < 0)
            Fail(Line, "Invalid value " + V.GetText() + " for " + Name);
        SetOrdinal(Index);
        return;
    }
    case TPropKind::Set: {
        if (V.GetKind() != TFormValue::vkSet)
            Mismatch("a set");
        std::int64_t Bits = 0;
        for (const std::string& E : V.GetElements()) {
            const int Index = Info.IndexOfName(E);
            if (Index < 0)
                Fail(Line, "Invalid set element " + E + " for " + Name);
            Bits |= std::int64_t(1) << Index;
        }
        SetOrdinal(Bits);
        return;
    }
    case TPropKind::Color: {
        TColor Color = 0;
        if (V.GetKind() == TFormValue::vkIdent) {
            if (!IdentToColor(V.GetText(), Color))
                Fail(Line, "Invalid colour " + V.GetText() + " for " + Name);
        } else if (V.GetKind() == TFormValue::vkInteger) {
            // Negative numbers are the two's complement spelling of system colours.
            if (V.GetInteger() < std::numeric_limits<std::int32_t>::min() ||
                V.GetInteger() > std::int64_t(std::numeric_limits<std::uint32_t>::max()))
                Fail(Line, "Colour value out of range for " + Name);
            Color = TColor(std::uint32_t(V.GetInteger()));
        } else {
            Mismatch("a colour");
        }
        SetOrdinal(Color);
        return;
    }
    case TPropKind::String:
        if (V.GetKind() != TFormValue::vkString)
            Mismatch("a string");
        Guarded(Line, Context, [&] { Info.SetString(Instance, V.GetText()); });
        return;
    case TPropKind::StringList: {
        if (V.GetKind() != TFormValue::vkList)
            Mismatch("a list of strings");
        std::vector<std::string> Strings;
        for (const TFormValue& Item : V.GetItems()) {
            if (Item.GetKind() != TFormValue::vkString)
                Fail(Line, "Invalid value for " + Name + ": the list holds " + Item.DescribeKind());
            Strings.push_back(Item.GetText());
        }
        Guarded(Line, Context, [&] { Info.SetStrings(Instance, Strings); });
        return;
    }
    case TPropKind::Component:
        if (V.GetKind() != TFormValue::vkIdent)
            Mismatch("a component name");
        if (V.IsIdent("nil"))
            Guarded(Line, Context, [&] { Info.SetComponent(Instance, nullptr); });
        else
            FFixups.push_back({&Component, &Instance, &Info, V.GetText(), Line});
        return;
    case TPropKind::Event: {
        if (V.GetKind() != TFormValue::vkIdent)
            Mismatch("a method name");
        if (V.IsIdent("nil")) {
            Guarded(Line, Context, [&] { Info.SetEvent(Instance, nullptr, nullptr); });
            return;
        }
        const TMethodInfo* Method = FRoot.GetClassInfo().FindMethod(V.GetText());
        if (!Method)
            Fail(Line, "The method " + V.GetText() + " does not exist in " + FRoot.ClassName());
        if (Method->GetSignature() != Info.GetEventSignature())
            Fail(Line, "The method " + V.GetText() + " does not fit the event " + Name);
        Guarded(Line, Context, [&] { Info.SetEvent(Instance, &FRoot, Method); });
        return;
    }
    case TPropKind::Persistent: {
        if (V.GetKind() != TFormValue::vkIdent && V.GetKind() != TFormValue::vkInteger)
            Fail(Line, "Invalid value for " + Name + ": give its sub-properties, or a resource");
        TPersistent* Sub = Info.GetSubObject(Instance);
        if (!Sub)
            Fail(Line, "Property " + Name + " holds no object");
        const std::string Reference =
            V.GetKind() == TFormValue::vkIdent ? V.GetText() : std::to_string(V.GetInteger());
        bool Taken = false;
        Guarded(Line, Context, [&] { Taken = Sub->ReadReference(Reference); });
        if (!Taken)
            Fail(Line, "Invalid value " + Reference + " for " + Name);
        return;
    }
    }
}

void TFormReader::ReadDefined(TPersistent& Instance, const std::string& Name,
                              const TFormObject::TProperty& Property)
{
    const int Line = Property.Line;
    const std::string Full = FCurrent + "." + Property.Name;
    TFiler Filer(false);
    Guarded(Line, "Error reading " + Full, [&] { Instance.DefineProperties(Filer); });
    const TFiler::TDefinition* D = Filer.Find(Name);
    if (!D)
        Fail(Line, "Property " + Full + " does not exist");
    const TFormValue& V = Property.Value;
    if (D->Binary) {
        if (V.GetKind() != TFormValue::vkBinary)
            Fail(Line, "Invalid value for " + Full + ": a binary block expected, not " +
                           V.DescribeKind());
        if (D->ReadData) {
            TMemoryStream Stream(V.GetBytes());
            Guarded(Line, "Error reading " + Full, [&] { D->ReadData(Stream); });
        }
    } else if (D->ReadValue) {
        Guarded(Line, "Error reading " + Full, [&] { D->ReadValue(V); });
    }
}

void TFormReader::ResolveFixups()
{
    for (const TFixup& F : FFixups) {
        if (F.Component != &FRoot && !IsAlive(F.Component))
            continue;
        const std::string Name = Describe(*F.Component) + "." + F.Property->GetName();
        TComponent* Target = FindReference(F.Reference);
        if (!Target)
            Fail(F.Line, "Unresolved reference to " + F.Reference + " in " + Name);
        if (!F.Property->AcceptsComponent(Target))
            Fail(F.Line, F.Reference + " is a " + Target->ClassName() + ", which " + Name + " (a " +
                             F.Property->GetComponentClassName() + ") cannot take");
        Guarded(F.Line, "Error reading " + Name,
                [&] { F.Property->SetComponent(*F.Instance, Target); });
    }
}

TComponent* TFormReader::FindReference(std::string_view Name) const
{
    const std::size_t Dot = Name.find('.');
    if (Dot == std::string_view::npos) {
        if (!FRoot.GetName().empty() && SameIdent(Name, FRoot.GetName()))
            return &FRoot;
        return FRoot.FindComponent(Name);
    }
    const std::string_view First = Name.substr(0, Dot);
    const std::string_view Rest = Name.substr(Dot + 1);
    if (Rest.find('.') != std::string_view::npos)
        return nullptr;
    if (!FRoot.GetName().empty() && SameIdent(First, FRoot.GetName()))
        return FRoot.FindComponent(Rest);
    const TFindGlobalComponent& Finder = GlobalFinder();
    TComponent* Owner = Finder ? Finder(First) : nullptr;
    return Owner ? Owner->FindComponent(Rest) : nullptr;
}

void TFormReader::Cleanup(bool RootCreated)
{
    // Newest first, skipping any that went with an earlier one.
    for (auto It = FCreated.rbegin(); It != FCreated.rend(); ++It)
        if (IsAlive(*It))
            delete *It;
    if (RootCreated) {
        if (IsAlive(&FRoot))
            delete &FRoot;
    } else {
        FRoot.FComponentState.Exclude(csLoading);
        FRoot.FComponentState.Exclude(csReading);
    }
}
