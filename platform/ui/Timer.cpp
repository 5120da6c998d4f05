#include "platform/ui/Timer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiState.h"

namespace {

std::vector<TTimer*>& Registry() {
  return vark::ui::State().timers;
}

uint64_t NextSequence() {
  return ++vark::ui::State().timerSequence;
}

uint64_t Now() {
  return Application->Backend().Now();
}

int EffectiveInterval(int interval) {
  return std::max(interval, std::max(1, Application->Backend().TimerFloor()));
}

// With VARK_TRACE_TIMERS set, every tick is written to the standard error as
// "timer: Form1.ScanFile (2000 ms)": what keeps a window awake shows without
// a debugger, and tests can tell an idle window from a busy one whatever the
// machine's load.
bool TraceTicks() {
  static const bool trace = std::getenv("VARK_TRACE_TIMERS") != nullptr;
  return trace;
}

void TraceTick(const TTimer& timer) {
  std::string name = timer.Name().empty() ? "(unnamed)" : timer.Name();
  for (const TComponent* owner = timer.Owner(); owner != nullptr; owner = owner->Owner()) {
    if (!owner->Name().empty()) name = owner->Name() + "." + name;
  }
  std::fprintf(stderr, "timer: %s (%d ms)\n", name.c_str(), timer.Interval());
}

}  // namespace

// Grants the queue access to the timer's schedule.
class TimerQueueAccess {
 public:
  static void Fire(TTimer& timer);
  static bool Due(const TTimer& t, uint64_t now, int turnPeriod) {
    return t.scheduled_ && vark::ui::TickDue(t.deadline_, now, turnPeriod);
  }
  static void Unschedule(TTimer& t) { t.scheduled_ = false; }
  static uint64_t Sequence(const TTimer& t) { return t.sequence_; }
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  Registry().push_back(this);
  Reschedule();
}

TTimer::~TTimer() {
  Destroying();
  scheduled_ = false;
  auto& r = Registry();
  r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

void TTimer::SetInterval(int value) {
  if (value == interval_) return;
  interval_ = value;
  Reschedule();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Reschedule();
}

void TTimer::Reschedule() {
  scheduled_ = enabled_ && interval_ > 0;
  if (!scheduled_) return;
  deadline_ = Now() + static_cast<uint64_t>(EffectiveInterval(interval_));
  sequence_ = NextSequence();
}

void TimerQueueAccess::Fire(TTimer& timer) {
  // The next interval counts from this tick; a handler that disables the timer
  // or changes its interval overrides this.
  if (timer.scheduled_) {
    timer.deadline_ = Now() + static_cast<uint64_t>(EffectiveInterval(timer.interval_));
    timer.sequence_ = NextSequence();
  }
  if (!timer.OnTimer) return;
  if (TraceTicks()) TraceTick(timer);
  // The handler may free the timer, and with it this std::function.
  TNotifyEvent handler = timer.OnTimer;
  try {
    handler(&timer);
  } catch (const std::exception& e) {
    Application->HandleException(&timer, e);
  }
}

namespace vark::ui {

bool TimerQueue::NextDeadline(uint64_t& deadline) {
  bool any = false;
  for (TTimer* t : Registry()) {
    // A timer without a handler does nothing when it ticks; it never wakes the loop.
    if (!t->Scheduled() || !t->OnTimer) continue;
    if (!any || t->Deadline() < deadline) deadline = t->Deadline();
    any = true;
  }
  return any;
}

bool TickDue(uint64_t deadline, uint64_t now, int turnPeriod) {
  if (deadline <= now) return true;
  // The turn nearer the deadline takes the tick. Accepting any turn less
  // than a period early would tick a 30 ms timer on every 15.6 ms tick.
  return turnPeriod > 0 && (deadline - now) * 2 < static_cast<uint64_t>(turnPeriod);
}

int TimerQueue::RunDue() {
  const uint64_t now = Now();
  const int period = Application->Backend().TurnPeriod();
  std::vector<TTimer*> due;
  for (TTimer* t : Registry()) {
    if (TimerQueueAccess::Due(*t, now, period)) due.push_back(t);
  }
  if (due.empty()) return 0;
  std::sort(due.begin(), due.end(), [](TTimer* a, TTimer* b) {
    return a->Deadline() != b->Deadline()
               ? a->Deadline() < b->Deadline()
               : TimerQueueAccess::Sequence(*a) < TimerQueueAccess::Sequence(*b);
  });
  // Handlers may disable, re-enable or free timers, including the ones still
  // to tick here: hold weak references and check each again before its tick.
  std::vector<TWeakRef<TTimer>> refs(due.begin(), due.end());
  int ticked = 0;
  for (auto& ref : refs) {
    TTimer* t = ref.get();
    if (t == nullptr || !TimerQueueAccess::Due(*t, now, period)) continue;
    TimerQueueAccess::Fire(*t);
    ++ticked;
  }
  return ticked;
}

void TimerQueue::Fire(TTimer& timer) {
  TimerQueueAccess::Fire(timer);
}

void TimerQueue::Reset() {
  for (TTimer* t : Registry())
    TimerQueueAccess::Unschedule(*t);
}

int TimerQueue::ScheduledCount() {
  int n = 0;
  for (TTimer* t : Registry())
    n += t->Scheduled() ? 1 : 0;
  return n;
}

}  // namespace vark::ui
