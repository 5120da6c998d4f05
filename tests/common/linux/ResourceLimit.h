// Real failures for tests that run as root, where permission bits stop
// nothing: resource limits bind root too. With no file descriptors left every
// open fails (EMFILE); with a tiny file-size limit every longer write fails
// (EFBIG).
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <exception>
#include <functional>

namespace vark::testing {

// Lowers a soft limit for one scope.
class ResourceLimit {
 public:
  ResourceLimit(int resource, rlim_t soft) : resource_(resource) {
    getrlimit(resource_, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = soft;
    setrlimit(resource_, &lowered);
    if (resource_ == RLIMIT_FSIZE) {
      // Going past the limit raises SIGXFSZ, which would end the test program.
      struct sigaction ignore {};
      ignore.sa_handler = SIG_IGN;
      sigaction(SIGXFSZ, &ignore, &savedAction_);
    }
  }
  ~ResourceLimit() {
    setrlimit(resource_, &saved_);
    if (resource_ == RLIMIT_FSIZE) sigaction(SIGXFSZ, &savedAction_, nullptr);
  }
  ResourceLimit(const ResourceLimit&) = delete;
  ResourceLimit& operator=(const ResourceLimit&) = delete;

 private:
  int resource_;
  rlimit saved_;
  struct sigaction savedAction_ {};
};

// Runs the action under the limit and hands back what it threw, to be looked
// at after the limit is lifted: the sanitizers' runtime needs descriptors of
// its own when it checks a call on the exception.
inline std::exception_ptr FailureUnder(int resource, rlim_t soft,
                                       const std::function<void()>& action) {
  ResourceLimit limit(resource, soft);
  try {
    action();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

}  // namespace vark::testing
