// Gamepads as the toolkit hears of them, shared by the backends: each backend
// reads its pads' state in its own way (SDL's game controllers, XInput) and
// hands the readings to a PadSet, which turns them into PadDown and PadUp
// events.
//
// A pad holds a toolkit button while the button is down; the left stick holds
// the direction it leans toward. The stick holds a direction only once it
// leans past half its travel, and lets go only when it comes back under a
// third: a resting stick that drifts a little, or one held near the threshold
// that trembles, never presses anything. It holds one direction at a time,
// the one it leans toward most, so a diagonal is not two presses.
//
// What a pad holds at its first reading (a pad just connected, or read again
// after a pause: the program was in the background) presses nothing until it
// is let go: a button still held from a game that just ended, or the one
// that woke a wireless pad, is no press meant for the launcher.
#pragma once

#include <cstdint>
#include <deque>
#include <map>

#include "platform/backend/Backend.h"

namespace vark {

// One reading of a pad.
struct PadReading {
  uint16_t buttons = 0;  // PadBit of each button down (the D-pad's directions too)
  int stickX = 0;        // the left stick, -32768 (left) to 32767 (right)
  int stickY = 0;        // -32768 (up) to 32767 (down)
};

constexpr uint16_t PadBit(TPadButton button) {
  return static_cast<uint16_t>(1u << button);
}

// The stick engages a direction from this far out and lets it go under the
// second: half and a third of the full travel.
constexpr int kStickEngage = 16384;
constexpr int kStickRelease = 10923;

class PadSet {
 public:
  // The latest reading of the pad id (any number the backend names its pads by).
  void Read(int id, const PadReading& reading);
  // The pad went away: what it held comes up.
  void Remove(int id);
  // Every pad's buttons come up (the pads are not read for a while); each
  // pad's next reading is a first one.
  void ReleaseAll();
  // Queues the events that take the toolkit from what it was last told to
  // what the pads hold now: releases first, then presses, each in button
  // order. With several pads a button is down while any of them holds it.
  void Report(std::deque<Event>& queue);
  // The buttons the toolkit was last told are down.
  uint16_t Reported() const { return reported_; }

 private:
  struct Pad {
    uint16_t held = 0;
    int stick = -1;        // the direction the stick holds (a TPadButton), or -1
    bool read = false;     // it has had its first reading
    uint16_t ignored = 0;  // held at the first reading and not let go since
  };
  std::map<int, Pad> pads_;
  uint16_t reported_ = 0;
};

}  // namespace vark
