#include "framework/objects/Object.h"

#include "framework/objects/ClassDeclaration.h"

const TClassInfo& TObject::GetClassInfo() const
{
    return ClassInfoOf<TObject>();
}
