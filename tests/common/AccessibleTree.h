// The accessible tree written out for tests, one object a line, as a screen
// reader would list it: "  push button 'Launch' [click] enabled focusable ...".
#pragma once

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

}  // namespace vark::test
