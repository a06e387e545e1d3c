#include "framework/objects/Persistent.h"

#include "base/Exception.h"
#include "framework/objects/Filer.h"

void TPersistent::Assign(const TPersistent* Source)
{
    if (Source)
        Source->AssignTo(*this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent& Dest) const
{
    Dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const
{
    throw EConvertError("Cannot assign " +
                        (Source ? "a " + Source->ClassName() : std::string("nil")) + " to a " +
                        ClassName());
}

bool TPersistent::ReadReference(std::string_view)
{
    return false;
}

std::string TPersistent::GetReference() const
{
    return {};
}

void TPersistent::DefineProperties(TFiler&) {}
