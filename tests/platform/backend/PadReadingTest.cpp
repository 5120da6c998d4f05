// Pad readings as the toolkit's pad events (platform/backend/PadReading.h):
// the stick's dead zone and hysteresis, one direction at a time, several
// pads, a pad that goes away, and the order of the events.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/backend/PadReading.h"
#include "tests/platform/backend/PadEventNames.h"

namespace {

using vark::Event;
using vark::EventKind;
using vark::PadBit;
using vark::PadReading;
using vark::PadSet;
using vark::testing::PadEventNames;

TEST(PadReading, TheStickHoldsOneDirectionPastHalfAndLetsGoUnderAThird) {
  struct Step {
    int x, y;
    std::vector<std::string> events;
  };
  const Step steps[] = {
      {0, 0, {}},
      {3000, -9000, {}},          // a drifting stick
      {-16000, 16000, {}},        // just short of half
      {0, 16384, {"+Down"}},      // half way down
      {0, 11000, {}},             // back, but over a third: still held
      {15000, 11000, {}},         // sideways too: one direction at a time
      {0, 10000, {"-Down"}},      // under a third
      {0, 15000, {}},             // over a third, not yet half: nothing again
      {20000, 30000, {"+Down"}},  // a diagonal is the axis it leans on most
      {30000, 20000, {}},         // Down still over a third
      {30000, 0, {"-Down", "+Right"}},
      {0, -32768, {"-Right", "+Up"}},  // flung across: the old one lets go first
      {0, 0, {"-Up"}},
  };
  PadSet pads;
  for (const Step& s : steps) {
    SCOPED_TRACE(std::to_string(s.x) + ", " + std::to_string(s.y));
    std::deque<Event> events;
    pads.Read(0, PadReading{0, s.x, s.y});
    pads.Report(events);
    EXPECT_EQ(PadEventNames(events), s.events);
  }
}

TEST(PadReading, ButtonsOfEveryPadUntilItGoesAway) {
  PadSet pads;
  std::deque<Event> events;
  pads.Read(1, PadReading{});
  pads.Read(2, PadReading{});
  // The D-pad and the stick give the same direction: one press.
  pads.Read(1, PadReading{PadBit(pbDown), 0, 30000});
  pads.Read(2, PadReading{static_cast<uint16_t>(PadBit(pbA) | PadBit(pbStart)), 0, 0});
  pads.Report(events);
  EXPECT_EQ(PadEventNames(events), (std::vector<std::string>{"+Down", "+A", "+Start"}));
  events.clear();
  // A button stays down while any pad holds it; releases come before presses.
  pads.Read(1, PadReading{PadBit(pbA), 0, 0});
  pads.Read(2, PadReading{PadBit(pbB), 0, 0});
  pads.Report(events);
  EXPECT_EQ(PadEventNames(events), (std::vector<std::string>{"-Down", "-Start", "+B"}));
  events.clear();
  pads.Remove(1);  // unplugged while holding A
  pads.Report(events);
  EXPECT_EQ(PadEventNames(events), std::vector<std::string>{"-A"});
  events.clear();
  pads.ReleaseAll();  // no longer read (the program went to the background)
  pads.Report(events);
  EXPECT_EQ(PadEventNames(events), std::vector<std::string>{"-B"});
  EXPECT_EQ(pads.Reported(), 0);
  events.clear();
  // Read again, or newly connected: what it holds already presses nothing
  // until it is let go.
  pads.Read(2, PadReading{PadBit(pbB), 0, -30000});
  pads.Read(3, PadReading{PadBit(pbA), 0, 0});
  pads.Report(events);
  pads.Read(2, PadReading{PadBit(pbB), 0, 0});
  pads.Read(3, PadReading{0, 0, 0});
  pads.Report(events);
  EXPECT_TRUE(events.empty()) << PadEventNames(events).front();
  pads.Read(2, PadReading{0, 0, -30000});
  pads.Read(3, PadReading{PadBit(pbA), 0, 0});
  pads.Report(events);
  EXPECT_EQ(PadEventNames(events), (std::vector<std::string>{"+Up", "+A"}));
}

}  // namespace
