// Which freedesktop event sound stands for a kind of message.
#pragma once

#include <cstdint>

namespace vark::os {

// The freedesktop sound name for a MessageBeep type. Only the icon bits count
// (type & MB_ICONMASK), as with the classic call, so a type carrying button or
// default bits too (0x14, 0x46, 0x32: a message box's whole type) sounds by its
// icon: 0x10 "dialog-error", 0x20 "window-question" (the theme has no
// "dialog-question"), 0x30 "dialog-warning", 0x40 and MB_OK "dialog-information";
// icon bits with no meaning sound as MB_OK; MB_SIMPLEBEEP is the plain bell.
const char* MessageBeepSoundName(uint32_t type);

}  // namespace vark::os
