// The file errors of FileAccess.h, worded alike on every platform.
#include "platform/Exceptions.h"
#include "platform/os/FileAccess.h"

namespace vark::os {
namespace {

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

}  // namespace

void RaiseFileOpenError(const std::string& name, const std::string& reason) {
  throw EFOpenError("Cannot open file " + Quoted(name) + ". " + reason);
}

void RaiseFileReadError(const std::string& name, const std::string& reason) {
  throw EInOutError("Cannot read file " + Quoted(name) + ". " + reason);
}

void RaiseFileCreateError(const std::string& name, const std::string& reason) {
  throw EFCreateError("Cannot create file " + Quoted(name) + ". " + reason);
}

}  // namespace vark::os
