// The accessible tree written out for tests, one object a line, as a screen
// reader would list it: "  push button 'Launch' [click] enabled focusable ...";
// and the announcements, as "focus 'Launch'", "selection 'Editions'" ...
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/a11y/Accessible.h"

namespace vark::test {

inline const char* RoleName(a11y::Role role) {
  static const char* const names[] = {"none",      "application", "frame",     "dialog",
                                      "alert",     "panel",       "label",     "push button",
                                      "check box", "list",        "list item", "progress bar"};
  return names[static_cast<int>(role)];
}

inline std::string StatesOf(const a11y::States& states) {
  static const char* const names[] = {"enabled", "visible",       "showing",    "focusable",
                                      "focused", "active",        "modal",      "checkable",
                                      "checked", "indeterminate", "selectable", "selected"};
  std::string out;
  for (int i = 0; i <= static_cast<int>(a11y::State::Selected); ++i) {
    if (states.Contains(static_cast<a11y::State>(i))) out += std::string(" ") + names[i];
  }
  return out;
}

// One line: role, name, actions, states; a value as "= current (minimum..maximum)".
inline std::string Line(const a11y::Accessible& object) {
  const a11y::Facts f = object.Describe();
  std::string line = std::string(RoleName(f.role)) + " '" + f.name + "'";
  for (const std::string& action : f.actions)
    line += " [" + action + "]";
  if (f.value) {
    line += " = " + std::to_string(static_cast<int>(f.value->current)) + " (" +
            std::to_string(static_cast<int>(f.value->minimum)) + ".." +
            std::to_string(static_cast<int>(f.value->maximum)) + ")";
  }
  return line + StatesOf(f.states);
}

// object and everything below it, two spaces deeper for each level.
inline void Tree(const a11y::Accessible& object, std::vector<std::string>& lines,
                 const std::string& indent = "") {
  lines.push_back(indent + Line(object));
  for (const a11y::Accessible* child : object.Children())
    Tree(*child, lines, indent + "  ");
}

inline std::vector<std::string> Tree(const a11y::Accessible& object) {
  std::vector<std::string> lines;
  Tree(object, lines);
  return lines;
}

// Takes the announcements while it lives.
class AnnouncementLog : public a11y::Observer {
 public:
  AnnouncementLog() { a11y::SetObserver(this); }
  ~AnnouncementLog() { a11y::SetObserver(nullptr); }
  void Changed(a11y::Accessible& object, a11y::Change change) override {
    static const char* const names[] = {"focus",    "states",    "name",      "value",
                                        "children", "selection", "activated", "deactivated"};
    lines.push_back(std::string(names[static_cast<int>(change)]) + " '" + object.Describe().name +
                    "'");
  }
  void Destroyed(a11y::Accessible& object) override { gone.push_back(&object); }
  bool Saw(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::vector<std::string> lines;
  std::vector<a11y::Accessible*> gone;  // the objects destroyed, by address only
};

}  // namespace vark::test
