#include "runtime/Classes.h"

#include "runtime/SysUtils.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(index);
    return FComponents[static_cast<std::size_t>(index)];
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->FOwner == this)
        return;
    if (component->FOwner != nullptr)
        component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* component)
{
    const auto found = std::find(FComponents.begin(), FComponents.end(), component);
    if (found == FComponents.end())
        return;
    FComponents.erase(found);
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    // One at a time from the end: freeing one may free others of the list
    // too (a window frees the controls on it), which then leave it.
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        RemoveComponent(last);
        delete last;
    }
}
