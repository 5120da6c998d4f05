#include "support/Vark.Components.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TColor AccentColor = 0x00D77800;
TColor AdjustedAccentColor = 0x00D77800;
TColor CustomAccentColor = 0x00C57517;
TDateTime LastCheck = 0;

namespace vark::components {

namespace {

constexpr TColor kDefaultAccent = 0x00D77800;
constexpr TColor kNoAccent = 0x00D47800;
constexpr const char* kAccentKey = "Software\\Microsoft\\Windows\\DWM\\";
constexpr const char* kAccentValue = "AccentColor";

Clock& ClockSlot() {
  static Clock clock;
  return clock;
}

StoreFactory& FactorySlot() {
  static StoreFactory factory;
  return factory;
}

TDateTime Now() {
  if (ClockSlot()) return ClockSlot()();
  return vark::os::LocalNow();
}

std::unique_ptr<vark::os::SettingsStore> OpenStore() {
  if (FactorySlot()) return FactorySlot()();
  return vark::os::OpenUserSettingsStore();
}

// Closes the key however the read ends.
class KeyCloser {
 public:
  explicit KeyCloser(vark::os::SettingsStore& store) : store_(store) {}
  ~KeyCloser() { store_.CloseKey(); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  vark::os::SettingsStore& store_;
};

}  // namespace

TColor ChangeColorSat(TColor clr, int perc) {
  const TColor rgb = ColorToRGB(clr);
  auto shift = [perc](uint8_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(int64_t{v} + perc, 0, 255));
  };
  return RGB(shift(GetRValue(rgb)), shift(GetGValue(rgb)), shift(GetBValue(rgb)));
}

int GetColorSat(TColor color, int ofing) {
  const double r = GetRValue(color) / 255.0 * ofing;
  const double g = GetGValue(color) / 255.0 * ofing;
  const double b = GetBValue(color) / 255.0 * ofing;
  return static_cast<int>((r + g + b) / 3);
}

void SetAccentClock(Clock clock) {
  ClockSlot() = std::move(clock);
}

void SetAccentStoreFactory(StoreFactory factory) {
  FactorySlot() = std::move(factory);
}

}  // namespace vark::components

TColor GetAccentColor(CAccentColor accent) {
  CheckForUpdateAccent();
  switch (accent) {
    case acAccent:
      return AccentColor;
    case acAccentAdjust:
      return AdjustedAccentColor;
    case acAccentCustom:
      return CustomAccentColor;
    case acNone:
    default:
      return vark::components::kNoAccent;
  }
}

void CheckForUpdateAccent() {
  // Whole seconds between the two day numbers. The span is rounded to the
  // millisecond first: day numbers are doubles, and 31 seconds computed from
  // two of them can come out as 30.9999... and truncate to 30.
  const double days = std::fabs(vark::components::Now() - LastCheck);
  const int64_t seconds = std::llround(days * 86400000.0) / 1000;
  if (seconds > 30) SyncAccentColor();
}

void SyncAccentColor() {
  using namespace vark::components;
  LastCheck = Now();
  AccentColor = kDefaultAccent;
  if (std::unique_ptr<vark::os::SettingsStore> store = OpenStore()) {
    KeyCloser closer(*store);
    if (store->OpenKeyReadOnly(kAccentKey) && store->ValueExists(kAccentValue)) {
      const uint32_t stored = static_cast<uint32_t>(store->ReadInteger(kAccentValue));
      // 0xAABBGGRR: the remainder drops an alpha byte of 0xFF.
      AccentColor = stored % 0xFF000000u;
    }
  }
  AdjustedAccentColor = AccentColor;
  const int l = GetColorSat(AccentColor, 255);
  if (l < 110) AdjustedAccentColor = ChangeColorSat(AccentColor, 110 - l);
  if (l > 155) AdjustedAccentColor = ChangeColorSat(AccentColor, 155 - l);
}
