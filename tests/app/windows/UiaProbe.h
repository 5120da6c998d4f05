// A client of the UI Automation provider inside the test: it asks the
// providers of a window what a client of the system's UI Automation asks
// them, from a thread of its own as the system does, while the test's thread
// answers (runs the interface thread's messages). The system's side is
// replaced by a recorder: what would be raised is kept as lines of text, and
// whether a client listens is the test's to say. It stands in for the parts
// of the system's client side that Wine does not have (the patterns, the
// events, the pattern properties, the bounding rectangles).
//
// This header keeps the Windows headers out of the tests that use it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Types.h"
#include "platform/ui/a11y/Accessible.h"

namespace vark::test {

class UiaProbe {
 public:
  // A bridge over this application's objects, with a recording system side.
  UiaProbe();
  ~UiaProbe();
  UiaProbe(const UiaProbe&) = delete;
  UiaProbe& operator=(const UiaProbe&) = delete;

  // Whether a client listens, as the system would answer.
  void SetListening(bool listening);
  // What would have been raised since the last call, one line each:
  // "focus 'Name'", "selected 'Name'", "opened 'Name'", "alert 'Name'",
  // "property 30086 'Name' 0 -> 1", "structure 'Name'", "disconnected".
  std::vector<std::string> TakeEvents();

  // The tree under window's provider, one element a line, indented by depth:
  // "<control type> 'Name'" and what the element and its patterns say
  // (enabled, focusable, focused, selected, toggle=N, value=N, modal,
  // dialog, "n/m" for a list item's place).
  std::vector<std::string> Tree(a11y::Accessible& window);
  // The bounding rectangle of the element named name, as the provider says.
  TRect Bounds(a11y::Accessible& window, const std::string& name);
  // The name of the element that has the focus, as the window's provider says.
  std::string Focus(a11y::Accessible& window);
  // Runs "select", "toggle" or "invoke" of the element named name through
  // its pattern; the call's result (S_OK is 0).
  long Act(a11y::Accessible& window, const std::string& name, const std::string& action);
  // Keeps the provider of the element named name, as a client may.
  void Hold(a11y::Accessible& window, const std::string& name);
  // What the held provider answers when asked for its name (an HRESULT).
  long AskHeld();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vark::test
