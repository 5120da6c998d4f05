#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Exceptions.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/linux/PasswordDatabase.h"

TEST(SystemInfo, NamesUsersFromThePasswordDatabase) {
  EXPECT_EQ(vark::os::LogonNameOf(0), "root");
  EXPECT_FALSE(vark::os::LogonName().empty());
  EXPECT_EQ(vark::os::PasswordHome().front(), '/');
  // A uid without an entry, as in a container started with an arbitrary one.
  try {
    vark::os::LogonNameOf(3999999999u);
    ADD_FAILURE() << "a name for a uid that has none";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
    EXPECT_EQ(e.Message(), "System Error.  Code: 2.\nNo such file or directory");
  }
}
