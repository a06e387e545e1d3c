#include "framework/Resources.h"

std::span<const TResourceEntry> TResources::GetAll() { return {GResourceTable, GResourceCount}; }

const TResourceEntry* TResources::Find(std::string_view Kind, int Id)
{
    for (const auto& E : GetAll())
        if (E.Id == Id && Kind == E.Kind)
            return &E;
    return nullptr;
}

const TResourceEntry* TResources::FindByName(std::string_view Name)
{
    for (const auto& E : GetAll())
        if (Name == E.Name)
            return &E;
    return nullptr;
}
