// The toolkit's application-wide lists: timers, deferred frees, the mouse
// capture and the forms. They live inside the application object, so they
// outlive every form it destroys (no static destruction order to get wrong).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/Component.h"

class TTimer;
class TControl;
class TCustomForm;

namespace vark::ui {

struct UiState {
  std::vector<TTimer*> timers;
  uint64_t timerSequence = 0;
  std::vector<TWeakRef<TComponent>> deferredFrees;
  TWeakRef<TControl> capture;
  std::vector<TCustomForm*> forms;
  TCursor shownCursor = crDefault;  // what the backend was last told to show
};

// The application's state.
UiState& State();

}  // namespace vark::ui
