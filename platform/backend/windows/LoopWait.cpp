#include "platform/backend/windows/LoopWait.h"

#include "platform/os/windows/Win32.h"

namespace vark::win32 {

namespace {

// Missing from MinGW's headers; Windows 10 1803 and later.
constexpr DWORD kHighResolutionTimer = 0x00000002;

// Waits at least this long go by the system's coarse clock in the fallback:
// raising the clock costs power, which an idle program should not spend.
constexpr int kShortWaitMs = 100;

}  // namespace

LoopWait::LoopWait(bool highResolution) {
  if (highResolution) {
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
    highResolution_ = timer_ != nullptr;
  }
  if (timer_ == nullptr) timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
}

LoopWait::~LoopWait() {
  if (clockRaised_) timeEndPeriod(1);
  if (timer_ != nullptr) CloseHandle(timer_);
}

void LoopWait::Arm(int ms) {
  if (!highResolution_) {
    const bool shortWait = ms < kShortWaitMs;
    if (shortWait && !clockRaised_) clockRaised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    if (!shortWait && clockRaised_) {
      timeEndPeriod(1);
      clockRaised_ = false;
    }
  }
  LARGE_INTEGER due;
  due.QuadPart = -10000LL * ms;  // relative, in 100 ns units
  SetWaitableTimerEx(timer_, &due, 0, nullptr, nullptr, nullptr, 0);
}

void LoopWait::ForMessage(int ms) {
  if (ms < 0 || timer_ == nullptr) {
    MsgWaitForMultipleObjectsEx(0, nullptr, ms < 0 ? INFINITE : static_cast<DWORD>(ms), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    return;
  }
  Arm(ms);
  HANDLE timer = timer_;
  if (MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
      WAIT_OBJECT_0) {
    CancelWaitableTimer(timer_);
  }
}

void LoopWait::Sleep(int ms) {
  if (ms <= 0) return;
  if (timer_ == nullptr) {
    ::Sleep(static_cast<DWORD>(ms));
    return;
  }
  Arm(ms);
  WaitForSingleObject(timer_, INFINITE);
}

uint64_t MonotonicMilliseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const auto ticks = static_cast<uint64_t>(now.QuadPart);
  const auto perSecond = static_cast<uint64_t>(frequency);
  // Split, so that a counter of many days does not overflow the product.
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

}  // namespace vark::win32
