// SIGTERM, SIGINT and SIGHUP as SDL quit events: the system asking the
// program to end (a shutdown, Ctrl+C in the terminal it was started from,
// the terminal closing), which the toolkit answers by saving and ending.
//
// A signal handler may do next to nothing safely, so ours writes the signal
// to a pipe. A thread of its own waits on the pipe and pushes the quit event;
// SDL wakes its event wait for an event pushed from another thread, also the
// wait of a modal form's loop, so the program answers at once however long
// it has been idle. The thread does nothing else.
#pragma once

#include <thread>

namespace vark::sdl {

class TerminationSignals {
 public:
  // Installs the handlers, but leaves a signal ignored from the start (as
  // "nohup" leaves SIGHUP) ignored. SDL's own handlers for SIGINT and SIGTERM
  // are to be kept out with SDL_HINT_NO_SIGNAL_HANDLERS.
  TerminationSignals();
  // Puts back the handlers found before and ends the thread.
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Forward();

  int pipe_[2] = {-1, -1};
  std::thread forwarder_;
};

}  // namespace vark::sdl
