#include "platform/ui/Component.h"

#include <strings.h>
#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/ui/UiState.h"

namespace {

// Components whose FreeLater ran; freed by the event loop after the dispatch.
std::vector<TWeakRef<TComponent>>& DeferredFrees() {
  return vark::ui::State().deferredFrees;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

TComponent::TComponent(TComponent* AOwner)
    : owner_(AOwner), life_(std::make_shared<TComponent*>(this)) {
  if (owner_ != nullptr) {
    owner_->components_.push_back(this);
    if (owner_->state_.Contains(csLoading)) state_.Include(csLoading);
  }
}

TComponent::~TComponent() {
  Destroying();
  *life_ = nullptr;
  DestroyComponents();
  // Components listed but held elsewhere outlive us without an owner.
  for (TComponent* c : components_)
    c->owner_ = nullptr;
  components_.clear();
  RemoveFromOwnerList();
}

void TComponent::DestroyComponents() {
  // Last made first, as the classic framework frees owned components.
  while (!owned_.empty()) {
    std::unique_ptr<TComponent> last = std::move(owned_.back());
    owned_.pop_back();
    last->Destroying();
    last.reset();
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  // Weak references let go now, not when the last base destructor runs: by
  // then the object is no longer of the type a reference holds it as.
  *life_ = nullptr;
  for (TComponent* c : components_)
    c->Destroying();
}

void TComponent::RemoveFromOwnerList() {
  if (owner_ == nullptr) return;
  auto& list = owner_->components_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  owner_ = nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && owner_ != nullptr) {
    for (TComponent* c : owner_->components_) {
      if (c != this && SameName(c->name_, name)) {
        throw EInvalidOperation("A component named " + name + " already exists");
      }
    }
  }
  name_ = name;
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameName(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::Adopt(std::unique_ptr<TComponent> component) {
  if (!component) return;
  TComponent* c = component.get();
  if (c->owner_ != this) {
    // Listed by another owner that does not hold it: move it to this one.
    c->RemoveFromOwnerList();
    c->owner_ = this;
    components_.push_back(c);
  }
  owned_.push_back(std::move(component));
}

std::unique_ptr<TComponent> TComponent::Disown(TComponent* component) {
  auto it = std::find_if(owned_.begin(), owned_.end(),
                         [component](const auto& p) { return p.get() == component; });
  if (it == owned_.end()) return nullptr;
  std::unique_ptr<TComponent> result = std::move(*it);
  owned_.erase(it);
  return result;
}

bool TComponent::OwnsComponent(const TComponent* component) const {
  return std::any_of(owned_.begin(), owned_.end(),
                     [component](const auto& p) { return p.get() == component; });
}

void TComponent::Free() {
  if (owner_ == nullptr || !owner_->OwnsComponent(this)) {
    throw EInvalidOperation("Component " + name_ + " is not owned by the component tree");
  }
  Destroying();
  std::unique_ptr<TComponent> self = owner_->Disown(this);
  self.reset();
}

void TComponent::FreeLater() {
  auto& list = DeferredFrees();
  if (std::find(list.begin(), list.end(), this) == list.end()) list.emplace_back(this);
}

void TComponent::FlushDeferredFrees() {
  auto& list = DeferredFrees();
  while (!list.empty()) {
    std::vector<TWeakRef<TComponent>> batch;
    batch.swap(list);
    for (auto& ref : batch) {
      TComponent* c = ref.get();
      if (c == nullptr) continue;
      if (c->owner_ != nullptr && c->owner_->OwnsComponent(c)) c->Free();
    }
  }
}

void TComponent::BeginLoading() {
  state_.Include(csLoading);
}

void TComponent::EndLoading() {
  // Components first (in creation order), this one last, so that a container
  // realigns with all its children in place.
  for (TComponent* c : std::vector<TComponent*>(components_))
    c->EndLoadingTree();
  if (state_.Contains(csLoading)) {
    state_.Exclude(csLoading);
    Loaded();
  }
}

void TComponent::EndLoadingTree() {
  for (TComponent* c : std::vector<TComponent*>(components_))
    c->EndLoadingTree();
  if (state_.Contains(csLoading)) {
    state_.Exclude(csLoading);
    Loaded();
  }
}
