// The accent colour through the desktop's own store for a user the system
// does not know: a child process that takes such a user's ids.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/Vark.Components.h"

TEST(AccentUnknownUser, AProfileWithNoConfigFolderAtAllHasTheDefaultAccent) {
  // For a user the password database does not know, with neither HOME nor
  // XDG_CONFIG_HOME, nothing names a settings folder.
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run as an unknown user";
  uid_t unknown = 54321;
  while (getpwuid(unknown) != nullptr)
    ++unknown;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    vark::components::SetAccentStoreFactory({});
    LastCheck = 0;
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    if (setresgid(unknown, unknown, unknown) != 0 || setresuid(unknown, unknown, unknown) != 0) {
      _exit(3);
    }
    try {
      _exit(GetAccentColor(acAccentAdjust) == 0x00D77800u ? 0 : 2);
    } catch (...) {
      _exit(1);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  // 1: the lookup raised; 2: another colour than the default.
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
