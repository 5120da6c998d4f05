// On Linux the real windows are SDL's.
#include "platform/backend/CreateBackend.h"
#include "platform/backend/sdl/SdlBackend.h"

namespace vark {

std::unique_ptr<Backend> CreateNativeBackend() {
  return CreateSdlBackend();
}

}  // namespace vark
