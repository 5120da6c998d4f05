// The SDL backend's way of waiting on descriptors besides the display's (the
// accessibility bus): the wait sources of Backend.h.
//
// SDL owns the wait on its display connection: on X11 it reads Xlib's queue
// before it sleeps, on Wayland it follows the read protocol and repeats held
// keys itself, and it wakes for events pushed from other threads. Waiting on
// the display's descriptor behind its back would have to copy all of that.
// So the loop keeps waiting in SDL, and a thread of ours sleeps in poll(2) on
// the sources' descriptors; when one becomes ready it pushes an event that
// ends SDL's wait (a bell), and sleeps until it is armed again. The thread
// never handles anything: after every wait the sources handle their
// descriptors on the user-interface thread. Nothing wakes while nothing
// happens, and no thread exists until a source is added.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/backend/Backend.h"

namespace vark::sdl {

class DescriptorWatch {
 public:
  // ring is called on the watch's thread when an armed descriptor is ready.
  explicit DescriptorWatch(std::function<void()> ring);
  ~DescriptorWatch();
  DescriptorWatch(const DescriptorWatch&) = delete;
  DescriptorWatch& operator=(const DescriptorWatch&) = delete;

  void Add(WaitSource& source);
  void Remove(WaitSource& source);
  bool Empty() const { return sources_.empty(); }

  // Before the wait: asks every source for its descriptors and arms the bell
  // on them. Returns the longest wait the sources allow (negative: any).
  int Prepare();
  // After the wait: looks at the descriptors without waiting and lets each
  // source handle them. True when one of them was ready.
  bool Handle();

 private:
  struct Entry {
    WaitSource* source;
    std::vector<WaitSource::Descriptor> fds;
  };
  void Arm(std::vector<pollfd> fds);
  void Run();

  std::vector<Entry> sources_;
  std::function<void()> ring_;

  // Shared with the thread.
  std::mutex mutex_;
  std::vector<pollfd> armed_;
  bool isArmed_ = false;
  uint64_t generation_ = 0;  // counts the arming, so a late ring disarms nothing new
  bool stop_ = false;
  int wake_ = -1;  // an eventfd that interrupts the thread's poll
  std::thread thread_;
};

}  // namespace vark::sdl
