// The active visual style. The program sets none, so the style is the plain
// desktop one, named "Windows" as the controls expect, whose system colours are
// the classic palette of ColorToRGB.
#pragma once

#include <string>

#include "platform/graphics/Color.h"

class TCustomStyleServices {
 public:
  const std::string& Name() const { return name_; }
  // A system colour resolved to RGB by the style; a plain colour unchanged.
  TColor GetSystemColor(TColor color) const { return ColorToRGB(color); }
  bool Enabled() const { return true; }
  bool IsSystemStyle() const { return true; }

 private:
  std::string name_ = "Windows";
};

class TStyleManager {
 public:
  static TCustomStyleServices* ActiveStyle();
};

TCustomStyleServices* StyleServices();
