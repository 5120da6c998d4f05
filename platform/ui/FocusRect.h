// The dotted focus rectangle of the classic controls: every other pixel of the
// rectangle's outline, in the given colour.
#pragma once

#include "platform/graphics/Canvas.h"

namespace vark::ui {

void DrawFocusRect(TCanvas& canvas, const TRect& rect, TColor color);

}  // namespace vark::ui
