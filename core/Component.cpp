#include "core/Component.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"

namespace core {

namespace {

void Forget(std::vector<TComponent*>& list, const TComponent* component) {
  auto found = std::find(list.begin(), list.end(), component);
  if (found != list.end()) list.erase(found);
}

bool Holds(const std::vector<TComponent*>& list, const TComponent* component) {
  return std::find(list.begin(), list.end(), component) != list.end();
}

}  // namespace

void TComponentDeleter::operator()(TComponent* component) const {
  if (!component) return;
  component->PrepareDestruction();
  delete component;
}

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
  if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() { PrepareDestruction(); }

void TComponent::MarkDestroying() {
  FComponentState.Include(csDestroying);
  for (TComponent* component : FComponents) component->MarkDestroying();
}

// Every "I am gone" notice leaves from here, in this order: the components
// linked by FreeNotification, then the own components (destroyed, last
// first, while this object is still whole), then the owner. Each list is
// consumed from the live object rather than a copy, so a Notification that
// destroys another component cannot leave a stale pointer behind.
void TComponent::PrepareDestruction() {
  if (FDestructionPrepared) return;
  FDestructionPrepared = true;
  MarkDestroying();

  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Forget(other->FFreeNotifies, this);
    // The owner hears about it below; once is enough.
    if (other != FOwner) other->Notification(this, opRemove);
  }

  DestroyComponents();
  DetachFromOwner();
}

void TComponent::DetachFromOwner() {
  TComponent* owner = FOwner;
  if (!owner) return;
  Forget(owner->FComponents, this);
  FOwner = nullptr;
  owner->Notification(this, opRemove);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* component = FComponents.back();
    component->PrepareDestruction();  // leaves FComponents without it
    delete component;
  }
}

void TComponent::Free() {
  if (!FOwner) throw EInvalidOperation("Free of a component without owner");
  PrepareDestruction();
  delete this;
}

void TComponent::CheckName(const std::string& name, const TComponent* owner) const {
  if (name.empty()) return;
  if (!IsValidIdent(name)) throw EComponentError(Format("'%s' is not a valid component name", name));
  if (owner) {
    TComponent* existing = owner->FindComponent(name);
    if (existing && existing != this) throw EComponentError(Format("A component named %s already exists", name));
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  CheckName(name, FOwner);
  FName = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError(Format("List index out of bounds (%d)", index));
  return FComponents[std::size_t(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto found = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
  return static_cast<int>(found - FOwner->FComponents.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : FComponents)
    if (SameText(component->FName, name)) return component;
  return nullptr;
}

void TComponent::IncludeComponentState(TComponentStateItem item) {
  if (item != csDestroying) FComponentState.Include(item);
}

void TComponent::ExcludeComponentState(TComponentStateItem item) {
  if (item != csDestroying) FComponentState.Exclude(item);
}

void TComponent::SetDesigning(bool designing) {
  if (designing)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* component : FComponents) component->SetDesigning(designing);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (!Holds(FFreeNotifies, component)) FFreeNotifies.push_back(component);
  if (!Holds(component->FFreeNotifies, this)) component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  Forget(FFreeNotifies, component);
  Forget(component->FFreeNotifies, this);
}

void TComponent::NotifyInserted(TComponent* component) { Notification(component, opInsert); }

void TComponent::InsertComponent(TComponentPtr<TComponent>&& component) {
  if (!component) return;
  component->CheckName(component->FName, this);
  TComponent* inserted = component.release();
  inserted->FOwner = this;
  FComponents.push_back(inserted);
  Notification(inserted, opInsert);
}

TComponentPtr<TComponent> TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) throw EListError("Component is not owned here");
  Forget(FComponents, component);
  component->FOwner = nullptr;
  Notification(component, opRemove);
  return TComponentPtr<TComponent>(component);
}

void TComponent::Notification(TComponent*, TOperation) {}

}  // namespace core
