#pragma once

#include "framework/objects/FormValue.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TStream;

// What a persistent object hands to its DefineProperties: properties beyond the published ones,
// which the form reader and writer handle after the published properties. A plain property
// reads and writes a form value; a binary one reads from and writes to a stream (the value is a
// hexadecimal block in the description). HasData says whether the writer writes it at all.
class TFiler
{
public:
    using TValueReader = std::function<void(const TFormValue& Value)>;
    using TValueWriter = std::function<TFormValue()>;
    using TStreamProc = std::function<void(TStream& Stream)>;

    struct TDefinition
    {
        std::string Name;
        bool Binary = false;
        bool HasData = false;
        TValueReader ReadValue;
        TValueWriter WriteValue;
        TStreamProc ReadData;
        TStreamProc WriteData;
    };

    explicit TFiler(bool Writing) : FWriting(Writing) {}
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;
    virtual ~TFiler() = default;

    bool IsWriting() const { return FWriting; }

    virtual void DefineProperty(const std::string& Name, TValueReader ReadData,
                                TValueWriter WriteData, bool HasData);
    virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData,
                                      TStreamProc WriteData, bool HasData);

    // The definitions in the order made (a later one of the same name replaces an earlier one).
    const std::vector<TDefinition>& GetDefinitions() const { return FDefinitions; }
    const TDefinition* Find(std::string_view Name) const;

private:
    void Add(TDefinition Definition);

    bool FWriting;
    std::vector<TDefinition> FDefinitions;
};
