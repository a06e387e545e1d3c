#pragma once

#include "framework/objects/FormObject.h"

#include <string>
#include <unordered_set>
#include <vector>

class TComponent;
class TPersistent;

// Writes a component and everything nested inside it (GetChildren) as a form description: for
// each component its published properties in declared order, leaving out those equal to their
// stored default (but never one declared always stored), then its DefineProperties. Reading
// the result back into a fresh root gives the same state, and writing that again the same text.
// A state the syntax cannot express (an enumeration value without a name, a reference to an
// unnamed component) is an EWriteError.
class TFormWriter
{
public:
    static std::string WriteComponent(TComponent& Root);
    static TFormObject Describe(TComponent& Root);
    // The text of a description: two spaces of indent a level, binary blocks 32 bytes a line.
    static std::string Format(const TFormObject& Description);

private:
    explicit TFormWriter(TComponent& Root) : FRoot(Root) {}

    TFormObject DescribeComponent(TComponent& Component, int Depth);
    void WriteProperties(TPersistent& Instance, const std::string& Prefix,
                         std::vector<TFormObject::TProperty>& Out, int Depth);
    std::string ReferenceTo(const TComponent* Target, const std::string& Property) const;

    TComponent& FRoot;
    std::string FCurrent; // the component being written, for messages
    std::unordered_set<const TComponent*> FWritten;
};
