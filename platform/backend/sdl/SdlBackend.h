// The SDL backend: real windows on X11 or Wayland.
#pragma once

#include <memory>

#include "platform/backend/Backend.h"

namespace vark {

// Opens SDL's video subsystem; EOSError when there is no display to open.
std::unique_ptr<Backend> CreateSdlBackend();

}  // namespace vark
