#include "platform/backend/PadReading.h"

#include <cstdlib>

namespace vark {

namespace {

// How far the stick leans toward a direction (negative: away from it).
int Toward(int direction, const PadReading& r) {
  switch (direction) {
    case pbUp:
      return -r.stickY;
    case pbDown:
      return r.stickY;
    case pbLeft:
      return -r.stickX;
    case pbRight:
      return r.stickX;
    default:
      return 0;
  }
}

int StickDirection(int held, const PadReading& r) {
  if (held >= 0 && Toward(held, r) >= kStickRelease) return held;
  const int x = std::abs(r.stickX), y = std::abs(r.stickY);
  if (x < kStickEngage && y < kStickEngage) return -1;
  if (y >= x) return r.stickY > 0 ? pbDown : pbUp;
  return r.stickX > 0 ? pbRight : pbLeft;
}

}  // namespace

void PadSet::Read(int id, const PadReading& reading) {
  Pad& pad = pads_[id];
  pad.stick = StickDirection(pad.stick, reading);
  uint16_t held = reading.buttons;
  if (pad.stick >= 0) held |= PadBit(static_cast<TPadButton>(pad.stick));
  if (!pad.read) {
    pad.read = true;
    pad.ignored = held;
  }
  pad.ignored &= held;
  pad.held = held & static_cast<uint16_t>(~pad.ignored);
}

void PadSet::Remove(int id) {
  pads_.erase(id);
}

void PadSet::ReleaseAll() {
  for (auto& [id, pad] : pads_)
    pad = {};
}

void PadSet::Report(std::deque<Event>& queue) {
  uint16_t held = 0;
  for (const auto& [id, pad] : pads_)
    held |= pad.held;
  for (bool down : {false, true}) {
    for (int b = 0; b < kPadButtonCount; ++b) {
      const uint16_t bit = PadBit(static_cast<TPadButton>(b));
      if (((held & bit) != 0) != down || ((reported_ & bit) != 0) == down) continue;
      Event e{down ? EventKind::PadDown : EventKind::PadUp, 0};
      e.pad = static_cast<TPadButton>(b);
      queue.push_back(e);
    }
  }
  reported_ = held;
}

}  // namespace vark
