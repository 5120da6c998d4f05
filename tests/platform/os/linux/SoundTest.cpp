#include "platform/os/Sound.h"
#include "platform/os/linux/SoundName.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

TEST(Sound, TypesSoundByTheirIconBits) {
  const struct {
    uint32_t type;
    const char* sound;
  } cases[] = {
      {MB_OK, "dialog-information"},
      {MB_ICONERROR, "dialog-error"},
      {MB_ICONQUESTION, "window-question"},
      {MB_ICONWARNING, "dialog-warning"},
      {MB_ICONINFORMATION, "dialog-information"},
      // Whole message box types: the button and default bits do not count.
      {MB_ICONQUESTION | 0x4 /* yes/no */, "window-question"},
      {MB_ICONERROR | 0x100 /* second button default */, "dialog-error"},
      // The values the message dialog passes, in decimal: 20 = 0x14, 70 = 0x46,
      // 50 = 0x32.
      {0, "dialog-information"},
      {20, "dialog-error"},
      {70, "dialog-information"},
      {50, "dialog-warning"},
      {0x50, "dialog-information"},  // icon bits without a meaning
      {MB_SIMPLEBEEP, "bell-window-system"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(vark::os::MessageBeepSoundName(c.type), c.sound) << std::hex << c.type;
}

TEST(Sound, EverySoundIsInTheFreedesktopTheme) {
  // The theme falls back from "a-b-c" to "a-b" to "a"; a misspelt name would
  // find nothing and play silence.
  const std::filesystem::path theme = "/usr/share/sounds/freedesktop/stereo";
  if (!std::filesystem::is_directory(theme)) GTEST_SKIP() << "no freedesktop sound theme here";
  for (uint32_t type : {MB_OK, MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING, MB_SIMPLEBEEP}) {
    std::string name = vark::os::MessageBeepSoundName(type);
    bool found = false;
    while (!found && !name.empty()) {
      found = std::filesystem::exists(theme / (name + ".oga"));
      const size_t dash = name.rfind('-');
      name = dash == std::string::npos ? "" : name.substr(0, dash);
    }
    EXPECT_TRUE(found) << vark::os::MessageBeepSoundName(type);
  }
}

TEST(Sound, WithoutASoundDeviceBeepsFailQuietly) {
  // An ALSA device that does not exist stands for a build machine with no
  // sound at all (and keeps a desk machine quiet while the test runs). alsa-lib
  // would complain on stderr; the launcher must not. canberra reads these
  // variables when the context is made, on the process's first beep, which is
  // this test's (ctest runs each test in a process of its own).
  setenv("CANBERRA_DRIVER", "alsa", 1);
  setenv("CANBERRA_DEVICE", "vark_test_no_such_device", 1);
  testing::internal::CaptureStderr();
  for (uint32_t type : {0u, 20u, 70u, 50u})
    EXPECT_FALSE(MessageBeep(type));
  const std::string stderrText = testing::internal::GetCapturedStderr();
  unsetenv("CANBERRA_DRIVER");
  unsetenv("CANBERRA_DEVICE");
  EXPECT_EQ(stderrText, "");
}

}  // namespace
