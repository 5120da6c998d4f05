// COM on the user-interface thread, which the shell (and the picture codecs)
// need: initialised once, single-threaded apartment, as a window's thread has.
#pragma once

namespace vark::os::win32 {

// Initialises COM on this thread the first time it is called there.
void EnsureComInitialized();

}  // namespace vark::os::win32
