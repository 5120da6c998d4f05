#include "platform/os/AnsiCodePage.h"

#include "platform/os/TextCodec.h"

namespace vark::os {

std::string AnsiToUtf8(std::string_view bytes) {
  return Windows1252ToUtf8(bytes);
}

std::optional<std::string> Utf8ToAnsi(std::string_view text) {
  return Utf8ToWindows1252(text);
}

}  // namespace vark::os
