#include "platform/os/SystemInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/os/SystemError.h"
#include "platform/os/linux/PasswordDatabase.h"

namespace vark::os {
namespace {

// Looks the uid up in the password database and hands the entry to take while
// its buffer is alive. The buffer grows while the lookup reports ERANGE.
template <typename Take>
std::string LookUpUser(uid_t uid, Take take) {
  long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<size_t>(hint) : 1024);
  for (;;) {
    passwd entry{};
    passwd* found = nullptr;
    int err = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
    if (err == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (err != 0) RaiseOSError(err);
    // No entry is not an error of the call, but there is no name either.
    if (found == nullptr) RaiseOSError(ENOENT);
    return take(*found);
  }
}

}  // namespace

std::string LogonNameOf(uid_t uid) {
  return LookUpUser(uid, [](const passwd& p) { return std::string(p.pw_name); });
}

std::string LogonName() {
  return LogonNameOf(getuid());
}

std::string PasswordHome() {
  return LookUpUser(getuid(), [](const passwd& p) { return std::string(p.pw_dir); });
}

TOSVersion SystemVersion() {
  return {10, 0};
}

}  // namespace vark::os
