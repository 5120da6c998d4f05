// TTimer: a tick on the user-interface thread every Interval milliseconds while
// Enabled (and Interval > 0). Ticks are delivered by the event loop, also inside
// modal loops, in deadline order; a timer that falls behind is not caught up
// (one tick, then the next one Interval later). The real backend never ticks faster than
// every 16 ms, but on the system's 15.6 ms tick (TickDue); the headless one's clock is virtual.
//
// A tick handler may disable its own timer, enable or free another, or free
// its own timer or the control that owns it.
//
// With the environment variable VARK_TRACE_TIMERS set, each tick is written to
// the standard error, naming the timer by its owners' names and its own.
#pragma once

#include <cstdint>

#include "platform/ui/Component.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  int Interval() const { return interval_; }
  // A changed interval restarts the count from now.
  void SetInterval(int value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  TNotifyEvent OnTimer;

  // Whether the timer is waiting for its next tick, and when that is due (the
  // backend's clock, milliseconds).
  bool Scheduled() const { return scheduled_; }
  uint64_t Deadline() const { return deadline_; }

 private:
  friend class TimerQueueAccess;
  void Reschedule();

  int interval_ = 1000;
  bool enabled_ = true;
  bool scheduled_ = false;
  uint64_t deadline_ = 0;
  uint64_t sequence_ = 0;  // orders timers that are due at the same moment
};

namespace vark::ui {

// Whether a tick due at deadline comes in a turn at now, when the turns come
// every turnPeriod milliseconds (0: the loop wakes at each deadline itself).
// Waiting for the turn after the deadline would make a 16 ms timer on the
// system's 15.6 ms tick come on one tick and then on the second, as the
// rounding to whole milliseconds falls: a deadline less than half a period
// ahead is met now.
bool TickDue(uint64_t deadline, uint64_t now, int turnPeriod);

// The running timers, for the event loop.
struct TimerQueue {
  // The earliest deadline of a scheduled timer; false when none runs.
  static bool NextDeadline(uint64_t& deadline);
  // Ticks every timer due at the backend's current time, in deadline order.
  // Returns how many ticked.
  static int RunDue();
  // Ticks one timer now, as the event loop would, and starts its next interval.
  static void Fire(TTimer& timer);
  // Forgets every timer (a fresh backend, for tests).
  static void Reset();
  static int ScheduledCount();
};

}  // namespace vark::ui
