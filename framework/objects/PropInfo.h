#pragma once

#include "base/Color.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TMethodInfo;
template <typename T>
class TClassDeclaration;

// What a published property holds, which decides how a form description spells its value.
enum class TPropKind
{
    Integer,     // signed 32-bit
    Unsigned,    // unsigned 32-bit
    Boolean,     // True / False
    Enumeration, // one of a list of names, ordinal = index
    Set,         // [names], bit n = name n
    Color,       // clXxx name or a number
    String,      // UTF-8 text
    Component,   // reference to another component, by name
    Event,       // handler, by the name of a published method of the root
    Persistent,  // owned sub-object whose own properties are written as Prop.Sub
    StringList   // list of strings
};

// One published property of a class: its name, kind, stored default and type-erased accessors.
// Built by TClassDeclaration; the accessors are valid only on instances of the declaring class
// and only for the kinds they belong to.
class TPropInfo
{
public:
    TPropInfo(std::string Name, TPropKind Kind);

    const std::string& GetName() const { return FName; }
    TPropKind GetKind() const { return FKind; }
    bool IsOrdinal() const;

    // Declaration modifiers. An ordinal property equal to its default is not written; a property
    // that is always stored is written whatever it holds; Stored(...) decides per instance.
    TPropInfo& Default(std::int64_t Value);
    TPropInfo& AlwaysStored();
    TPropInfo& Stored(std::function<bool(const TPersistent&)> IsStored);
    // Names for some values of an Integer or Unsigned property (crHandPoint = -21): written by
    // name, and read by name as well as by number.
    TPropInfo& Idents(std::vector<std::pair<std::int64_t, std::string>> Map);

    std::int64_t GetDefault() const { return FDefault; }
    bool IsAlwaysStored() const { return FAlwaysStored; }
    bool IsStored(const TPersistent& Instance) const;
    // Enumeration and set element names, by ordinal.
    const std::vector<std::string>& GetNames() const { return FNames; }
    int IndexOfName(std::string_view Name) const; // -1 when absent; case-insensitive
    const std::vector<std::pair<std::int64_t, std::string>>& GetIdents() const { return FIdents; }
    bool OrdinalToIdent(std::int64_t Value, std::string& Ident) const;
    bool IdentToOrdinal(std::string_view Ident, std::int64_t& Value) const;

    // Integer, Unsigned, Boolean, Enumeration, Set (the bit mask) and Color.
    std::int64_t GetOrdinal(const TPersistent& Instance) const { return FGetOrdinal(Instance); }
    void SetOrdinal(TPersistent& Instance, std::int64_t Value) const
    {
        FSetOrdinal(Instance, Value);
    }
    // The smallest and largest ordinal the property can hold.
    std::int64_t GetMinOrdinal() const;
    std::int64_t GetMaxOrdinal() const;

    std::string GetString(const TPersistent& Instance) const { return FGetString(Instance); }
    void SetString(TPersistent& Instance, const std::string& Value) const
    {
        FSetString(Instance, Value);
    }

    std::vector<std::string> GetStrings(const TPersistent& Instance) const
    {
        return FGetStrings(Instance);
    }
    void SetStrings(TPersistent& Instance, const std::vector<std::string>& Value) const
    {
        FSetStrings(Instance, Value);
    }

    TComponent* GetComponent(const TPersistent& Instance) const { return FGetComponent(Instance); }
    void SetComponent(TPersistent& Instance, TComponent* Value) const
    {
        FSetComponent(Instance, Value);
    }
    // Whether a reference to Value fits the property's component class.
    bool AcceptsComponent(TComponent* Value) const { return FAccepts(Value); }
    const std::string& GetComponentClassName() const { return FComponentClassName; }

    // The owned sub-object of a Persistent property (null when the instance has none).
    TPersistent* GetSubObject(TPersistent& Instance) const { return FGetSubObject(Instance); }

    std::type_index GetEventSignature() const { return FEventSignature; }
    // The object and method name the handler is bound to (null and empty when unnamed).
    TObject* GetEventTarget(const TPersistent& Instance) const { return FGetEventTarget(Instance); }
    std::string GetEventMethod(const TPersistent& Instance) const
    {
        return FGetEventMethod(Instance);
    }
    // Binds the event to Target's Method, or clears it when Method is null.
    void SetEvent(TPersistent& Instance, TObject* Target, const TMethodInfo* Method) const
    {
        FSetEvent(Instance, Target, Method);
    }

private:
    template <typename T>
    friend class TClassDeclaration;

    std::string FName;
    TPropKind FKind;
    std::int64_t FDefault = 0;
    bool FAlwaysStored = false;
    std::function<bool(const TPersistent&)> FStored;
    std::vector<std::string> FNames;
    std::vector<std::pair<std::int64_t, std::string>> FIdents;

    std::function<std::int64_t(const TPersistent&)> FGetOrdinal;
    std::function<void(TPersistent&, std::int64_t)> FSetOrdinal;
    std::function<std::string(const TPersistent&)> FGetString;
    std::function<void(TPersistent&, const std::string&)> FSetString;
    std::function<std::vector<std::string>(const TPersistent&)> FGetStrings;
    std::function<void(TPersistent&, const std::vector<std::string>&)> FSetStrings;
    std::function<TComponent*(const TPersistent&)> FGetComponent;
    std::function<void(TPersistent&, TComponent*)> FSetComponent;
    std::function<bool(TComponent*)> FAccepts;
    std::string FComponentClassName;
    std::function<TPersistent*(TPersistent&)> FGetSubObject;
    std::type_index FEventSignature = typeid(void);
    std::function<TObject*(const TPersistent&)> FGetEventTarget;
    std::function<std::string(const TPersistent&)> FGetEventMethod;
    std::function<void(TPersistent&, TObject*, const TMethodInfo*)> FSetEvent;
};

// Whether Text is an identifier of a form description: a letter or '_' then letters, digits or
// '_' (ASCII only).
bool IsValidIdent(std::string_view Text);
// Identifiers compare without regard to (ASCII) case, as in the form descriptions.
bool SameIdent(std::string_view A, std::string_view B);

// The clXxx name of a colour, or false when it has none.
bool ColorToIdent(TColor Color, std::string& Ident);
// The colour a clXxx name stands for (case-insensitive), or false.
bool IdentToColor(std::string_view Ident, TColor& Color);
