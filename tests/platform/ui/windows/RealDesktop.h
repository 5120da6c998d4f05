// The real Windows desktop for the toolkit's tests, through plain types: the
// system's headers clash with the toolkit's names (ReleaseCapture, MulDiv),
// so only RealDesktop.cpp sees them.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>

#include "platform/backend/Backend.h"
#include "platform/graphics/Color.h"

namespace vark::test::desktop {

// The real Windows backend, for the application to install.
std::unique_ptr<Backend> RealBackend();

// A pixel of a window as the screen shows it (window coordinates).
TColor PixelOnScreen(uint32_t window, int x, int y);
TRect BoundsOf(uint32_t window);
bool IsEnabled(uint32_t window);
uint32_t OwnerOf(uint32_t window);
uint32_t ForegroundWindow();

// The user's hand: the pointer to a desktop point, a button pressed or
// released there, a key typed.
enum class Press : uint8_t { None, LeftDown, LeftUp };
void Pointer(int x, int y, Press press = Press::None);
void TypeKey(uint16_t virtualKey);

// What the desktop does to a window: maximises it (Win+Up), asks it to
// minimise (Win+Down, the window menu's Minimize), takes the mouse from it
// (a prompt opening), or tells it that the session ends (the user logs off).
void Maximise(uint32_t window);
void AskToMinimise(uint32_t window);
void CancelMode(uint32_t window);
void EndSession(uint32_t window);
bool IsMinimised(uint32_t window);

// The boxes a window's style offers the system menu and the task bar.
struct Boxes {
  bool systemMenu = false;
  bool minimise = false;
  bool maximise = false;
  bool operator==(const Boxes&) const = default;
};
inline void PrintTo(const Boxes& b, std::ostream* os) {
  *os << "{menu " << b.systemMenu << ", minimise " << b.minimise << ", maximise " << b.maximise
      << "}";
}
Boxes BoxesOf(uint32_t window);

}  // namespace vark::test::desktop
