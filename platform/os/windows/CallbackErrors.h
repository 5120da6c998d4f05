// An error raised in our code while the system calls it back (for each item
// of an enumeration, say) must not unwind through the system's code between
// the two: the system cannot clean up after itself then (GDI's enumeration
// leaks its list, and a callback from the kernel cannot be unwound at all;
// Wine even swallows the error there). The callback catches it and tells the
// system to stop; once the system's call has returned, it is raised again.
#pragma once

#include <exception>
#include <utility>

namespace vark::os::win32 {

class CallbackErrors {
 public:
  // Runs work inside a callback: whether it finished (else the callback asks
  // the system to stop, and the error is kept).
  template <class Work>
  bool Run(Work&& work) noexcept {
    try {
      work();
      return true;
    } catch (...) {
      error_ = std::current_exception();
      return false;
    }
  }

  // After the system's call: raises the error a callback kept, if any.
  void RaiseKept() {
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
  }

 private:
  std::exception_ptr error_;
};

}  // namespace vark::os::win32
