// Failures are exceptions whose message is the text the user sees in an error
// report. The classes mirror the kinds of failure the program tells apart.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A list index outside the list: "List index out of bounds (%d)".
class EListError : public Exception {
  using Exception::Exception;
};
// Text that is not a number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
  using Exception::Exception;
};
// Input and output: the base of the file-open and file-create errors.
class EInOutError : public Exception {
  using Exception::Exception;
};
class EFOpenError : public EInOutError {
  using EInOutError::EInOutError;
};
class EFCreateError : public EInOutError {
  using EInOutError::EInOutError;
};
// An operating-system call failed; the message carries the system's reason.
class EOSError : public Exception {
 public:
  EOSError(const std::string& message, int code) : Exception(message), code_(code) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};
// A picture that cannot be read or is too large to hold.
class EInvalidGraphic : public Exception {
  using Exception::Exception;
};
// An operation the object's state does not allow ("Cannot focus a disabled or
// invisible window", "Cannot make a visible window modal").
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
// A broken internal assumption, reported like any other failure.
class EAssertionFailed : public Exception {
  using Exception::Exception;
};
