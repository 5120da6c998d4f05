// The desktop's screens as the system reports them to a program that scales
// its windows per screen: bounds, work areas and pixels per inch.
#pragma once

#include <vector>

#include "platform/graphics/Types.h"

namespace vark::win32 {

struct ScreenInfo {
  TRect bounds;  // desktop coordinates
  TRect work;    // without the task bar and docked bars
  int dpi = 96;
  bool primary = false;
};

// Asks to be told each screen's own scale (per-monitor awareness, version 2
// where the system has it), unless the program's manifest said so already.
void DeclareDpiAwareness();
// Every screen, the primary one first.
std::vector<ScreenInfo> Screens();
// The primary screen.
ScreenInfo PrimaryScreen();
// The pixels per inch of the screen that holds most of the rectangle (the
// nearest one when none does).
int DpiAt(const TRect& bounds);

}  // namespace vark::win32
