// How the event loop waits on Windows: until a message arrives for the thread
// or a timeout passes, never polling. The system's own waits round up to its
// clock tick (15.6 ms by default), which would make the 16 ms timer floor
// tick every 31 ms; a high-resolution waitable timer (Windows 10 1803 and
// later) ends a wait on time. Where there is none, a plain waitable timer with
// the system clock raised to 1 ms while short waits follow each other does.
#pragma once

#include <cstdint>

namespace vark::win32 {

class LoopWait {
 public:
  // highResolution false takes the fallback even where the system has the
  // high-resolution timer (for tests of the fallback).
  explicit LoopWait(bool highResolution = true);
  ~LoopWait();
  LoopWait(const LoopWait&) = delete;
  LoopWait& operator=(const LoopWait&) = delete;

  // Waits until a message is in the thread's queue (also one seen but left
  // there) or ms milliseconds pass; negative: without limit.
  void ForMessage(int ms);
  // Waits ms milliseconds, messages or not.
  void Sleep(int ms);
  bool HighResolution() const { return highResolution_; }

 private:
  // Arms the timer for ms milliseconds from now.
  void Arm(int ms);

  void* timer_ = nullptr;  // HANDLE
  bool highResolution_ = false;
  bool clockRaised_ = false;  // the fallback holds the system clock at 1 ms
};

// Milliseconds of the performance counter, a monotonic clock.
uint64_t MonotonicMilliseconds();

}  // namespace vark::win32
