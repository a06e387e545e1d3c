#pragma once

#include "base/Exception.h"
#include "base/Set.h"
#include "framework/objects/Persistent.h"

#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

enum TOperation
{
    opInsert,
    opRemove
};

enum TComponentStateFlag
{
    csLoading,    // being built from a form description; cleared by Loaded
    csReading,    // its own properties are being read
    csWriting,    // being written to a form description
    csDestroying, // its destruction has begun
    csDesigning   // hosted by a form designer
};
using TComponentState = TSet<TComponentStateFlag>;

// A named object that owns other components: the owned ones are kept in creation order and are
// destroyed with their owner (the last created first). When a component is inserted into or
// removed from an owner, Notification reaches the owner and every component it owns; a component
// that refers to one with another owner asks for FreeNotification to learn of its destruction.
// The constructor is the virtual constructor of the class registry: it takes the owner.
// Deleting a component (by its owner, by a release, or directly) first calls BeforeDestruction
// on the whole object, then runs the destructors.
class TComponent : public TPersistent
{
    PUBLISHED_CLASS(TComponent, TPersistent)

    using TGetChildProc = std::function<void(TComponent* Child)>;

    explicit TComponent(TComponent* AOwner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    // Notifies the free-notification partners, destroys the owned components, then leaves the
    // owner (which notifies the owner's other components). A subclass whose owned components
    // must go before its own members calls DestroyComponents() in its destructor.
    ~TComponent() override;

    // Every delete of a component comes here, with the object still of its own class: it calls
    // BeforeDestruction, then destroys and frees the object. (A component that is not deleted,
    // a local variable or a member, skips BeforeDestruction.)
    static void operator delete(TComponent* Component, std::destroying_delete_t);
    // The allocation that goes with it, and the release of the memory when a constructor throws.
    // (Out of line: GCC would pair an inlined global allocation with the destroying delete and
    // call them mismatched.)
    static void* operator new(std::size_t Size);
    static void operator delete(void* Memory) noexcept;

    TComponent* GetOwner() const { return FOwner; }
    int GetComponentCount() const { return int(FComponents.size()); }
    // EComponentError for an index outside 0 .. count - 1.
    TComponent* GetComponent(int Index) const;
    // The index in the owner's list, or -1 without an owner.
    int GetComponentIndex() const;
    // The owned component of that name (case-insensitive), or null; an empty name finds nothing.
    TComponent* FindComponent(std::string_view Name) const;
    // The owned component of that name and class, for a form that reads its parts after loading
    // its description; EResNotFound names the part when the description lacks it.
    template <typename T>
    T* FindPart(std::string_view Name) const
    {
        T* Part = dynamic_cast<T*>(FindComponent(Name));
        if (!Part)
            throw EResNotFound("The form description lacks " + std::string(Name));
        return Part;
    }
    // Takes over AComponent from its current owner (EComponentError on a name clash).
    void InsertComponent(TComponent* AComponent);
    // Releases AComponent without destroying it; it then has no owner.
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks this component and those it owns as being destroyed.
    void Destroying();

    const std::string& GetName() const { return FName; }
    // An identifier unique among the owner's components, or empty; EComponentError otherwise.
    void SetName(const std::string& NewName);

    TComponentState GetComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState.Contains(csLoading); }
    bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
    bool IsDestroying() const { return FComponentState.Contains(csDestroying); }
    void SetDesigning(bool Value, bool SetChildren = true);

    // Asks AComponent to send Notification(AComponent, opRemove) to this one when it is
    // destroyed (and the reverse). Components of the same owner are told through the owner.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // The component a form description nests this one inside (a control's parent, a menu
    // item's parent item); null for one that sits directly in its root.
    virtual TComponent* GetParentComponent() const;
    bool HasParent() const { return GetParentComponent() != nullptr; }
    // Called by the form reader, before the properties are read, with the component the
    // description nests this one inside (the root for a top-level one). Does nothing here.
    virtual void SetParentComponent(TComponent* Value);
    // Calls Proc for each component that a form description nests inside this one: those owned
    // by Root whose parent component is this one (for Root: that have none), in creation order.
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);

protected:
    // Runs before any destructor, while every member of the derived classes is alive; the base
    // marks this component and those it owns as being destroyed. An override calls the
    // inherited one first.
    virtual void BeforeDestruction();
    // Reaches this component when AComponent is inserted into or removed from its owner, or is
    // destroyed after a FreeNotification; the base passes it on to every owned component.
    // An override that holds a reference clears it on opRemove and calls the inherited one.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once a form description has been read completely and its references resolved;
    // the base clears csLoading.
    virtual void Loaded();
    // Checks a new name of AComponent (owned by this one); EComponentError on a clash.
    virtual void ValidateRename(TComponent* AComponent, std::string_view CurName,
                                std::string_view NewName);

private:
    friend class TFormReader;
    friend class TFormWriter;

    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void NotifyFreeNotifies();

    TComponent* FOwner = nullptr;
    std::string FName;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};
