// The toolkit's application-wide lists: timers, deferred frees, the mouse
// capture and the forms. They live inside the application object, so they
// outlive every form it destroys (no static destruction order to get wrong).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Component.h"

class TTimer;
class TControl;
class TCustomForm;

namespace vark::a11y {
class Accessible;
class Observer;
}  // namespace vark::a11y

namespace vark::ui {

struct UiState {
  std::vector<TTimer*> timers;
  uint64_t timerSequence = 0;
  std::vector<TWeakRef<TComponent>> deferredFrees;
  TWeakRef<TControl> capture;
  TMouseButton captureButton = mbLeft;  // the button whose press took the capture
  std::vector<TCustomForm*> forms;
  TCursor shownCursor = crDefault;            // what the backend was last told to show
  std::vector<std::function<void()>> queued;  // TApplication::Queue
  // Gamepad input (PadInput.cpp): the key each held button pressed and the
  // form it went to, and the timer that repeats a held direction (the
  // application's, made on first use).
  struct PadPress {
    uint16_t key = 0;
    TWeakRef<TCustomForm> form;
  };
  PadPress padPresses[kPadButtonCount];
  TWeakRef<TTimer> padRepeat;
  TPadButton padRepeating = pbUp;
  // Assistive technology's view: the application object, and the bridge
  // that is told of changes (null while none runs).
  std::unique_ptr<vark::a11y::Accessible> a11yRoot;
  vark::a11y::Observer* a11yObserver = nullptr;
};

// The application's state.
UiState& State();

}  // namespace vark::ui
