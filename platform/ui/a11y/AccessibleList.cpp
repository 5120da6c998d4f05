#include "platform/ui/a11y/AccessibleList.h"

#include "platform/ui/Form.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace vark::a11y {

AccessibleList::AccessibleList(TWinControl& parent, std::string name,
                               std::function<bool(const TControl&)> isSelected)
    : parent_(&parent), name_(std::move(name)), isSelected_(std::move(isSelected)) {}

AccessibleList::~AccessibleList() {
  for (const TWeakRef<TControl>& item : items_) {
    if (TControl* c = item.get()) c->Accessibility().list_ = nullptr;
  }
}

void AccessibleList::Add(TControl& item) {
  item.Accessibility().list_ = this;
  items_.emplace_back(&item);
  if (TWinControl* parent = parent_.get()) Announce(*parent, Change::Children);
}

void AccessibleList::SelectionChanged() {
  Announce(*this, Change::Selection);
}

Facts AccessibleList::Describe() const {
  Facts facts;
  facts.role = Role::List;
  facts.name = name_;
  TWinControl* parent = parent_.get();
  if (parent == nullptr) return facts;
  // It shows where its items show: on its parent, while that is enabled.
  if (parent->Visible()) facts.states.Include(State::Visible);
  if (parent->Showing()) facts.states.Include(State::Showing);
  if (parent->EnabledInTree()) facts.states.Include(State::Enabled);
  // The keyboard is in the list while it is on one of its items.
  for (Accessible* item : Children()) {
    const States states = item->Describe().states;
    if (states.Contains(State::Focusable)) facts.states.Include(State::Focusable);
    if (states.Contains(State::Focused)) facts.states.Include(State::Focused);
  }
  return facts;
}

bool AccessibleList::GrabFocus() {
  for (const TWeakRef<TControl>& item : items_) {
    if (TControl* c = item.get(); c != nullptr && IsSelected(*c)) {
      return c->Accessibility().GrabFocus();
    }
  }
  return false;
}

Accessible* AccessibleList::Parent() const {
  TWinControl* parent = parent_.get();
  return parent != nullptr ? ContainerObject(*parent) : nullptr;
}

std::vector<Accessible*> AccessibleList::Children() const {
  std::vector<Accessible*> items;
  for (const TWeakRef<TControl>& item : items_) {
    if (TControl* c = item.get()) items.push_back(&c->Accessibility());
  }
  return items;
}

TRect AccessibleList::ScreenBounds() const {
  TRect all;
  for (Accessible* item : Children())
    all = UnionRect(all, item->ScreenBounds());
  return all;
}

}  // namespace vark::a11y
