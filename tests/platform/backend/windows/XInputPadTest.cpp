// The XInput reader (platform/backend/windows/XInputPad.h) behind its seam:
// a test's XInputGetState, one table of the states of slot 1 and of the
// events they make, with how often the slots were asked (never while none is
// known connected) and how long the loop may sleep.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/backend/windows/XInputPad.h"
#include "tests/platform/backend/PadEventNames.h"

namespace {

using vark::Event;
using vark::EventKind;
using vark::testing::PadEventNames;
using vark::win32::XInputPad;

struct PadState {
  bool connected = false;
  WORD buttons = 0;
  SHORT lx = 0, ly = 0;
  DWORD packet = 0;
};

TEST(XInputPad, StatesOfSlotOneAsEventsAskingOnlyWhileAPadIsKnown) {
  struct Step {
    const char* what;
    uint64_t at;
    bool active;
    bool deviceChange;
    PadState pad;
    std::vector<std::string> events;
    int asked;  // XInputGetState calls
    int wait;   // what Update answers
  };
  const WORD A = XINPUT_GAMEPAD_A, B = XINPUT_GAMEPAD_B, START = XINPUT_GAMEPAD_START;
  const Step steps[] = {
      {"start: the four slots once", 0, true, false, {}, {}, 4, -1},
      {"no pad, no device change: nothing asked", 5000, true, false, {}, {}, 0, -1},
      {"a device came: four slots now", 6000, true, true, {}, {}, 4, 250},
      {"the pad, found by the look 250 ms on", 6250, true, false, {true, 0, 0, 0, 1}, {}, 5, 16},
      {"A", 6266, true, false, {true, A, 0, 0, 2}, {"+A"}, 1, 16},
      {"an unchanged state", 6282, true, false, {true, A, 0, 0, 2}, {}, 1, 16},
      {"the stick half up (XInput counts up)",
       6298,
       true,
       false,
       {true, 0, 0, 16384, 3},
       {"-A", "+Up"},
       1,
       16},
      {"drifting back, over a third", 6314, true, false, {true, 0, -3000, 11000, 4}, {}, 1, 16},
      {"the D-pad and the stick down, all the way",
       6330,
       true,
       false,
       {true, XINPUT_GAMEPAD_DPAD_DOWN, 0, -32768, 5},
       {"-Up", "+Down"},
       1,
       16},
      {"Start and Back",
       6346,
       true,
       false,
       {true, START | XINPUT_GAMEPAD_BACK, 0, 0, 6},
       {"-Down", "+Start", "+Back"},
       1,
       16},
      {"before the next reading is due", 6350, true, false, {true, 0, 0, 0, 7}, {}, 0, 12},
      {"in the background: not asked, let go",
       6362,
       false,
       false,
       {true, START, 0, 0, 7},
       {"-Start", "-Back"},
       0,
       638},
      {"active again, Start still held: no press",
       6400,
       true,
       false,
       {true, START, 0, 0, 7},
       {},
       1,
       16},
      {"Start let go, B", 6416, true, false, {true, B, 0, 0, 8}, {"+B"}, 1, 16},
      {"unplugged while B is held", 6432, true, false, {}, {"-B"}, 1, 16},
      {"the last looks after the change", 12000, true, false, {}, {}, 4, -1},
      {"no pad: nothing asked", 60000, true, false, {}, {}, 0, -1},
  };
  PadState slot1;
  int asked = 0;
  XInputPad pads([&](DWORD slot, XINPUT_STATE* state) -> DWORD {
    ++asked;
    if (slot != 1 || !slot1.connected) return ERROR_DEVICE_NOT_CONNECTED;
    *state = XINPUT_STATE{};
    state->dwPacketNumber = slot1.packet;
    state->Gamepad.wButtons = slot1.buttons;
    state->Gamepad.sThumbLX = slot1.lx;
    state->Gamepad.sThumbLY = slot1.ly;
    return ERROR_SUCCESS;
  });
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    slot1 = s.pad;
    asked = 0;
    if (s.deviceChange) pads.DevicesChanged(s.at);
    std::deque<Event> events;
    const int wait = pads.Update(s.active, s.at, events);
    EXPECT_EQ(PadEventNames(events), s.events);
    EXPECT_EQ(asked, s.asked);
    EXPECT_EQ(wait, s.wait);
  }
}

// The system's XInput runs a thread inside its library once asked: the
// library must stay loaded after the reader goes, or that thread crashes.
TEST(XInputPad, TheLibraryStaysLoadedAfterTheReaderGoes) {
  auto pad = XInputPad::Load();
  ASSERT_NE(pad, nullptr);
  std::deque<Event> events;
  pad->Update(true, 0, events);
  pad.reset();
  EXPECT_NE(GetModuleHandleW(L"xinput1_4.dll"), nullptr);
}

}  // namespace
