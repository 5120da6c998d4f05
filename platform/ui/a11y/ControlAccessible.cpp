#include "platform/ui/a11y/ControlAccessible.h"

#include <algorithm>

#include "platform/backend/Backend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/a11y/AccessibleList.h"

namespace vark::a11y {

namespace {

// Roles whose insides are their look: their child controls are not shown.
bool ShowsChildren(Role role) {
  switch (role) {
    case Role::PushButton:
    case Role::CheckBox:
    case Role::Label:
    case Role::ListItem:
    case Role::ProgressBar:
      return false;
    default:
      return true;
  }
}

Role RoleOf(const TControl& control) {
  return const_cast<TControl&>(control).Accessibility().Describe().role;
}

// The objects a user sees among win's children, in painting order: a control
// without a role gives its own children instead, a list stands at its first item.
void CollectChildren(const TWinControl& win, std::vector<Accessible*>& out) {
  for (TControl* child : win.ControlList()) {
    ControlAccessible& node = child->Accessibility();
    if (AccessibleList* list = node.List()) {
      if (std::find(out.begin(), out.end(), list) == out.end()) out.push_back(list);
      continue;
    }
    if (node.Describe().role != Role::None) {
      out.push_back(&node);
    } else if (const TWinControl* inner = child->AsWinControl()) {
      CollectChildren(*inner, out);
    }
  }
}

}  // namespace

ControlAccessible::~ControlAccessible() = default;

void ControlAccessible::SetName(std::string name) {
  name_ = std::move(name);
  Announce(*this, Change::Name);
}

void ControlAccessible::AddAction(std::string name, std::function<void()> run) {
  actions_.push_back({std::move(name), std::move(run)});
}

void ControlAccessible::SetDescribedBy(TControl& note) {
  describedBy_ = &note;
  note.Accessibility().descriptionFor_ = &control_;
}

Facts ControlAccessible::Describe() const {
  Facts facts;
  control_.DescribeAccessible(facts);
  if (role_) facts.role = *role_;
  if (name_) {
    // A label's text is its name: a name given for what it shows is read
    // for its text too.
    if (facts.text == facts.name) facts.text = *name_;
    facts.name = *name_;
  }
  if (!description_.empty()) facts.description = description_;
  if (TControl* note = describedBy_.get()) {
    ControlAccessible& noteObject = note->Accessibility();
    if (facts.description.empty()) facts.description = noteObject.Describe().name;
    facts.relations.push_back({RelationType::DescribedBy, &noteObject});
  }
  if (TControl* described = descriptionFor_.get()) {
    facts.relations.push_back({RelationType::DescriptionFor, &described->Accessibility()});
  }
  for (const Action& action : actions_)
    facts.actions.push_back(action.name);
  if (list_ != nullptr) {
    facts.role = Role::ListItem;
    facts.states.Include(State::Selectable);
    // An item takes the focus for its list, whatever its tab stop.
    if (const TWinControl* win = control_.AsWinControl(); win != nullptr && win->CanFocus()) {
      facts.states.Include(State::Focusable);
    }
    if (list_->IsSelected(control_)) facts.states.Include(State::Selected);
    facts.actions.emplace_back("select");
  }
  return facts;
}

Accessible* ContainerObject(const TWinControl& container) {
  for (const TWinControl* c = &container; c != nullptr; c = c->Parent()) {
    if (c->AsForm() != nullptr || RoleOf(*c) != Role::None) {
      return &const_cast<TWinControl*>(c)->Accessibility();
    }
  }
  return nullptr;
}

Accessible* ControlAccessible::Parent() const {
  if (list_ != nullptr) return list_;
  if (control_.AsForm() != nullptr) return &Root();
  return control_.Parent() != nullptr ? ContainerObject(*control_.Parent()) : nullptr;
}

std::vector<Accessible*> ControlAccessible::Children() const {
  std::vector<Accessible*> children;
  const TWinControl* win = control_.AsWinControl();
  if (win != nullptr && ShowsChildren(Describe().role)) CollectChildren(*win, children);
  return children;
}

TRect ControlAccessible::ScreenBounds() const {
  if (!control_.Showing()) return {};
  if (control_.AsForm() != nullptr) return control_.BoundsRect();
  const TPoint origin = control_.ClientToScreen({0, 0});
  return Bounds(origin.X, origin.Y, control_.Width(), control_.Height());
}

bool ControlAccessible::DoAction(std::string_view action) {
  for (const Action& own : actions_) {
    if (own.name == action) {
      Application->Queue(own.run);
      return true;
    }
  }
  TWeakRef<TControl> control(&control_);
  if (list_ != nullptr && action == "select") {
    Application->Queue([control] {
      if (TControl* c = control.get()) c->Click();
    });
    return true;
  }
  Facts facts;
  control_.DescribeAccessible(facts);
  if (std::find(facts.actions.begin(), facts.actions.end(), action) == facts.actions.end()) {
    return false;
  }
  Application->Queue([control, name = std::string(action)] {
    if (TControl* c = control.get()) c->DoAccessibleAction(name);
  });
  return true;
}

bool ControlAccessible::GrabFocus() {
  TWinControl* win = control_.AsWinControl();
  if (win == nullptr || !win->CanFocus()) return false;
  TWeakRef<TWinControl> target(win);
  Application->Queue([target] {
    TWinControl* c = target.get();
    if (c == nullptr || !c->CanFocus()) return;
    TCustomForm* form = GetParentForm(c);
    if (c == form) {
      if (form->HandleAllocated()) Application->Backend().Activate(form->Handle());
      return;
    }
    // The focus moved by other means than the mouse: show where it is, as
    // after a key.
    form->Window().keyboardUsed = true;
    c->SetFocus();
    c->Invalidate();
  });
  return true;
}

void Announce(TControl& control, Change change) {
  if (CurrentObserver() == nullptr) return;
  if (control.ComponentState().Contains(csDestroying)) return;
  Accessible* target = &control.Accessibility();
  if (change == Change::Children) {
    const TWinControl* container = control.AsWinControl();
    if (container == nullptr || !ShowsChildren(RoleOf(control))) return;
    target = ContainerObject(*container);
    if (target == nullptr) return;
  }
  // A list has the focus while one of its items has it: its focused state
  // is told first, so the list is entered before its item is read.
  if (change == Change::Focus || change == Change::States) {
    if (AccessibleList* list = control.Accessibility().List()) {
      CurrentObserver()->Changed(*list, Change::States);
    }
  }
  CurrentObserver()->Changed(*target, change);
}

}  // namespace vark::a11y
