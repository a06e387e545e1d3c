#include "framework/objects/ClassInfo.h"

#include "base/Exception.h"
#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/Component.h"
#include "framework/objects/Object.h"

#include <utility>

TClassInfo::TClassInfo(std::string Name, const TClassInfo* Parent)
    : FName(std::move(Name)), FParent(Parent)
{
    if (Parent) {
        FProperties = Parent->FProperties;
        FComponentClass = Parent->FComponentClass;
    }
}

bool TClassInfo::InheritsFrom(const TClassInfo& Ancestor) const
{
    for (const TClassInfo* C = this; C; C = C->FParent)
        if (C == &Ancestor)
            return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view AncestorName) const
{
    for (const TClassInfo* C = this; C; C = C->FParent)
        if (SameIdent(C->FName, AncestorName))
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view Name) const
{
    for (const auto& P : FProperties)
        if (SameIdent(P->GetName(), Name))
            return P.get();
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view Name) const
{
    for (const TClassInfo* C = this; C; C = C->FParent)
        for (const TMethodInfo& M : C->FMethods)
            if (SameIdent(M.GetName(), Name))
                return &M;
    return nullptr;
}

TComponent* TClassInfo::Create(TComponent* Owner) const
{
    if (!FFactory)
        throw EComponentError("Cannot create an instance of " + FName);
    return FFactory(Owner);
}

TPropInfo& TClassInfo::AddProperty(TPropInfo Info)
{
    if (!IsValidIdent(Info.GetName()))
        throw EComponentError(FName + ": '" + Info.GetName() + "' is not a valid property name");
    for (const std::string& N : Info.GetNames())
        if (!IsValidIdent(N))
            throw EComponentError(FName + "." + Info.GetName() + ": '" + N +
                                  "' is not a valid value name");
    for (const auto& Ident : Info.GetIdents())
        if (!IsValidIdent(Ident.second))
            throw EComponentError(FName + "." + Info.GetName() + ": '" + Ident.second +
                                  "' is not a valid value name");
    if (Info.GetKind() == TPropKind::Set && Info.GetNames().size() > 32)
        throw EComponentError(FName + "." + Info.GetName() + ": a set has at most 32 elements");
    auto Added = std::make_shared<TPropInfo>(std::move(Info));
    TPropInfo& Result = *Added;
    for (auto& P : FProperties)
        if (SameIdent(P->GetName(), Result.GetName())) {
            P = std::move(Added);
            return Result;
        }
    FProperties.push_back(std::move(Added));
    return Result;
}

void TClassInfo::AddMethod(TMethodInfo Info)
{
    if (!IsValidIdent(Info.GetName()))
        throw EComponentError(FName + ": '" + Info.GetName() + "' is not a valid method name");
    for (const TMethodInfo& M : FMethods)
        if (SameIdent(M.GetName(), Info.GetName()))
            throw EComponentError(FName + ": the method " + Info.GetName() + " is published twice");
    FMethods.push_back(std::move(Info));
}

void TMethodInfo::ThrowSignatureMismatch() const
{
    throw EComponentError("The method " + FName + " does not fit the event");
}

const TMethodInfo& FindPublishedMethod(const TObject& Target, std::string_view Name)
{
    const TMethodInfo* M = Target.GetClassInfo().FindMethod(Name);
    if (!M)
        throw EComponentError("The method " + std::string(Name) + " does not exist in " +
                              Target.ClassName());
    return *M;
}

namespace PropAccess {

void ThrowWrongComponentClass(const TComponent* Value, const char* Expected)
{
    throw EConvertError("A " + Value->ClassName() + " is not a " + Expected);
}

void ThrowWrongInstance(const TObject& Instance, const char* Expected)
{
    throw EComponentError("A " + Instance.ClassName() + " is not a " + Expected);
}

} // namespace PropAccess
