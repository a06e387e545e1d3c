#pragma once

#include "framework/objects/ResourceTable.h"

#include <span>
#include <string_view>

// The resources compiled into the executable: pictures, image strips, form descriptions, the
// manual. Lookups never fail loudly; a missing resource is a null entry.
class TResources
{
public:
    static const TResourceEntry* Find(std::string_view Kind, int Id);
    static const TResourceEntry* FindByName(std::string_view Name);
    static std::span<const TResourceEntry> GetAll();
    // The text of the resource of that kind and name (a form description); EResNotFound when the
    // program holds none.
    static std::string_view GetText(std::string_view Kind, std::string_view Name);
};
