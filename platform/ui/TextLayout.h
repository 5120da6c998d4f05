// Laying out a caption in a rectangle, as the classic DrawText does it for
// labels and captions: lines break at line feeds and, with word wrap, at spaces
// where the next word would not fit (a word longer than the width stays whole);
// each line is aligned left, right or centred; the block sits at the top,
// middle or bottom. "&&" becomes "&" and a single "&" is dropped when
// accelerator characters are shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/ui/UITypes.h"

namespace vark::ui {

struct TextBlock {
  std::vector<std::string> lines;
  int lineHeight = 0;
  int width = 0;   // the widest line
  int height = 0;  // lines × line height
};

// Strips the accelerator marks of a caption.
std::string StripAccelChars(std::string_view text);
// Breaks text into lines with canvas's font.
TextBlock LayoutText(const TCanvas& canvas, std::string_view text, int maxWidth, bool wordWrap);
// Draws a laid-out block in rect with canvas's font (brush style unchanged).
void DrawTextBlock(TCanvas& canvas, const TextBlock& block, const TRect& rect, TAlignment alignment,
                   TTextLayout layout);

}  // namespace vark::ui
