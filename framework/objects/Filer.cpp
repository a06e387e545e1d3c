#include "framework/objects/Filer.h"

#include "base/Exception.h"
#include "framework/objects/PropInfo.h"

#include <utility>

void TFiler::DefineProperty(const std::string& Name, TValueReader ReadData, TValueWriter WriteData,
                            bool HasData)
{
    TDefinition D;
    D.Name = Name;
    D.HasData = HasData;
    D.ReadValue = std::move(ReadData);
    D.WriteValue = std::move(WriteData);
    Add(std::move(D));
}

void TFiler::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData,
                                  TStreamProc WriteData, bool HasData)
{
    TDefinition D;
    D.Name = Name;
    D.Binary = true;
    D.HasData = HasData;
    D.ReadData = std::move(ReadData);
    D.WriteData = std::move(WriteData);
    Add(std::move(D));
}

const TFiler::TDefinition* TFiler::Find(std::string_view Name) const
{
    for (const TDefinition& D : FDefinitions)
        if (SameIdent(D.Name, Name))
            return &D;
    return nullptr;
}

void TFiler::Add(TDefinition Definition)
{
    if (!IsValidIdent(Definition.Name))
        throw EComponentError("'" + Definition.Name + "' is not a valid property name");
    for (TDefinition& D : FDefinitions)
        if (SameIdent(D.Name, Definition.Name)) {
            D = std::move(Definition);
            return;
        }
    FDefinitions.push_back(std::move(Definition));
}
