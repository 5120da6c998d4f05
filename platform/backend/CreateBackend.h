// The one place that chooses the backend: the headless one when the
// environment says VARK_BACKEND=headless (tests, screenshots without a
// display), otherwise this platform's own (sdl on Linux, windows on Windows).
#pragma once

#include <memory>

#include "platform/backend/Backend.h"

namespace vark {

// The backend for this run. The platform's backend may raise EOSError when
// it cannot start (no display to open).
std::unique_ptr<Backend> CreateBackend();

// This platform's real backend; each platform's backend folder defines it.
std::unique_ptr<Backend> CreateNativeBackend();

// A backend whose windows live in memory only (the headless one), for a
// program whose display has gone away.
std::unique_ptr<Backend> CreateMemoryBackend();

}  // namespace vark
