// UTF-8 inside, UTF-16 at the boundary: every wide call of the Windows API
// gets its strings through these two. Malformed input becomes U+FFFD rather
// than being dropped.
#pragma once

#include <string>
#include <string_view>

namespace vark::os::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vark::os::win32
