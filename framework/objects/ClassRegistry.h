#pragma once

#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/ClassInfo.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The classes that form descriptions may name, by class name (case-insensitive), and the pages
// of the component palette that a form designer offers.
class TClassRegistry
{
public:
    // Registering a class again is harmless; another class of the same name is an
    // EComponentError.
    static void Register(const TClassInfo& Class);
    static void Unregister(const TClassInfo& Class);
    // Null when no class of that name is registered.
    static const TClassInfo* Get(std::string_view Name);
    // EComponentError "Class TFoo not found" when none is.
    static const TClassInfo& Find(std::string_view Name);

    // Registers the classes (which must be component classes that can be created) and puts
    // them on the palette page, in the order given, each once.
    static void RegisterComponents(std::string_view Page,
                                   std::initializer_list<const TClassInfo*> Classes);
    static std::vector<std::string> GetPalettePages();
    static std::vector<const TClassInfo*> GetPaletteClasses(std::string_view Page);
};

template <typename T>
void RegisterClass()
{
    TClassRegistry::Register(ClassInfoOf<T>());
}

template <typename T>
void UnregisterClass()
{
    TClassRegistry::Unregister(ClassInfoOf<T>());
}

inline const TClassInfo* GetClass(std::string_view Name)
{
    return TClassRegistry::Get(Name);
}

inline const TClassInfo& FindClass(std::string_view Name)
{
    return TClassRegistry::Find(Name);
}

inline void RegisterComponents(std::string_view Page,
                               std::initializer_list<const TClassInfo*> Classes)
{
    TClassRegistry::RegisterComponents(Page, Classes);
}

// RegisterComponents<TRidivAzoza>("Additional") from a control module's Register.
template <typename... T>
void RegisterComponents(std::string_view Page)
{
    TClassRegistry::RegisterComponents(Page, {&ClassInfoOf<T>()...});
}
