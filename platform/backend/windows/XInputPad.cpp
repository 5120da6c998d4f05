#include "platform/backend/windows/XInputPad.h"

#include <algorithm>

namespace vark::win32 {

namespace {

constexpr struct {
  WORD xinput;
  TPadButton button;
} kButtons[] = {
    {XINPUT_GAMEPAD_DPAD_UP, pbUp},
    {XINPUT_GAMEPAD_DPAD_DOWN, pbDown},
    {XINPUT_GAMEPAD_DPAD_LEFT, pbLeft},
    {XINPUT_GAMEPAD_DPAD_RIGHT, pbRight},
    {XINPUT_GAMEPAD_A, pbA},
    {XINPUT_GAMEPAD_B, pbB},
    {XINPUT_GAMEPAD_START, pbStart},
    {XINPUT_GAMEPAD_BACK, pbBack},
};

using GetStateFunction = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

}  // namespace

XInputPad::XInputPad(GetState getState) : getState_(std::move(getState)) {}

XInputPad::~XInputPad() {
  if (notification_ != nullptr) UnregisterDeviceNotification(notification_);
}

std::unique_ptr<XInputPad> XInputPad::Load() {
  // Loaded once and never freed: XInput runs a thread of its own in the
  // library, and unloading it under that thread crashes the process (Wine's
  // does, at once).
  static const HMODULE library =
      LoadLibraryExW(L"xinput1_4.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr) return nullptr;
  auto get = reinterpret_cast<GetStateFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "XInputGetState")));
  if (get == nullptr) return nullptr;
  return std::make_unique<XInputPad>(get);
}

void XInputPad::Listen(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  // Every kind of device: pads arrive as HID devices, as XInput's own
  // interface or as a wireless receiver's, depending on the pad.
  notification_ = RegisterDeviceNotificationW(
      window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES);
}

void XInputPad::DevicesChanged(uint64_t now) {
  lookDue_ = true;
  looks_.clear();
  for (int ms : kLooksAfterChangeMs)
    looks_.push_back(now + static_cast<uint64_t>(ms));
}

int XInputPad::Connected() const {
  return static_cast<int>(std::count(std::begin(connected_), std::end(connected_), true));
}

PadReading XInputPad::Reading(const XINPUT_GAMEPAD& pad) {
  PadReading r;
  for (const auto& b : kButtons)
    if ((pad.wButtons & b.xinput) != 0) r.buttons |= PadBit(b.button);
  r.stickX = pad.sThumbLX;
  // XInput's stick counts up as positive; ours counts down.
  r.stickY = std::min(32767, -static_cast<int>(pad.sThumbLY));
  return r;
}

void XInputPad::Look() {
  for (DWORD slot = 0; slot < kSlots; ++slot) {
    XINPUT_STATE state{};
    const bool connected = getState_(slot, &state) == ERROR_SUCCESS;
    if (!connected && connected_[slot]) set_.Remove(static_cast<int>(slot));
    connected_[slot] = connected;
  }
}

int XInputPad::Update(bool active, uint64_t now, std::deque<Event>& queue) {
  while (!looks_.empty() && looks_.front() <= now) {
    looks_.erase(looks_.begin());
    lookDue_ = true;
  }
  if (lookDue_) {
    lookDue_ = false;
    Look();
    nextRead_ = 0;
  }
  const int untilLook = looks_.empty() ? -1 : static_cast<int>(looks_.front() - now);
  if (Connected() == 0 || !active) {
    // Read again afresh once reading resumes, unchanged states too.
    rereadAll_ = true;
    set_.ReleaseAll();
    set_.Report(queue);
    return untilLook;
  }
  if (now >= nextRead_) {
    nextRead_ = now + kReadMs;
    for (DWORD slot = 0; slot < kSlots; ++slot) {
      if (!connected_[slot]) continue;
      XINPUT_STATE state{};
      if (getState_(slot, &state) != ERROR_SUCCESS) {
        connected_[slot] = false;
        set_.Remove(static_cast<int>(slot));
        continue;
      }
      // An unchanged state keeps its number: nothing to judge again.
      if (state.dwPacketNumber == packet_[slot] && !rereadAll_) continue;
      packet_[slot] = state.dwPacketNumber;
      set_.Read(static_cast<int>(slot), Reading(state.Gamepad));
    }
    rereadAll_ = false;
    set_.Report(queue);
  }
  const int untilRead = static_cast<int>(nextRead_ - now);
  return untilLook < 0 ? untilRead : std::min(untilLook, untilRead);
}

}  // namespace vark::win32
