#include "platform/os/AnsiCodePage.h"

#include <climits>

#include "platform/os/TextCodec.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace vark::os {

std::string AnsiToUtf8(std::string_view bytes) {
  std::wstring wide;
  // The call counts in int: a line of gigabytes goes in parts (where a
  // double-byte character split between two would become two stand-ins).
  constexpr size_t kPart = size_t{1} << 30;
  for (size_t at = 0; at < bytes.size(); at += kPart) {
    const std::string_view part = bytes.substr(at, kPart);
    const int size = static_cast<int>(part.size());
    const size_t start = wide.size();
    wide.resize(start + MultiByteToWideChar(CP_ACP, 0, part.data(), size, nullptr, 0));
    MultiByteToWideChar(CP_ACP, 0, part.data(), size, wide.data() + start,
                        static_cast<int>(wide.size() - start));
  }
  return win32::Narrow(wide);
}

std::optional<std::string> Utf8ToAnsi(std::string_view text) {
  // A text too long for one call (gigabytes) is written in UTF-8.
  if (!IsValidUtf8(text) || text.size() > INT_MAX / 2) return std::nullopt;
  if (GetACP() == CP_UTF8) return std::string(text);
  const std::wstring wide = win32::Widen(text);
  if (wide.empty()) return std::string();
  const int units = static_cast<int>(wide.size());
  // No look-alikes ("a" for "ä") where a character does not fit: it is
  // reported, and the list is written in UTF-8 instead.
  BOOL lost = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0,
                                       nullptr, &lost);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, bytes.data(), size, nullptr,
                      &lost);
  // The stand-in for a lost character, and any mapping that does not come
  // back as it went, mean the code page cannot hold the text.
  if (size == 0 || lost || AnsiToUtf8(bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace vark::os
