// The Windows backend's gamepads: XInput's four slots (the Xbox controllers
// and the pads that present themselves as one), read into PadReadings and
// reported through a PadSet.
//
// XInput tells nothing by itself: a program asks for a slot's state. An idle
// launcher without a pad must cost nothing, so the slots are never asked
// while none is known connected. They are looked at once at start and
// whenever the system says a device came or went (WM_DEVICECHANGE, after
// RegisterDeviceNotification for every device interface), and a few times in
// the seconds after such a change (the pad's driver may announce it a moment
// after the device). A connected pad is read every 16 ms, and only while one
// of the program's windows is active; what it held comes up when the program
// goes to the background.
//
// xinput1_4.dll (Windows 8 and later) is loaded at run time: where it is
// missing there are simply no pads.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/backend/PadReading.h"
#include "platform/os/windows/Win32.h"

namespace vark::win32 {

class XInputPad {
 public:
  static constexpr int kSlots = 4;
  // A pad is read this often while it is read at all: the timer floor.
  static constexpr int kReadMs = 16;
  // After a device change the slots are looked at again this long after it.
  static constexpr int kLooksAfterChangeMs[] = {250, 1000, 3000};

  // XInputGetState, the system's or a test's.
  using GetState = std::function<DWORD(DWORD slot, XINPUT_STATE* state)>;
  explicit XInputPad(GetState getState);
  ~XInputPad();
  XInputPad(const XInputPad&) = delete;
  XInputPad& operator=(const XInputPad&) = delete;

  // The system's pads; null where xinput1_4.dll is missing.
  static std::unique_ptr<XInputPad> Load();
  // Has the system tell window (WM_DEVICECHANGE) when any device comes or goes.
  void Listen(HWND window);
  // WM_DEVICECHANGE: the slots are looked at before the next wait, and again
  // a few times in the seconds after now.
  void DevicesChanged(uint64_t now);
  // Before the loop waits: looks at the slots when a look is due, reads the
  // connected pads when a reading is due (active: one of the program's
  // windows is the active one) and queues what changed. Returns how long the
  // loop may sleep (negative: no limit).
  int Update(bool active, uint64_t now, std::deque<Event>& queue);
  int Connected() const;

 private:
  static PadReading Reading(const XINPUT_GAMEPAD& pad);
  void Look();

  GetState getState_;
  HDEVNOTIFY notification_ = nullptr;
  bool connected_[kSlots] = {};
  DWORD packet_[kSlots] = {};  // the state's number at the last reading
  bool rereadAll_ = true;      // the pads were not read for a while
  PadSet set_;
  bool lookDue_ = true;  // at start
  std::vector<uint64_t> looks_;
  uint64_t nextRead_ = 0;
};

}  // namespace vark::win32
