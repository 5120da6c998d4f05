#include "controls/Vark.Dialogs.Text.h"

#include <algorithm>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/text/Utf8.h"
#include "platform/ui/TextLayout.h"

namespace vark::dialogs {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…"

// More than any screen can show in a dialog: longer messages are cut here
// before they are laid out, so a runaway text costs no more than a full screen.
constexpr size_t kMaxLaidOutBytes = 64 * 1024;

// The byte length of the UTF-8 sequence starting at text[i] (1 for a stray or
// cut-off byte), so that text is only ever split between characters.
size_t SequenceLength(std::string_view text, size_t i) {
  auto byte = static_cast<unsigned char>(text[i]);
  size_t n = byte < 0x80           ? 1
             : (byte >> 5) == 0x6  ? 2
             : (byte >> 4) == 0xE  ? 3
             : (byte >> 3) == 0x1E ? 4
                                   : 1;
  if (i + n > text.size()) return 1;
  for (size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

// The longest prefix of text (whole characters) at most width pixels wide;
// at least one character, so that breaking always makes progress.
size_t FittingPrefix(const TCanvas& canvas, std::string_view text, int width) {
  size_t fit = SequenceLength(text, 0);
  size_t end = fit;
  while (end < text.size()) {
    end += SequenceLength(text, end);
    if (canvas.TextWidth(text.substr(0, end)) > width) break;
    fit = end;
  }
  return fit;
}

// The lines as the label will wrap them, with every line wider than width (a
// single long word) broken between characters.
std::vector<std::string> BreakLines(const TCanvas& canvas, const ui::TextBlock& block, int width) {
  std::vector<std::string> lines;
  for (const std::string& line : block.lines) {
    std::string_view rest = line;
    while (canvas.TextWidth(rest) > width) {
      size_t n = FittingPrefix(canvas, rest, width);
      lines.emplace_back(rest.substr(0, n));
      rest.remove_prefix(n);
    }
    lines.emplace_back(rest);
  }
  return lines;
}

// The line shortened until it and the ellipsis fit width, then the ellipsis.
std::string WithEllipsis(const TCanvas& canvas, std::string line, int width) {
  while (!line.empty() && canvas.TextWidth(line + std::string(kEllipsis)) > width) {
    size_t last = line.size() - 1;
    while (last > 0 && (static_cast<unsigned char>(line[last]) & 0xC0) == 0x80)
      --last;
    line.erase(last);
  }
  while (!line.empty() && line.back() == ' ')
    line.pop_back();
  return line + std::string(kEllipsis);
}

}  // namespace

FittedMessage FitMessage(const TFont& font, std::string_view text, int windowWidth, int labelMargin,
                         int maxWindowWidth, int maxTextHeight) {
  TCanvas canvas;
  canvas.SetFont(font);
  bool cut = false;
  if (text.size() > kMaxLaidOutBytes) {
    size_t end = 0;
    while (end < kMaxLaidOutBytes)
      end += SequenceLength(text, end);
    text = text.substr(0, end);
    cut = true;
  }

  FittedMessage fit;
  fit.windowWidth = windowWidth;
  maxWindowWidth = std::max(maxWindowWidth, windowWidth);
  auto layout = [&] {
    return ui::LayoutText(canvas, text, std::max(1, fit.windowWidth - labelMargin), true);
  };
  ui::TextBlock block = layout();
  // A word wider than the label widens the window to hold it.
  if (block.width > fit.windowWidth - labelMargin) {
    fit.windowWidth =
        std::min(maxWindowWidth, std::max(fit.windowWidth, block.width + labelMargin));
    block = layout();
  }
  // A text taller than the screen allows wraps into fewer, longer lines.
  while (block.height > maxTextHeight && fit.windowWidth < maxWindowWidth) {
    fit.windowWidth = std::min(maxWindowWidth, fit.windowWidth + 100);
    block = layout();
  }
  fit.lineHeight = block.lineHeight;

  const int width = std::max(1, fit.windowWidth - labelMargin);
  const bool tooWide = block.width > width;
  const bool tooTall = block.height > maxTextHeight;
  if (!tooWide && !tooTall && !cut) {
    fit.text = std::string(text);
    fit.textHeight = block.height;
    return fit;
  }

  std::vector<std::string> lines = BreakLines(canvas, block, width);
  size_t room = static_cast<size_t>(std::max(1, maxTextHeight / std::max(1, block.lineHeight)));
  if (lines.size() > room || cut) {
    lines.resize(std::min(room, lines.size()));
    lines.back() = WithEllipsis(canvas, lines.back(), width);
    fit.shortened = true;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) fit.text += '\n';
    fit.text += lines[i];
  }
  fit.textHeight = block.lineHeight * static_cast<int>(lines.size());
  return fit;
}

size_t Utf16Length(std::string_view text) {
  std::vector<char32_t> points;
  text::DecodeUtf8(text, points);
  size_t units = 0;
  for (char32_t c : points)
    units += c > 0xFFFF ? 2 : 1;
  return units;
}

}  // namespace vark::dialogs
