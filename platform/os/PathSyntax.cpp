#include "platform/os/PathSyntax.h"

namespace vark::os {

bool HasReservedCharacter(std::string_view path) {
  const size_t start = (path.size() >= 2 && path[1] == ':') ? 2 : 0;
  for (size_t i = start; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
        c == '*') {
      return true;
    }
  }
  return false;
}

}  // namespace vark::os
