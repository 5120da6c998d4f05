// Where a top-level window may be put back: a window whose title bar cannot be
// reached on any screen (a place stored while a second screen was attached, or
// a settings file edited by hand) cannot be dragged back by the user.
#pragma once

#include <span>

#include "platform/graphics/Types.h"

// The least part of the title bar that must lie on one screen for the user to
// grab it: this wide, and this tall (or the whole band, if it is lower).
inline constexpr int kTitleGripWidth = 50;
inline constexpr int kTitleGripHeight = 10;

// Whether the band of bandHeight pixels at the top of a window at left, top
// and width pixels wide (outer, screen coordinates) has a grip on one of the
// screens' work areas (a task bar covers what lies under it). Any int values
// are fine: a place read from a file may lie near the ends of the range.
bool TitleBarOnScreen(int left, int top, int width, int bandHeight, std::span<const TRect> screens);
