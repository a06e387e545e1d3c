#include "framework/objects/FormWriter.h"

#include "base/Exception.h"
#include "framework/objects/Component.h"
#include "framework/objects/Filer.h"
#include "framework/objects/FormParser.h"
#include "framework/objects/MemoryStream.h"

#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

constexpr std::size_t BytesPerLine = 32;
// Sub-objects that hand out themselves (or a cycle) would otherwise never end.
constexpr int MaxSubObjectDepth = 16;

[[noreturn]] void Fail(const std::string& Message)
{
    throw EWriteError(Message);
}

// A decimal number that fits 18 digits, as a picture's resource number would.
bool IsNumber(const std::string& Text)
{
    std::size_t I = Text[0] == '-' ? 1 : 0;
    if (I >= Text.size() || Text.size() - I > 18)
        return false;
    for (; I < Text.size(); ++I)
        if (Text[I] < '0' || Text[I] > '9')
            return false;
    return true;
}

void AppendString(std::string& Out, const std::string& Text)
{
    if (Text.empty()) {
        Out += "''";
        return;
    }
    bool Quoted = false;
    for (char C : Text) {
        const auto U = static_cast<unsigned char>(C);
        if (U < 32 || U == 127) {
            if (Quoted)
                Out += '\'';
            Quoted = false;
            Out += '#';
            Out += std::to_string(U);
            continue;
        }
        if (!Quoted)
            Out += '\'';
        Quoted = true;
        Out += C;
        if (C == '\'')
            Out += '\'';
    }
    if (Quoted)
        Out += '\'';
}

void AppendValue(std::string& Out, const TFormValue& V, const std::string& Indent)
{
    switch (V.GetKind()) {
    case TFormValue::vkInteger:
        if (V.IsHex() && V.GetInteger() >= 0 && V.GetInteger() <= 0xFFFFFFFFll) {
            char Buffer[16];
            std::snprintf(Buffer, sizeof Buffer, "$%08llX",
                          static_cast<unsigned long long>(V.GetInteger()));
            Out += Buffer;
        } else {
            Out += std::to_string(V.GetInteger());
        }
        return;
    case TFormValue::vkString:
        AppendString(Out, V.GetText());
        return;
    case TFormValue::vkIdent:
        Out += V.GetText();
        return;
    case TFormValue::vkSet: {
        Out += '[';
        const auto& E = V.GetElements();
        for (std::size_t I = 0; I < E.size(); ++I) {
            if (I)
                Out += ", ";
            Out += E[I];
        }
        Out += ']';
        return;
    }
    case TFormValue::vkBinary: {
        static const char Hex[] = "0123456789ABCDEF";
        const auto& B = V.GetBytes();
        Out += '{';
        for (std::size_t I = 0; I < B.size(); ++I) {
            if (I % BytesPerLine == 0) {
                Out += '\n';
                Out += Indent;
                Out += "  ";
            }
            Out += Hex[B[I] >> 4];
            Out += Hex[B[I] & 15];
        }
        Out += '}';
        return;
    }
    case TFormValue::vkList: {
        Out += '(';
        for (const TFormValue& Item : V.GetItems()) {
            Out += '\n';
            Out += Indent;
            Out += "  ";
            AppendValue(Out, Item, Indent + "  ");
        }
        Out += ')';
        return;
    }
    }
}

void AppendObject(std::string& Out, const TFormObject& O, const std::string& Indent)
{
    Out += Indent;
    Out += "object ";
    if (!O.Name.empty()) {
        Out += O.Name;
        Out += ": ";
    }
    Out += O.ClassName;
    Out += '\n';
    const std::string Inner = Indent + "  ";
    for (const TFormObject::TProperty& P : O.Properties) {
        Out += Inner;
        Out += P.Name;
        Out += " = ";
        AppendValue(Out, P.Value, Inner);
        Out += '\n';
    }
    for (const TFormObject& Child : O.Children)
        AppendObject(Out, Child, Inner);
    Out += Indent;
    Out += "end\n";
}

} // namespace

std::string TFormWriter::WriteComponent(TComponent& Root)
{
    return Format(Describe(Root));
}

std::string TFormWriter::Format(const TFormObject& Description)
{
    std::string Out;
    AppendObject(Out, Description, "");
    return Out;
}

TFormObject TFormWriter::Describe(TComponent& Root)
{
    TFormWriter Writer(Root);
    struct TWritingState
    {
        TFormWriter& W;
        ~TWritingState()
        {
            for (const TComponent* C : W.FWritten)
                const_cast<TComponent*>(C)->FComponentState.Exclude(csWriting);
        }
    } Restore{Writer};
    return Writer.DescribeComponent(Root, 0);
}

TFormObject TFormWriter::DescribeComponent(TComponent& Component, int Depth)
{
    if (Depth > TFormParser::MaxNesting)
        Fail("Components nested more than " + std::to_string(TFormParser::MaxNesting) + " deep");
    if (!FWritten.insert(&Component).second)
        Fail(Component.GetName() + " is nested inside two components");
    Component.FComponentState.Include(csWriting);

    TFormObject O;
    O.Name = Component.GetName();
    O.ClassName = Component.ClassName();
    FCurrent = O.Name.empty() ? O.ClassName : O.Name;
    WriteProperties(Component, "", O.Properties, 0);

    std::vector<TComponent*> Children;
    Component.GetChildren([&](TComponent* Child) { Children.push_back(Child); }, &FRoot);
    for (TComponent* Child : Children)
        O.Children.push_back(DescribeComponent(*Child, Depth + 1));
    return O;
}

void TFormWriter::WriteProperties(TPersistent& Instance, const std::string& Prefix,
                                  std::vector<TFormObject::TProperty>& Out, int Depth)
{
    if (Depth > MaxSubObjectDepth)
        Fail(FCurrent + "." + Prefix + ": sub-objects nested too deep");
    const auto Add = [&](const std::string& Name, TFormValue Value) {
        Out.push_back({Prefix + Name, std::move(Value), 0});
    };

    for (const TPropInfo& P : Instance.GetClassInfo().GetProperties()) {
        if (!P.IsStored(Instance))
            continue;
        const std::string Name = FCurrent + "." + Prefix + P.GetName();
        const bool Always = P.IsAlwaysStored();
        if (P.IsOrdinal()) {
            const std::int64_t V = P.GetOrdinal(Instance);
            if (!Always && V == P.GetDefault())
                continue;
            switch (P.GetKind()) {
            case TPropKind::Boolean:
                Add(P.GetName(), TFormValue::FromIdent(V ? "True" : "False"));
                break;
            case TPropKind::Enumeration:
                if (V < 0 || V >= std::int64_t(P.GetNames().size()))
                    Fail(Name + " holds " + std::to_string(V) + ", which has no name");
                Add(P.GetName(), TFormValue::FromIdent(P.GetNames()[std::size_t(V)]));
                break;
            case TPropKind::Set: {
                if (V < 0 || V > P.GetMaxOrdinal())
                    Fail(Name + " holds elements that have no name");
                std::vector<std::string> Elements;
                for (std::size_t I = 0; I < P.GetNames().size(); ++I)
                    if (V & (std::int64_t(1) << I))
                        Elements.push_back(P.GetNames()[I]);
                Add(P.GetName(), TFormValue::FromSet(std::move(Elements)));
                break;
            }
            case TPropKind::Color: {
                std::string Ident;
                if (ColorToIdent(TColor(V), Ident))
                    Add(P.GetName(), TFormValue::FromIdent(Ident));
                else
                    Add(P.GetName(), TFormValue::FromInteger(std::uint32_t(V), true));
                break;
            }
            default: {
                std::string Ident;
                if (P.OrdinalToIdent(V, Ident))
                    Add(P.GetName(), TFormValue::FromIdent(Ident));
                else
                    Add(P.GetName(), TFormValue::FromInteger(V));
                break;
            }
            }
            continue;
        }
        switch (P.GetKind()) {
        case TPropKind::String: {
            std::string S = P.GetString(Instance);
            if (Always || !S.empty())
                Add(P.GetName(), TFormValue::FromString(std::move(S)));
            break;
        }
        case TPropKind::StringList: {
            std::vector<TFormValue> Items;
            for (std::string& S : P.GetStrings(Instance))
                Items.push_back(TFormValue::FromString(std::move(S)));
            if (Always || !Items.empty())
                Add(P.GetName(), TFormValue::FromList(std::move(Items)));
            break;
        }
        case TPropKind::Component: {
            const TComponent* Target = P.GetComponent(Instance);
            if (Target)
                Add(P.GetName(), TFormValue::FromIdent(ReferenceTo(Target, Name)));
            else if (Always)
                Add(P.GetName(), TFormValue::FromIdent("nil"));
            break;
        }
        case TPropKind::Event: {
            // Only handlers bound by name to the root's methods can be written; others were
            // assigned from code and are not part of the description.
            const std::string Method = P.GetEventMethod(Instance);
            if (P.GetEventTarget(Instance) == &FRoot && !Method.empty())
                Add(P.GetName(), TFormValue::FromIdent(Method));
            else if (Always)
                Add(P.GetName(), TFormValue::FromIdent("nil"));
            break;
        }
        case TPropKind::Persistent: {
            TPersistent* Sub = P.GetSubObject(Instance);
            if (!Sub)
                break;
            const std::string Reference = Sub->GetReference();
            if (Reference.empty()) {
                WriteProperties(*Sub, Prefix + P.GetName() + ".", Out, Depth + 1);
            } else if (IsNumber(Reference)) {
                Add(P.GetName(), TFormValue::FromInteger(std::stoll(Reference)));
            } else if (IsValidIdent(Reference)) {
                Add(P.GetName(), TFormValue::FromIdent(Reference));
            } else {
                Fail(Name + " refers to '" + Reference + "', which is not an identifier");
            }
            break;
        }
        default:
            break;
        }
    }

    TFiler Filer(true);
    Instance.DefineProperties(Filer);
    for (const TFiler::TDefinition& D : Filer.GetDefinitions()) {
        if (!D.HasData)
            continue;
        if (D.Binary) {
            if (!D.WriteData)
                continue;
            TMemoryStream Stream;
            D.WriteData(Stream);
            Add(D.Name, TFormValue::FromBinary(Stream.TakeData()));
        } else if (D.WriteValue) {
            Add(D.Name, D.WriteValue());
        }
    }
}

std::string TFormWriter::ReferenceTo(const TComponent* Target, const std::string& Property) const
{
    if (Target == &FRoot) {
        if (FRoot.GetName().empty())
            Fail(Property + " refers to the root, which has no name");
        return FRoot.GetName();
    }
    if (Target->GetName().empty())
        Fail(Property + " refers to an unnamed " + Target->ClassName());
    if (Target->GetOwner() == &FRoot)
        return Target->GetName();
    const TComponent* Owner = Target->GetOwner();
    if (!Owner || Owner->GetName().empty())
        Fail(Property + " refers to " + Target->GetName() + ", whose owner has no name");
    return Owner->GetName() + "." + Target->GetName();
}
