// TComponent: the root of the component tree. A component has an owner, a name,
// a tag and the components it owns, in creation order; it knows whether it is
// being loaded (built by its form) or destroyed.
//
// Ownership: the owner holds each component it made with Make() in a
// unique_ptr and destroys them, last made first, when it is destroyed itself.
// A component constructed with an owner but held elsewhere (a unique_ptr member,
// say) is listed among the owner's components but not destroyed by it; if the
// owner goes first, the component's Owner() becomes null.
//
// Event dispatch may run a handler that frees the very component that raised
// the event. TWeakRef becomes null when its component is destroyed, so the code
// after the handler can tell.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/UITypes.h"

class TComponent;

template <class T>
class TWeakRef {
 public:
  TWeakRef() = default;
  TWeakRef(T* component);  // NOLINT: implicit, like a pointer
  T* get() const { return cell_ && *cell_ ? static_cast<T*>(*cell_) : nullptr; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }
  bool operator==(const T* other) const { return get() == other; }

 private:
  std::shared_ptr<TComponent*> cell_;
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Names are unique among an owner's components (compared without case).
  void SetName(const std::string& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  TComponentState ComponentState() const { return state_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index); }
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;

  // Creates a T(this, args...) owned by this component, runs its
  // AfterConstruction and returns it.
  template <class T, class... Args>
  T& Make(Args&&... args) {
    auto made = std::make_unique<T>(this, std::forward<Args>(args)...);
    T& ref = *made;
    Adopt(std::move(made));
    ref.AfterConstruction();
    return ref;
  }
  // Takes ownership of a component (moving it from its previous owner's list).
  void Adopt(std::unique_ptr<TComponent> component);
  // Gives up ownership of a component this one owns; null if it owns it not.
  std::unique_ptr<TComponent> Disown(TComponent* component);
  bool OwnsComponent(const TComponent* component) const;

  // Destroys this component now, through its owner (which must own it).
  void Free();
  // Destroys this component once the event loop is back in control: for a
  // handler that wants to free the control whose event it handles.
  void FreeLater();
  // Runs the deferred frees; the event loop calls it after every dispatch.
  static void FlushDeferredFrees();

  // Called once after construction; Make() calls it, and so do the form
  // factories. Forms run OnCreate here.
  virtual void AfterConstruction() {}

  // Loading: a form builds its children between BeginLoading and EndLoading.
  // Components made meanwhile carry csLoading; EndLoading clears it in the whole
  // ownership tree and runs Loaded() on each component, then on this one.
  void BeginLoading();
  void EndLoading();

  // The cell behind TWeakRef.
  const std::shared_ptr<TComponent*>& LifeCell() const { return life_; }

 protected:
  virtual void Loaded() {}
  // Marks this component and everything it owns as being destroyed, and clears
  // the weak references to them; a destructor calls it first so that the code
  // it runs can tell.
  void Destroying();
  // Destroys every component this one owns, last made first.
  void DestroyComponents();

 private:
  void RemoveFromOwnerList();
  void EndLoadingTree();

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  TComponentState state_;
  std::vector<TComponent*> components_;             // creation order
  std::vector<std::unique_ptr<TComponent>> owned_;  // the ones this one destroys
  std::shared_ptr<TComponent*> life_;
};

template <class T>
TWeakRef<T>::TWeakRef(T* component) {
  if (component != nullptr) cell_ = static_cast<const TComponent*>(component)->LifeCell();
}
