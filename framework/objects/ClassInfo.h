#pragma once

#include "framework/objects/MethodInfo.h"
#include "framework/objects/PropInfo.h"

#include <functional>
#include <memory>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

class TComponent;

// What the framework knows of a class at run time: its name, its parent, its published
// properties (the inherited ones first, in declaration order), its published methods and, for a
// component class that can be instantiated, the virtual constructor that takes the owner.
class TClassInfo
{
public:
    using TFactory = std::function<TComponent*(TComponent* Owner)>;

    TClassInfo(std::string Name, const TClassInfo* Parent);

    const std::string& GetName() const { return FName; }
    const TClassInfo* GetParent() const { return FParent; }
    bool InheritsFrom(const TClassInfo& Ancestor) const;
    // Whether this class or an ancestor is named Name (case-insensitive).
    bool InheritsFrom(std::string_view AncestorName) const;
    bool IsComponentClass() const { return FComponentClass; }

    // The properties as const TPropInfo&, in order.
    auto GetProperties() const
    {
        return FProperties |
               std::views::transform(
                   [](const std::shared_ptr<TPropInfo>& P) -> const TPropInfo& { return *P; });
    }
    const TPropInfo* FindProperty(std::string_view Name) const;
    // Searches this class, then its ancestors.
    const TMethodInfo* FindMethod(std::string_view Name) const;
    const std::vector<TMethodInfo>& GetMethods() const { return FMethods; }

    bool CanCreate() const { return bool(FFactory); }
    // Constructs an instance owned by Owner; EComponentError for a class that has no factory.
    TComponent* Create(TComponent* Owner) const;

private:
    template <typename T>
    friend class TClassDeclaration;
    template <typename T>
    friend const TClassInfo& ClassInfoOf();

    // A property of the same name as an inherited one replaces it in its inherited place.
    TPropInfo& AddProperty(TPropInfo Info);
    void AddMethod(TMethodInfo Info);

    std::string FName;
    const TClassInfo* FParent;
    bool FComponentClass = false;
    // Shared with the descendants, which inherit them: a class's information is built once and
    // never changes, and a control class inherits some forty properties.
    std::vector<std::shared_ptr<TPropInfo>> FProperties;
    std::vector<TMethodInfo> FMethods;
    TFactory FFactory;
};

// The class information of T, built once on first use (see ClassDeclaration.h).
template <typename T>
const TClassInfo& ClassInfoOf();

// Opens the class body of every class that has class information: names the class and its
// parent, and makes GetClassInfo() report it. Leaves the access at public. Published properties
// and methods go in an optional `static void DeclareClass(TClassDeclaration<Class>& D)`.
#define PUBLISHED_CLASS(Class, Parent)                                                             \
public:                                                                                            \
    using TSelf = Class;                                                                           \
    using TInherited = Parent;                                                                     \
    static constexpr const char* StaticClassName = #Class;                                         \
    const TClassInfo& GetClassInfo() const override                                                \
    {                                                                                              \
        return ClassInfoOf<Class>();                                                               \
    }
