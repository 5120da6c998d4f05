// On Windows the real windows are Win32's.
#include "platform/backend/CreateBackend.h"
#include "platform/backend/windows/Win32Backend.h"

namespace vark {

std::unique_ptr<Backend> CreateNativeBackend() {
  return std::make_unique<win32::Win32Backend>();
}

}  // namespace vark
