#include "platform/ui/a11y/windows/UiThread.h"

#include <mutex>

#include "platform/ui/a11y/windows/UiaApi.h"

namespace vark::a11y::uia {

namespace {

constexpr wchar_t kWindowClass[] = L"VarkAccessibility";
constexpr UINT kRunMessage = WM_APP + 1;
// Screen readers give up on a call after a few seconds themselves.
constexpr UINT kWaitMs = 5000;

// One call: run at most once, and never after its caller stopped waiting.
struct Call {
  const std::function<HRESULT()>* work;
  std::mutex lock;
  bool done = false;
  bool abandoned = false;
  HRESULT result = E_FAIL;
};

}  // namespace

UiThread::UiThread() : thread_(GetCurrentThreadId()) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &UiThread::Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when a second bridge registered it
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                            nullptr);
}

UiThread::~UiThread() {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK UiThread::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunMessage) return DefWindowProcW(hwnd, message, wParam, lParam);
  // The message holds a share of the call, which is ours now.
  const std::unique_ptr<std::shared_ptr<Call>> share(
      reinterpret_cast<std::shared_ptr<Call>*>(lParam));
  Call& call = **share;
  std::lock_guard<std::mutex> hold(call.lock);
  if (call.abandoned) return 0;
  try {
    call.result = (*call.work)();
  } catch (...) {
    // No exception crosses the system's frames.
    call.result = E_FAIL;
  }
  call.done = true;
  return 0;
}

HRESULT UiThread::Run(const std::function<HRESULT()>& work) const {
  if (OnThread()) {
    try {
      return work();
    } catch (...) {
      return E_FAIL;
    }
  }
  if (window_ == nullptr) return kElementNotAvailable;
  // A message that timed out may still be taken later: it carries a share
  // of the call, so the call outlives whichever side lets go last.
  auto call = std::make_shared<Call>();
  call->work = &work;
  auto share = std::make_unique<std::shared_ptr<Call>>(call);
  DWORD_PTR unused = 0;
  SetLastError(0);
  if (SendMessageTimeoutW(window_, kRunMessage, 0, reinterpret_cast<LPARAM>(share.get()),
                          SMTO_NORMAL, kWaitMs, &unused) != 0 ||
      GetLastError() == ERROR_TIMEOUT) {
    (void)share.release();  // the window procedure's now
  }
  std::lock_guard<std::mutex> hold(call->lock);
  if (call->done) return call->result;
  call->abandoned = true;
  return kTimeout;
}

}  // namespace vark::a11y::uia
