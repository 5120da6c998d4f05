#include "platform/os/SystemError.h"

#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {

std::string SystemErrorText(int err) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(err), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length == 0 || buffer == nullptr) return "System error " + std::to_string(err);
  std::string text = win32::Narrow(std::wstring_view(buffer, length));
  LocalFree(buffer);
  // The system's texts end in CR LF, and a few are more than one line: one
  // line, each break a blank.
  std::string line;
  for (char c : text) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (!lineBreak) {
      line += c;
    } else if (!line.empty() && line.back() != ' ') {
      line += ' ';
    }
  }
  while (!line.empty() && line.back() == ' ')
    line.pop_back();
  return line;
}

}  // namespace vark::os
