#include "platform/os/SystemInfo.h"

#include "platform/os/SystemError.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {

std::string LogonName() {
  wchar_t name[1024];
  DWORD size = static_cast<DWORD>(std::size(name));
  if (!GetUserNameW(name, &size)) RaiseOSError(static_cast<int>(GetLastError()));
  // The size counts the terminating NUL.
  return win32::Narrow(std::wstring_view(name, size > 0 ? size - 1 : 0));
}

TOSVersion SystemVersion() {
  // RtlGetVersion tells the truth; GetVersionExW answers what the program's
  // manifest claims to know. Read once, as the runtime does at start-up.
  static const TOSVersion version = [] {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return TOSVersion{10, 0};
    return TOSVersion{static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
  }();
  return version;
}

}  // namespace vark::os
