// COM on the threads that need it: the shell on the user-interface thread,
// the picture codecs there and on the threads that decode pictures ahead of
// drawing them. Single-threaded apartment, as a window's thread has.
#pragma once

namespace vark::os::win32 {

// Initialises COM on this thread the first time it is called there.
void EnsureComInitialized();

// Undoes that on this thread, once every COM object the thread made is
// released; a thread that ends before the program does calls it.
void UninitializeCom();

}  // namespace vark::os::win32
