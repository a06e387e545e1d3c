#include "framework/objects/ClassRegistry.h"

#include "base/Exception.h"

#include <algorithm>

namespace {

struct TPalettePage
{
    std::string Name;
    std::vector<const TClassInfo*> Classes;
};

// Function-local, so that registration from static initialisers in any order is safe.
std::vector<const TClassInfo*>& Classes()
{
    static std::vector<const TClassInfo*> List;
    return List;
}

std::vector<TPalettePage>& Pages()
{
    static std::vector<TPalettePage> List;
    return List;
}

} // namespace

void TClassRegistry::Register(const TClassInfo& Class)
{
    if (const TClassInfo* Existing = Get(Class.GetName())) {
        if (Existing == &Class)
            return;
        throw EComponentError("A class named " + Class.GetName() + " is already registered");
    }
    Classes().push_back(&Class);
}

void TClassRegistry::Unregister(const TClassInfo& Class)
{
    auto& List = Classes();
    List.erase(std::remove(List.begin(), List.end(), &Class), List.end());
    for (TPalettePage& Page : Pages())
        Page.Classes.erase(std::remove(Page.Classes.begin(), Page.Classes.end(), &Class),
                           Page.Classes.end());
}

const TClassInfo* TClassRegistry::Get(std::string_view Name)
{
    for (const TClassInfo* C : Classes())
        if (SameIdent(C->GetName(), Name))
            return C;
    return nullptr;
}

const TClassInfo& TClassRegistry::Find(std::string_view Name)
{
    const TClassInfo* C = Get(Name);
    if (!C)
        throw EComponentError("Class " + std::string(Name) + " not found");
    return *C;
}

void TClassRegistry::RegisterComponents(std::string_view Page,
                                        std::initializer_list<const TClassInfo*> List)
{
    if (Page.empty())
        throw EComponentError("A palette page needs a name");
    for (const TClassInfo* C : List)
        if (!C || !C->IsComponentClass() || !C->CanCreate())
            throw EComponentError((C ? C->GetName() : std::string("A null class")) +
                                  " cannot be put on a palette page");
    for (const TClassInfo* C : List)
        Register(*C);
    auto& All = Pages();
    auto It =
        std::find_if(All.begin(), All.end(), [&](const TPalettePage& P) { return P.Name == Page; });
    if (It == All.end()) {
        All.push_back({std::string(Page), {}});
        It = All.end() - 1;
    }
    for (const TClassInfo* C : List)
        if (std::find(It->Classes.begin(), It->Classes.end(), C) == It->Classes.end())
            It->Classes.push_back(C);
}

std::vector<std::string> TClassRegistry::GetPalettePages()
{
    std::vector<std::string> Names;
    for (const TPalettePage& P : Pages())
        Names.push_back(P.Name);
    return Names;
}

std::vector<const TClassInfo*> TClassRegistry::GetPaletteClasses(std::string_view Page)
{
    for (const TPalettePage& P : Pages())
        if (P.Name == Page)
            return P.Classes;
    return {};
}
