// MessageBeep: the desktop's event sound for a kind of message (on Windows the
// system's own; on Linux played through libcanberra from the freedesktop sound
// theme). It never blocks and never fails loudly: without a sound server or
// sound card, as on a build machine, it returns false and nothing else happens.
#pragma once

#include <cstdint>
#include <functional>

// The sound kinds, in the icon bits of a message box type.
constexpr uint32_t MB_OK = 0x00000000;
constexpr uint32_t MB_ICONHAND = 0x00000010;
constexpr uint32_t MB_ICONERROR = MB_ICONHAND;
constexpr uint32_t MB_ICONSTOP = MB_ICONHAND;
constexpr uint32_t MB_ICONQUESTION = 0x00000020;
constexpr uint32_t MB_ICONEXCLAMATION = 0x00000030;
constexpr uint32_t MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr uint32_t MB_ICONASTERISK = 0x00000040;
constexpr uint32_t MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr uint32_t MB_ICONMASK = 0x000000F0;
constexpr uint32_t MB_SIMPLEBEEP = 0xFFFFFFFF;

// Starts the sound for `type` and returns at once: true when the sound system
// took it, false when there is none to take it.
bool MessageBeep(uint32_t type);

namespace vark::os {

// Told the type of every MessageBeep before it sounds (tests hear with it);
// an empty function stops listening.
void SetBeepListener(std::function<void(uint32_t)> listener);

// What each platform's MessageBeep calls first, to tell the listener.
void TellBeepListener(uint32_t type);

}  // namespace vark::os
