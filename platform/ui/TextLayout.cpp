#include "platform/ui/TextLayout.h"

#include <algorithm>

namespace vark::ui {

std::string StripAccelChars(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

TextBlock LayoutText(const TCanvas& canvas, std::string_view text, int maxWidth, bool wordWrap) {
  TextBlock block;
  block.lineHeight = canvas.TextHeight("Wg");
  auto emit = [&](std::string line) {
    block.width = std::max(block.width, canvas.TextWidth(line));
    block.lines.push_back(std::move(line));
  };
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    std::string_view para =
        text.substr(start, end == std::string_view::npos ? text.npos : end - start);
    if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
    if (!wordWrap || maxWidth <= 0 || canvas.TextWidth(para) <= maxWidth) {
      emit(std::string(para));
    } else {
      // Greedy: words join the line while it fits; a word alone on a line stays
      // whole even when it is wider than the line.
      std::string line;
      size_t i = 0;
      while (i < para.size()) {
        size_t wordEnd = para.find(' ', i);
        if (wordEnd == std::string_view::npos) wordEnd = para.size();
        std::string_view word = para.substr(i, wordEnd - i);
        std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (!line.empty() && canvas.TextWidth(candidate) > maxWidth) {
          emit(std::move(line));
          line = std::string(word);
        } else {
          line = std::move(candidate);
        }
        i = wordEnd;
        while (i < para.size() && para[i] == ' ')
          ++i;
      }
      emit(std::move(line));
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  block.height = block.lineHeight * static_cast<int>(block.lines.size());
  return block;
}

void DrawTextBlock(TCanvas& canvas, const TextBlock& block, const TRect& rect, TAlignment alignment,
                   TTextLayout layout) {
  int y = rect.Top;
  if (layout == tlCenter) y = rect.Top + (rect.Height() - block.height) / 2;
  if (layout == tlBottom) y = rect.Bottom - block.height;
  for (const std::string& line : block.lines) {
    int x = rect.Left;
    if (alignment != taLeftJustify) {
      int w = canvas.TextWidth(line);
      x = alignment == taCenter ? rect.Left + (rect.Width() - w) / 2 : rect.Right - w;
    }
    if (!line.empty()) canvas.TextRect(rect, x, y, line);
    y += block.lineHeight;
  }
}

}  // namespace vark::ui
