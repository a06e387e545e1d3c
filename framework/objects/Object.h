#pragma once

#include "framework/objects/ClassInfo.h"

#include <string>
#include <string_view>

// The root of every class that has class information: the run-time name and ancestry that form
// descriptions, event senders and the class registry rely on.
class TObject
{
public:
    using TSelf = TObject;
    using TInherited = TObject;
    static constexpr const char* StaticClassName = "TObject";

    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;

    virtual const TClassInfo& GetClassInfo() const;
    const std::string& ClassName() const { return GetClassInfo().GetName(); }
    bool InheritsFrom(const TClassInfo& Ancestor) const
    {
        return GetClassInfo().InheritsFrom(Ancestor);
    }
};
