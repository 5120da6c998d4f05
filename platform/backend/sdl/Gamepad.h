// The SDL backend's gamepads: SDL's game controllers (any pad SDL knows a
// layout for), read into PadReadings and reported through a PadSet.
//
// SDL's own way with pads would keep an idle program awake: once a joystick
// is connected, SDL's wait for events polls every millisecond, whether the
// program looks at the pad or not. So SDL's joystick and controller events
// are switched off (SDL then waits as it does without a pad) and the pads are
// read here, every 16 ms, only while one is connected and one of the
// program's windows is active: SDL drops a pad's presses for a program in the
// background anyway.
//
// Pads come and go (hot-plugging). SDL finds out when its joystick state is
// updated; with no pad connected nothing updates it on a schedule, so a
// watch on the system's input device folder (/dev/input, inotify) wakes the
// loop when a device appears or goes, and the pads are looked for then and a
// few times in the seconds after (the device's node appears before the
// system has finished setting it up and announced it to SDL). They are also
// looked for, at most every quarter of a second, whenever the loop wakes
// anyway. With no pad and no device coming or going, nothing wakes the
// program.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/backend/PadReading.h"

typedef struct _SDL_GameController SDL_GameController;

namespace vark::sdl {

class Gamepads final : public WaitSource {
 public:
  // Opens SDL's game controller subsystem (after the video one); without it,
  // or without the device folder, there are simply no pads or no wake-ups
  // for new ones.
  Gamepads();
  ~Gamepads();
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Before the loop waits: opens the pads that came, lets go of those that
  // went, reads the pads when a reading is due and queues what changed.
  // Returns how long the loop may sleep before the next reading (negative:
  // no limit).
  int Update(bool active, uint64_t now, std::deque<Event>& queue);
  bool Ready() const { return ready_; }
  int Connected() const { return static_cast<int>(pads_.size()); }

  // WaitSource: the device folder's changes, and the looks that follow one.
  int Prepare(std::vector<Descriptor>& fds) override;
  void Handle(std::span<const Descriptor> fds) override;

 private:
  void LookForPads();

  bool ready_ = false;                           // SDL's game controllers are there
  std::map<int32_t, SDL_GameController*> pads_;  // by SDL's instance id
  PadSet set_;
  int folderWatch_ = -1;  // inotify on /dev/input
  bool deviceChanged_ = false;
  std::vector<uint64_t> looks_;  // when to look for pads again after a change
  uint64_t nextLook_ = 0;        // the next look on a wake-up of the loop's own
  uint64_t nextRead_ = 0;
  int joysticks_ = 0;  // SDL's count of joysticks at the last look
};

}  // namespace vark::sdl
