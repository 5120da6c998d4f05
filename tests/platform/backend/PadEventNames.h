// Pad events as short names for test tables: "+Down" for a button going
// down, "-A" for one coming up.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/backend/Backend.h"

namespace vark::testing {

inline std::vector<std::string> PadEventNames(const std::deque<Event>& events) {
  static const char* const names[] = {"Up", "Down", "Left", "Right", "A", "B", "Start", "Back"};
  std::vector<std::string> out;
  for (const Event& e : events) {
    std::string name(1, e.kind == EventKind::PadDown ? '+' : '-');
    name += names[e.pad];
    out.push_back(name);
  }
  return out;
}

}  // namespace vark::testing
