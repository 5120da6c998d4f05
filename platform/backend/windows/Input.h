// The toolkit's view of Windows input: modifier keys and buttons as shift
// states, cursors as the system's shapes, and typed characters as UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/UITypes.h"

namespace vark::win32 {

// Shift, Ctrl and Alt as held while the current message was sent.
TShiftState KeyboardShift();
// The same, and the mouse buttons, from a mouse message's key flags (MK_*).
TShiftState MouseShift(uintptr_t keyFlags);
// The system cursor that shows a cursor of the toolkit (an IDC_* resource);
// null for crNone.
const wchar_t* CursorResource(TCursor cursor);
// Whether a key code is one the toolkit hears of (not an input method's
// placeholder or a packet of typed text).
bool IsToolkitKey(uintptr_t virtualKey);

// Turns the UTF-16 units of WM_CHAR into UTF-8 text. A character outside the
// basic plane arrives as two messages, a high and a low surrogate.
class CharAssembler {
 public:
  // The text this unit completes: empty for a high surrogate waiting for its
  // pair, a lone surrogate, or a control character (Return, Escape, Tab,
  // Backspace and Ctrl+letter reach the toolkit as keys, which type them).
  std::string Add(wchar_t unit);

 private:
  wchar_t high_ = 0;
};

}  // namespace vark::win32
