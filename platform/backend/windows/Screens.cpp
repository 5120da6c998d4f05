#include "platform/backend/windows/Screens.h"

#include "platform/os/windows/CallbackErrors.h"
#include "platform/os/windows/Win32.h"

namespace vark::win32 {

namespace {

TRect FromRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

int MonitorDpi(HMONITOR monitor) {
  UINT x = 96, y = 96;
  if (monitor == nullptr || FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y))) {
    return 96;
  }
  return static_cast<int>(x);
}

ScreenInfo Describe(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ScreenInfo screen;
  if (GetMonitorInfoW(monitor, &info)) {
    screen.bounds = FromRect(info.rcMonitor);
    screen.work = FromRect(info.rcWork);
    screen.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  } else {
    screen.bounds = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    screen.work = screen.bounds;
  }
  screen.dpi = MonitorDpi(monitor);
  return screen;
}

struct Collection {
  std::vector<ScreenInfo> screens;
  os::win32::CallbackErrors errors;
};

BOOL CALLBACK Collect(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& collection = *reinterpret_cast<Collection*>(data);
  return collection.errors.Run([&] {
    const ScreenInfo screen = Describe(monitor);
    auto& screens = collection.screens;
    screens.insert(screen.primary ? screens.begin() : screens.end(), screen);
  });
}

}  // namespace

void DeclareDpiAwareness() {
  // Each call fails once awareness is set (by the manifest or the call
  // before); the older kinds are for systems, and Wine, without the newer.
  if (SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
  if (SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) return;
  SetProcessDPIAware();
}

std::vector<ScreenInfo> Screens() {
  Collection collection;
  EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&collection));
  collection.errors.RaiseKept();
  if (collection.screens.empty()) collection.screens.push_back(PrimaryScreen());
  return std::move(collection.screens);
}

ScreenInfo PrimaryScreen() {
  // The primary screen is the one that holds the desktop's origin.
  return Describe(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

int DpiAt(const TRect& bounds) {
  RECT r{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
  return MonitorDpi(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

}  // namespace vark::win32
