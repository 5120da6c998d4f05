#include "platform/graphics/Color.h"

#include <array>

namespace {

// The classic light desktop palette, indexed by the low byte of a system colour.
constexpr std::array<TColor, 31> kSystemColors = {
    0x00C8C8C8,  // clScrollBar
    0x00000000,  // clBackground
    0x00D1B499,  // clActiveCaption
    0x00DBCDBF,  // clInactiveCaption
    0x00F0F0F0,  // clMenu
    0x00FFFFFF,  // clWindow
    0x00646464,  // clWindowFrame
    0x00000000,  // clMenuText
    0x00000000,  // clWindowText
    0x00000000,  // clCaptionText
    0x00B4B4B4,  // clActiveBorder
    0x00FCF7F4,  // clInactiveBorder
    0x00ABABAB,  // clAppWorkSpace
    0x00D77800,  // clHighlight
    0x00FFFFFF,  // clHighlightText
    0x00F0F0F0,  // clBtnFace
    0x00A0A0A0,  // clBtnShadow
    0x006D6D6D,  // clGrayText
    0x00000000,  // clBtnText
    0x00000000,  // clInactiveCaptionText
    0x00FFFFFF,  // clBtnHighlight
    0x00696969,  // cl3DDkShadow
    0x00E3E3E3,  // cl3DLight
    0x00000000,  // clInfoText
    0x00E1FFFF,  // clInfoBk
    0x00000000,  // index 25 is unused
    0x00CC6600,  // clHotLight
    0x00EAD1B9,  // clGradientActiveCaption
    0x00F2E4D7,  // clGradientInactiveCaption
    0x00D77800,  // clMenuHighlight
    0x00F0F0F0,  // clMenuBar
};

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == clSystemColor) {
    uint32_t index = color & 0x00FFFFFFu;
    return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
  }
  return color & 0x00FFFFFFu;
}
