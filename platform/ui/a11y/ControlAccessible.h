// The accessible object of one control (TControl::Accessibility(), made on
// first use): what the control says of itself, plus what the program adds.
//
// The tree: a control lies in the nearest enclosing control that means
// something (one whose role is not None), or in the list the program made it
// an item of. A control without a role shows its children in its place; a
// push button, check box, label, list item or progress bar shows none (its
// insides are its look, not parts a user reaches).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Component.h"
#include "platform/ui/a11y/Accessible.h"

class TControl;
class TWinControl;

namespace vark::a11y {

class AccessibleList;

class ControlAccessible final : public Accessible {
 public:
  explicit ControlAccessible(TControl& control) : control_(control) {}
  ~ControlAccessible() override;

  TControl& Control() const { return control_; }

  // What the program says beyond what the control says of itself: a role (a
  // label that acts as a button), a name (for a control that shows a glyph),
  // a description, and actions of its own.
  void SetRole(Role role) { role_ = role; }
  void SetName(std::string name);
  void SetDescription(std::string description) { description_ = std::move(description); }
  void AddAction(std::string name, std::function<void()> run);
  // The note's text describes this control (a hint beside a check box): the
  // two are related both ways, and without a description of its own this
  // control's is the note's name.
  void SetDescribedBy(TControl& note);

  // The list it is an item of, or null.
  AccessibleList* List() const { return list_; }

  Facts Describe() const override;
  Accessible* Parent() const override;
  std::vector<Accessible*> Children() const override;
  TRect ScreenBounds() const override;
  bool DoAction(std::string_view action) override;
  bool GrabFocus() override;

 private:
  friend class AccessibleList;
  struct Action {
    std::string name;
    std::function<void()> run;
  };

  TControl& control_;
  std::optional<Role> role_;
  std::optional<std::string> name_;
  std::string description_;
  std::vector<Action> actions_;
  TWeakRef<TControl> describedBy_;
  TWeakRef<TControl> descriptionFor_;
  AccessibleList* list_ = nullptr;
};

// The object whose children a container's controls are to a user: the
// container's own, or, for one without a role, the one it lies in; null
// outside any form.
Accessible* ContainerObject(const TWinControl& container);

// Tells the observer, if there is one, that something about control changed.
// Children go to the object whose children they are to a user.
void Announce(TControl& control, Change change);

}  // namespace vark::a11y
