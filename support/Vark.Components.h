// The accent colour service: the desktop's accent colour read from the
// per-user settings store, a copy moved into a middle lightness band, a
// re-read at most every 30 seconds, and the colour each CAccentColor asks for.
// Everything runs on the user-interface thread; the state is not locked.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics/Color.h"
#include "platform/os/DateTime.h"
#include "platform/os/SettingsStore.h"

enum CAccentColor : uint8_t { acNone, acAccent, acAccentAdjust, acAccentCustom };

// Module state, one copy per process.
extern TColor AccentColor;          // the desktop accent, or 0x00D77800
extern TColor AdjustedAccentColor;  // AccentColor moved into lightness 110..155
extern TColor CustomAccentColor;    // 0x00C57517; nothing in the program changes it
extern TDateTime LastCheck;         // when the store was last read; 0 before the first read

// CheckForUpdateAccent, then AccentColor (acAccent), AdjustedAccentColor
// (acAccentAdjust), CustomAccentColor (acAccentCustom) or 0x00D47800 (acNone).
TColor GetAccentColor(CAccentColor accent);

// SyncAccentColor when more than 30 whole seconds lie between now and LastCheck.
void CheckForUpdateAccent();

// Reads the store and recomputes both accent colours. A stored value that is
// not an integer propagates its ERegistryException after the store is closed,
// leaving AccentColor at the default and AdjustedAccentColor as it was.
void SyncAccentColor();

namespace vark::components {

// The module's own copies of the colour arithmetic. ChangeColorSat is the
// colour utility's; GetColorSat reads the three low bytes as stored, without
// resolving system colours.
TColor ChangeColorSat(TColor clr, int perc);
int GetColorSat(TColor color, int ofing);

// What the service reads time and settings from. Tests put a virtual clock
// and a fake store here; an empty function restores the real one (local
// time; the desktop's store).
using Clock = std::function<TDateTime()>;
using StoreFactory = std::function<std::unique_ptr<vark::os::SettingsStore>()>;
void SetAccentClock(Clock clock);
void SetAccentStoreFactory(StoreFactory factory);

}  // namespace vark::components
