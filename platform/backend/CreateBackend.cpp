#include "platform/backend/CreateBackend.h"

#include <cstdlib>
#include <cstring>

#include "platform/backend/headless/HeadlessBackend.h"

namespace vark {

std::unique_ptr<Backend> CreateBackend() {
  const char* kind = std::getenv("VARK_BACKEND");
  if (kind != nullptr && std::strcmp(kind, "headless") == 0) {
    return std::make_unique<HeadlessBackend>();
  }
  return CreateNativeBackend();
}

std::unique_ptr<Backend> CreateMemoryBackend() {
  return std::make_unique<HeadlessBackend>();
}

}  // namespace vark
