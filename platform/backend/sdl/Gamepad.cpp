#include "platform/backend/sdl/Gamepad.h"

#include <SDL.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>

namespace vark::sdl {

namespace {

// A pad is read this often while it is read at all: the timer floor.
constexpr int kReadMs = 16;
// The loop's own wake-ups look for new pads at most this often.
constexpr int kLookMs = 250;
// After the device folder changed, the pads are looked for again this long
// after the change: the system sets a new device up and announces it within
// a moment, or a few seconds on a busy machine.
constexpr int kLooksAfterChangeMs[] = {100, 500, 1500, 4000};

constexpr struct {
  SDL_GameControllerButton sdl;
  TPadButton button;
} kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, pbUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, pbDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, pbLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, pbRight},
    {SDL_CONTROLLER_BUTTON_A, pbA},
    {SDL_CONTROLLER_BUTTON_B, pbB},
    {SDL_CONTROLLER_BUTTON_START, pbStart},
    {SDL_CONTROLLER_BUTTON_BACK, pbBack},
};

PadReading Read(SDL_GameController* pad) {
  PadReading r;
  for (const auto& b : kButtons)
    if (SDL_GameControllerGetButton(pad, b.sdl) != 0) r.buttons |= PadBit(b.button);
  r.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  r.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  return r;
}

}  // namespace

Gamepads::Gamepads() {
  // Pads are read when the loop says so, never by SDL's event pump.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  // Buttons by their place, as on an Xbox pad: the bottom face button is A
  // on every pad, whatever its label (SDL would swap a Nintendo pad's).
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
  ready_ = true;
  for (uint32_t type = SDL_JOYAXISMOTION; type <= SDL_CONTROLLERSENSORUPDATE; ++type)
    SDL_EventState(type, SDL_IGNORE);
  SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
  folderWatch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (folderWatch_ >= 0 &&
      inotify_add_watch(folderWatch_, "/dev/input", IN_CREATE | IN_DELETE | IN_ATTRIB) < 0) {
    close(folderWatch_);
    folderWatch_ = -1;
  }
  LookForPads();
}

Gamepads::~Gamepads() {
  if (folderWatch_ >= 0) close(folderWatch_);
  if (!ready_) return;
  for (auto& [id, pad] : pads_)
    SDL_GameControllerClose(pad);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::LookForPads() {
  SDL_GameControllerUpdate();
  for (auto it = pads_.begin(); it != pads_.end();) {
    if (SDL_GameControllerGetAttached(it->second)) {
      ++it;
      continue;
    }
    SDL_GameControllerClose(it->second);
    set_.Remove(it->first);
    it = pads_.erase(it);
  }
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
    if (id < 0 || pads_.count(id) != 0 || !SDL_IsGameController(i)) continue;
    if (SDL_GameController* pad = SDL_GameControllerOpen(i)) pads_[id] = pad;
  }
  joysticks_ = count;
}

int Gamepads::Update(bool active, uint64_t now, std::deque<Event>& queue) {
  if (!ready_) return -1;
  // A joystick SDL added without being asked (a program's virtual one) shows
  // in the count at once.
  if (deviceChanged_ || now >= nextLook_ || SDL_NumJoysticks() != joysticks_) {
    deviceChanged_ = false;
    nextLook_ = now + kLookMs;
    LookForPads();
    nextRead_ = 0;
  }
  if (pads_.empty() || !active) {
    // Not read now: what was held comes up.
    set_.ReleaseAll();
    set_.Report(queue);
    return -1;
  }
  if (now >= nextRead_) {
    nextRead_ = now + kReadMs;
    SDL_GameControllerUpdate();
    for (auto& [id, pad] : pads_) {
      if (SDL_GameControllerGetAttached(pad)) set_.Read(id, Read(pad));
    }
    // One that went away is let go at the next look, a quarter second away at
    // most; its buttons come up now.
    for (auto& [id, pad] : pads_) {
      if (!SDL_GameControllerGetAttached(pad)) set_.Remove(id);
    }
    set_.Report(queue);
  }
  return static_cast<int>(nextRead_ - now);
}

int Gamepads::Prepare(std::vector<Descriptor>& fds) {
  fds.clear();
  if (folderWatch_ >= 0) fds.push_back({folderWatch_, POLLIN, 0});
  if (looks_.empty()) return -1;
  const uint64_t now = SDL_GetTicks64();
  return looks_.front() <= now ? 0 : static_cast<int>(looks_.front() - now);
}

void Gamepads::Handle(std::span<const Descriptor> fds) {
  bool changed = false;
  for (const Descriptor& d : fds) {
    if (d.fd != folderWatch_ || (d.revents & POLLIN) == 0) continue;
    char buffer[4096];
    while (read(folderWatch_, buffer, sizeof buffer) > 0)
      changed = true;
  }
  const uint64_t now = SDL_GetTicks64();
  while (!looks_.empty() && looks_.front() <= now) {
    looks_.erase(looks_.begin());
    deviceChanged_ = true;
  }
  if (!changed) return;
  deviceChanged_ = true;
  looks_.clear();
  for (int ms : kLooksAfterChangeMs)
    looks_.push_back(now + static_cast<uint64_t>(ms));
}

}  // namespace vark::sdl
