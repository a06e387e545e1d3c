#include "framework/objects/Resources.h"

#include "base/Exception.h"

#include <string>

std::span<const TResourceEntry> TResources::GetAll()
{
    return {GResourceTable, GResourceCount};
}

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

std::string_view TResources::GetText(std::string_view Kind, std::string_view Name)
{
    for (const auto& E : GetAll())
        if (Name == E.Name && Kind == E.Kind)
            return {reinterpret_cast<const char*>(E.Data.data()), E.Data.size()};
    throw EResNotFound("Resource " + std::string(Name) + " not found");
}
