#include "platform/backend/sdl/TerminationSignals.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>

namespace vark::sdl {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// Written by the destructor: the thread ends.
constexpr unsigned char kStop = 0;

// The pipe's write end for the handler (-1: no handlers installed).
std::atomic<int> signalPipe{-1};
// The handlers found before ours, and which of the signals we took.
struct sigaction previous[std::size(kSignals)];
bool taken[std::size(kSignals)];

void OnSignal(int signal) {
  const int saved = errno;  // the interrupted code may be about to read it
  const int fd = signalPipe.load();
  if (fd >= 0) {
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to end: losing this one is fine.
    [[maybe_unused]] ssize_t n = write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  if (pipe2(pipe_, O_CLOEXEC) != 0) return;
  fcntl(pipe_[1], F_SETFL, O_NONBLOCK);
  forwarder_ = std::thread([this] { Forward(); });
  signalPipe.store(pipe_[1]);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // the program's own reads and writes go on
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    // A signal ignored from the start stays ignored: "nohup" asks for that.
    sigaction(kSignals[i], nullptr, &previous[i]);
    taken[i] = previous[i].sa_handler != SIG_IGN;
    if (taken[i]) sigaction(kSignals[i], &action, nullptr);
  }
}

TerminationSignals::~TerminationSignals() {
  if (pipe_[0] < 0) return;
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    if (taken[i]) sigaction(kSignals[i], &previous[i], nullptr);
  }
  signalPipe.store(-1);
  const unsigned char stop = kStop;
  while (write(pipe_[1], &stop, 1) < 0 && (errno == EINTR || errno == EAGAIN)) {
  }
  forwarder_.join();
  close(pipe_[0]);
  close(pipe_[1]);
}

void TerminationSignals::Forward() {
  for (;;) {
    unsigned char byte = kStop;
    const ssize_t n = read(pipe_[0], &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || byte == kStop) return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

}  // namespace vark::sdl
