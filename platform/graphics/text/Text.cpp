#include "platform/graphics/Text.h"

#include <memory>
#include <mutex>

// Each platform's engine (TextEngine: Measure, Draw, Describe) behind the
// same calls.
#if defined(_WIN32)
#include "platform/graphics/text/windows/TextEngine.h"
#else
#include "platform/graphics/text/linux/TextEngine.h"
#endif

namespace vark::text {

namespace {

std::mutex& EngineMutex() {
  static std::mutex mutex;
  return mutex;
}

// Created on first use and kept for the life of the program (or until
// DropCaches), so a cold start pays for the font lookup once.
std::unique_ptr<TextEngine>& EngineSlot() {
  static std::unique_ptr<TextEngine> engine;
  return engine;
}

TextEngine& Engine() {
  auto& slot = EngineSlot();
  if (!slot) slot = std::make_unique<TextEngine>();
  return *slot;
}

}  // namespace

TextMetrics Measure(const TFont& font, std::string_view text, bool rightToLeft) {
  std::lock_guard lock(EngineMutex());
  return Engine().Measure(font, text, rightToLeft);
}

void Draw(TBitmap& target, const TRect& clip, int x, int y, const TFont& font,
          std::string_view text, bool rightToLeft) {
  std::lock_guard lock(EngineMutex());
  Engine().Draw(target, clip, x, y, font, text, rightToLeft);
}

FaceInfo DescribeFace(const TFont& font, char32_t codepoint) {
  std::lock_guard lock(EngineMutex());
  return Engine().Describe(font, codepoint);
}

void DropCaches() {
  std::lock_guard lock(EngineMutex());
  EngineSlot().reset();
}

}  // namespace vark::text
