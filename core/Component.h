#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Set.h"

namespace core {

class TComponent;

// What a Notification is about: a component joined its owner, or is going
// away.
enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading,     // being read from a stored layout; cleared by Loaded
  csReading,     // its properties are being read
  csWriting,     // its properties are being written
  csDestroying,  // on its way out: do not start new work
  csDesigning,   // in a design environment
  csUpdating,    // being updated by the layout reader
  csFixups,      // has references waiting to be resolved
};
using TComponentState = TSet<TComponentStateItem>;

// Destroys a component the way its owner would: the "I am gone" notices go
// out while the whole object still exists, then it is deleted.
struct TComponentDeleter {
  void operator()(TComponent* component) const;
};
// A component without owner.
template <class T>
using TComponentPtr = std::unique_ptr<T, TComponentDeleter>;

// The base of every component: an owner that destroys it, a name unique
// among the owner's components, a state, and notices between components
// that refer to each other.
//
// Ownership: a component made with Create<T>(owner, ...) belongs to owner,
// which destroys its components in reverse order of creation when it is
// destroyed itself. A component without owner is made with
// CreateUnowned<T>(...) and held by the TComponentPtr it returns. Every
// component class takes its owner (possibly nullptr) as the first argument
// of its constructor.
//
// References: a component that keeps a pointer to another one calls
// other->FreeNotification(this); when either is destroyed the other receives
// Notification(it, opRemove) and clears its pointer. The owner is told the
// same about its own components.
class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }

  const std::string& Name() const { return FName; }
  // Empty, or an identifier (letter or "_", then letters, digits, "_").
  // Raises EComponentError "'<name>' is not a valid component name" or
  // "A component named <name> already exists" (names compare without
  // letter case among the owner's components).
  virtual void SetName(const std::string& name);

  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError "List index out of bounds (<index>)".
  TComponent* Components(int index) const;
  // Position in the owner's list, -1 without owner.
  int ComponentIndex() const;
  // Own component of that name, letter case ignored; nullptr when absent or
  // when name is empty.
  TComponent* FindComponent(std::string_view name) const;

  TComponentState ComponentState() const { return FComponentState; }
  // The layout reader marks the components it reads (csLoading, csReading,
  // ...); csDestroying is set by destruction only.
  void IncludeComponentState(TComponentStateItem item);
  void ExcludeComponentState(TComponentStateItem item);
  // Sets or clears csDesigning here and in every owned component.
  void SetDesigning(bool designing);

  // Called by the layout reader once every component of the layout has been
  // read and their references resolved; nobody else calls it. Overrides do
  // what needs the whole layout and call the base, which clears csLoading.
  virtual void Loaded();

  // Ask to be told (or tell) about destruction: after
  // a->FreeNotification(b), b receives Notification(a, opRemove) when a is
  // destroyed and a receives Notification(b, opRemove) when b is.
  // Asking twice links once.
  void FreeNotification(TComponent* component);
  // Undoes FreeNotification, in both directions.
  void RemoveFreeNotification(TComponent* component);

  // Takes over a component that has no owner. Raises EComponentError when
  // its name is already taken here (the component then stays with the
  // caller).
  void InsertComponent(TComponentPtr<TComponent>&& component);
  // Gives up one of the own components, which then has no owner; raises
  // EListError when it is not one of them.
  TComponentPtr<TComponent> RemoveComponent(TComponent* component);
  // Destroys every own component now, last first.
  void DestroyComponents();

  // Destroys an owned component now (its owner forgets it). Raises
  // EInvalidOperation for a component without owner: reset its
  // TComponentPtr instead.
  void Free();

 protected:
  // Receives opInsert when a component has joined this one (as owned
  // component, after its construction is complete), and opRemove when an
  // owned component or one linked by FreeNotification is going away. The
  // component going away may be partly destroyed: compare its address, do
  // not call into it. Overrides need not call the base, which does nothing.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  friend struct TComponentDeleter;
  template <class T, class... Args>
  friend T* Create(TComponent& owner, Args&&... args);

  // Sends all notices of this component's end, once: every linked component
  // is told and forgets this one, the own components are destroyed, and the
  // owner is told and forgets it. Runs before the object is deleted, or from
  // the destructor when it was deleted otherwise.
  void PrepareDestruction();
  void MarkDestroying();
  void CheckName(const std::string& name, const TComponent* owner) const;
  void NotifyInserted(TComponent* component);
  void DetachFromOwner();

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  TComponentState FComponentState;
  bool FDestructionPrepared = false;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// Makes a component owned by owner; the owner destroys it. Returns it for the
// caller to keep as an observing pointer.
template <class T, class... Args>
T* Create(TComponent& owner, Args&&... args) {
  T* component = new T(&owner, std::forward<Args>(args)...);
  owner.NotifyInserted(component);
  return component;
}

// Makes a component without owner.
template <class T, class... Args>
TComponentPtr<T> CreateUnowned(Args&&... args) {
  return TComponentPtr<T>(new T(nullptr, std::forward<Args>(args)...));
}

}  // namespace core
