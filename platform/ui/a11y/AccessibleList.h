// A list the program forms from controls that are not one control in the
// toolkit: rows placed one under another on a form. The list stands where its
// first item would; each item is a list item named as the program names it,
// selectable, selected when the program says so, and its action "select" is
// a click on it. The keyboard focus is on the list while it is on one of its
// items. The program owns the list and tells it when the selection changed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Component.h"
#include "platform/ui/a11y/Accessible.h"

class TControl;
class TWinControl;

namespace vark::a11y {

class AccessibleList final : public Accessible {
 public:
  // The items are controls on parent; isSelected says whether one is selected.
  AccessibleList(TWinControl& parent, std::string name,
                 std::function<bool(const TControl&)> isSelected);
  // The items go back to being their parent's children.
  ~AccessibleList() override;

  void Add(TControl& item);
  bool IsSelected(const TControl& item) const { return isSelected_(item); }
  // Tells the observer that which items are selected changed.
  void SelectionChanged();

  Facts Describe() const override;
  Accessible* Parent() const override;
  std::vector<Accessible*> Children() const override;
  TRect ScreenBounds() const override;
  bool DoAction(std::string_view) override { return false; }
  // The focus goes to the selected item; false when none is selected.
  bool GrabFocus() override;

 private:
  TWeakRef<TWinControl> parent_;
  std::string name_;
  std::function<bool(const TControl&)> isSelected_;
  std::vector<TWeakRef<TControl>> items_;
};

}  // namespace vark::a11y
