#include "framework/Object.h"

#include "framework/ClassDeclaration.h"

const TClassInfo& TObject::GetClassInfo() const
{
    return ClassInfoOf<TObject>();
}
