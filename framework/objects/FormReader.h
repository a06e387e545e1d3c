#pragma once

#include "framework/objects/FormObject.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class TComponent;
class TPersistent;
class TPropInfo;

// Builds live components from a form description. The root's nested objects become components
// owned by the root, created in the order written, named, nested (SetParentComponent) and given
// their properties through the setters while csLoading is on; events bind by name to published
// methods of the root; component references are resolved once the whole description is read;
// then Loaded runs on the root and on every component read, in that order. Any failure is an
// EReadError naming the line (or the exception a component raised itself), after everything
// the read created has been destroyed again.
class TFormReader
{
public:
    using TFindGlobalComponent = std::function<TComponent*(std::string_view Name)>;

    // Reads Text into an existing Root (a form reading its own description), whose class must
    // be, or inherit from, the class the description names. The root takes the description's
    // name (with a _N suffix when a sibling already has it).
    static void ReadInto(TComponent& Root, std::string_view Text);
    static void ReadInto(TComponent& Root, const TFormObject& Description);
    // Creates the registered class the description names, owned by Owner, and reads into it.
    static TComponent* ReadComponent(std::string_view Text, TComponent* Owner);

    // How a reference to a component outside the root (Form2.Button1) finds its first part;
    // without one such references cannot be resolved.
    static void SetFindGlobalComponent(TFindGlobalComponent Finder);

private:
    struct TFixup
    {
        TComponent* Component; // the one Instance is, or belongs to
        TPersistent* Instance;
        const TPropInfo* Property;
        std::string Reference;
        int Line;
    };

    explicit TFormReader(TComponent& Root);
    ~TFormReader();
    TFormReader(const TFormReader&) = delete;
    TFormReader& operator=(const TFormReader&) = delete;

    void Read(const TFormObject& Description, bool RootCreated);
    void ReadRootHeader(const TFormObject& Description);
    void ReadChild(TComponent& Parent, const TFormObject& Description, int Depth);
    void Track(TComponent* Component);
    bool IsAlive(TComponent* Component) const { return FAlive.count(Component) != 0; }
    void ReadProperties(TComponent& Component, const TFormObject& Description);
    void ReadProperty(TComponent& Component, const TFormObject::TProperty& Property);
    void SetValue(TComponent& Component, TPersistent& Instance, const TPropInfo& Info,
                  const TFormObject::TProperty& Property);
    void ReadDefined(TPersistent& Instance, const std::string& Name,
                     const TFormObject::TProperty& Property);
    void ResolveFixups();
    TComponent* FindReference(std::string_view Name) const;
    void Cleanup(bool RootCreated);

    TComponent& FRoot;
    std::string FCurrent; // the component being read, for messages
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
    // Learns of every tracked component's destruction, so that nothing is touched twice.
    std::unique_ptr<TComponent> FWatcher;
    std::unordered_set<TComponent*> FAlive;
};
