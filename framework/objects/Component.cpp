#include "framework/objects/Component.h"

#include "base/Exception.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    NotifyFreeNotifies();
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void* TComponent::operator new(std::size_t Size)
{
    return ::operator new(Size);
}

void TComponent::operator delete(void* Memory) noexcept
{
    ::operator delete(Memory);
}

void TComponent::operator delete(TComponent* Component, std::destroying_delete_t)
{
    // The whole object begins where its most derived class does.
    void* Whole = dynamic_cast<void*>(Component);
    // A deallocation function does not throw: an exception out of BeforeDestruction (an
    // OnDestroy handler) ends the program here, as it would in a destructor.
    Component->BeforeDestruction();
    Component->~TComponent();
    ::operator delete(Whole);
}

void TComponent::BeforeDestruction()
{
    Destroying();
}

TComponent* TComponent::GetComponent(int Index) const
{
    if (Index < 0 || Index >= GetComponentCount())
        throw EComponentError("Component index out of bounds (" + std::to_string(Index) + ")");
    return FComponents[std::size_t(Index)];
}

int TComponent::GetComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto& List = FOwner->FComponents;
    return int(std::find(List.begin(), List.end(), this) - List.begin());
}

TComponent* TComponent::FindComponent(std::string_view Name) const
{
    if (Name.empty())
        return nullptr;
    for (TComponent* C : FComponents)
        if (SameIdent(C->FName, Name))
            return C;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    for (const TComponent* O = this; O; O = O->FOwner)
        if (O == AComponent)
            throw EComponentError("A component cannot own itself or its owner");
    ValidateRename(AComponent, {}, AComponent->FName);
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (IsDesigning())
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    for (TComponent* C : FComponents)
        C->Destroying();
    // Each one leaves the list as it goes, telling the ones that remain.
    while (!FComponents.empty())
        delete FComponents.back();
}

void TComponent::Destroying()
{
    if (IsDestroying())
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* C : FComponents)
        C->Destroying();
}

void TComponent::SetName(const std::string& NewName)
{
    if (NewName == FName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, std::string_view, std::string_view NewName)
{
    TComponent* Existing = FindComponent(NewName);
    if (Existing && Existing != AComponent)
        throw EComponentError("A component named " + std::string(NewName) + " already exists");
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* C : FComponents)
            C->SetDesigning(Value, true);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (FOwner && AComponent->FOwner == FOwner)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) != FFreeNotifies.end())
        return;
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    const auto Unlink = [](std::vector<TComponent*>& List, TComponent* C) {
        List.erase(std::remove(List.begin(), List.end(), C), List.end());
    };
    if (!AComponent)
        return;
    Unlink(FFreeNotifies, AComponent);
    Unlink(AComponent->FFreeNotifies, this);
}

void TComponent::NotifyFreeNotifies()
{
    while (!FFreeNotifies.empty()) {
        TComponent* Partner = FFreeNotifies.back();
        RemoveFreeNotification(Partner);
        Partner->Notification(this, opRemove);
    }
}

TComponent* TComponent::GetParentComponent() const
{
    return nullptr;
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    if (!Root)
        return;
    // Iterating over a copy: Proc may not change the list under us.
    const std::vector<TComponent*> Owned = Root->FComponents;
    for (TComponent* C : Owned) {
        TComponent* Parent = C->GetParentComponent();
        if (Parent == this ||
            (this == Root && (!Parent || (Parent != Root && Parent->FOwner != Root))))
            Proc(C);
    }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Walk down from the end and re-check the bound: a handler may remove components.
    for (std::size_t I = FComponents.size(); I-- > 0;) {
        if (I >= FComponents.size())
            continue;
        FComponents[I]->Notification(AComponent, Operation);
    }
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent),
                      FComponents.end());
    AComponent->FOwner = nullptr;
}
