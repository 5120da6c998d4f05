// What Linux's shell does with the launch actions: a Windows program starts
// through Wine (without letting it add menu entries), and a missing Wine or
// xdg-open is told with the reason.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/os/ShellWatch.h"
#include "platform/os/linux/WineLookup.h"
#include "tests/app/LaunchActionsTestSupport.h"
#include "tests/common/PeImage.h"

namespace fs = std::filesystem;

namespace {

using vark::test::LaunchActions;
using vark::test::Record;

const std::string kFolder = "Valdor III Pale Reach (nonguaranteed)";

class LinuxLaunch : public LaunchActions {
 protected:
  // No WINE of the user's, and a Debian loader folder of the test's own
  // (none until a test makes it), whatever Wine this machine has.
  void SetUp() override {
    LaunchActions::SetUp();
    profile->Set("WINE", std::nullopt);
    debianWine = profile->Root() + "/debian-wine";
    vark::os::SetDebianWineFolder(debianWine);
  }
  void TearDown() override {
    // The shell's watches outlive the window: what a test started is let
    // finish and its report dropped, so no other test sees it.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ShellWatchPending() && std::chrono::steady_clock::now() < until) {
      TakeShellEarlyExits();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(ShellWatchPending()) << "a started program is still running";
    vark::os::SetDebianWineFolder("");
    LaunchActions::TearDown();
  }

  // A Windows program: a file with a PE header, by default a 64-bit one.
  void PutWindowsProgram(const std::string& relative,
                         uint16_t machine = vark::testing::kPeMachineX64) const {
    vark::testing::WriteBytes(games + "/" + relative, vark::testing::PeImage(machine));
  }
  // The wine overrides the recorded program saw.
  std::string Overrides(const std::string& name) const {
    for (const auto& e : fs::directory_iterator(profile->Root() + "/records")) {
      if (e.path().filename().string().rfind(name + ".", 0) == 0) {
        std::ifstream in(e.path() / "overrides");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
      }
    }
    return "(no record)";
  }

  // Wine's stand-in: a script that writes to its error output and ends.
  void PutWine(const std::string& body) const {
    const std::string wine = profile->Root() + "/bin/wine";
    vark::testing::WriteBytes(wine, "#!/bin/sh\n" + body);
    fs::permissions(wine, fs::perms::owner_all);
  }

  // Lets the launcher's timers run (each step a quarter second of virtual
  // time, a few milliseconds of real time) until a dialog has opened or the
  // shell watches nothing more; false when neither happens within twenty
  // seconds.
  bool RunUntilWatchEnds() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (dialogs.empty() && ShellWatchPending()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      ui->advance(250);
    }
    ui->advance(250);  // a report taken with the watch's last tick is shown
    return true;
  }

  std::string debianWine;
};

TEST_F(LinuxLaunch, AWindowsProgramStartsThroughWine) {
  PutWindowsProgram(kFolder + "/Valdor3_HD.exe");
  Open();
  form->SelectItem(5);
  form->CheckBox1->SetChecked(true);
  ui->click(*form->CButton1);
  Record r = OnlyRecord();
  EXPECT_EQ(r.name, "wine");
  ASSERT_EQ(r.args.size(), 2u);
  EXPECT_TRUE(SameFile(r.args[0], games + "/" + kFolder + "/Valdor3_HD.exe")) << r.args[0];
  EXPECT_EQ(r.args[1], "/tarnwisp");
  EXPECT_EQ(r.cwd, EditionFolder(kFolder));
  EXPECT_EQ(Overrides("wine"), "winemenubuilder.exe=d");
}

TEST_F(LinuxLaunch, WhatTheShellCannotStartIsToldWithTheReason) {
  // Neither Wine nor xdg-open installed: nothing on the search path, and no
  // WINE naming one.
  const std::string bin = profile->Root() + "/bin";
  fs::remove(bin + "/wine");
  fs::remove(bin + "/xdg-open");
  profile->Set("PATH", bin);
  PutWindowsProgram(kFolder + "/Valdor3_HD.exe");
  Open();
  form->SelectItem(5);
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_NE(dialogs[0].text.find(kFolder + "/Valdor3_HD.exe\n"), std::string::npos)
      << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("Wine was not found"), std::string::npos) << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("sudo apt install wine"), std::string::npos) << dialogs[0].text;
  EXPECT_EQ(dialogs[0].text.find("xdg"), std::string::npos) << dialogs[0].text;
  EXPECT_TRUE(form->StartProgress->Visible()) << "the bar runs as for any press";

  dialogs.clear();
  ui->click(*form->CButton3);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not open");
  EXPECT_NE(dialogs[0].text.find("xdg-open was not found"), std::string::npos) << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("xdg-utils"), std::string::npos) << dialogs[0].text;
  EXPECT_EQ(dialogs[0].text.find("Wine"), std::string::npos) << dialogs[0].text;

  // A file that is no program and no Windows program either.
  vark::testing::WriteBytes(games + "/" + kFolder + "/Valdor3_HD.exe", "plain text");
  fs::permissions(games + "/" + kFolder + "/Valdor3_HD.exe", fs::perms::owner_all);
  dialogs.clear();
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_EQ(RecordsAfterAMoment(), 0u);
}

TEST_F(LinuxLaunch, A32BitProgramWithOnly64BitWineIsNotStarted) {
  // Debian's Wine without its 32-bit half: the wrapper on PATH (the recorder
  // stands for it) and the 64-bit loader alone in Debian's folder.
  vark::testing::WriteBytes(debianWine + "/wine64", "#!/bin/sh\nexit 0\n");
  fs::permissions(debianWine + "/wine64", fs::perms::owner_all);
  PutWindowsProgram(kFolder + "/Valdor3_HD.exe", vark::testing::kPeMachineX86);
  Open();
  form->SelectItem(5);
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_NE(dialogs[0].text.find(kFolder + "/Valdor3_HD.exe\n"
                                           "This is a 32-bit Windows program, and this system's "
                                           "Wine runs only 64-bit programs."),
            std::string::npos)
      << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("apt-get install wine32:i386"), std::string::npos)
      << dialogs[0].text;
  EXPECT_EQ(RecordsAfterAMoment(), 0u);

  // The same program as a 64-bit one starts.
  dialogs.clear();
  PutWindowsProgram(kFolder + "/Valdor3_HD.exe", vark::testing::kPeMachineX64);
  ui->click(*form->CButton1);
  EXPECT_TRUE(dialogs.empty()) << dialogs[0].text;
  EXPECT_EQ(OnlyRecord().name, "wine");
}

TEST_F(LinuxLaunch, AGameThatEndsAtOnceWithAFailureIsTold) {
  PutWine(
      "echo 'wine: could not load kernel32.dll, status c0000135' >&2\n"
      "echo 'second line' >&2\nexit 3\n");
  PutWindowsProgram(kFolder + "/Valdor3_HD.exe");
  Open();
  form->SelectItem(5);
  ui->click(*form->CButton1);
  EXPECT_TRUE(dialogs.empty()) << "the start itself succeeded";
  EXPECT_TRUE(ShellWatchPending());
  ASSERT_TRUE(RunUntilWatchEnds()) << "the watch never ended";
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_NE(dialogs[0].text.find(kFolder + "/Valdor3_HD.exe\n"), std::string::npos)
      << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("exit code 3"), std::string::npos) << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("wine: could not load kernel32.dll, status c0000135\nsecond line"),
            std::string::npos)
      << dialogs[0].text;
  EXPECT_FALSE(ShellWatchPending());
}

TEST_F(LinuxLaunch, AGameThatEndsWellAtOnceIsNotTold) {
  PutWine("echo 'some chatter' >&2\nexit 0\n");
  // The edition's own launcher, started by its button.
  PutWindowsProgram(kFolder + "/" + launchername[4]);
  Open();
  form->SelectItem(5);
  ui->click(*form->BtLauncher);
  EXPECT_TRUE(ShellWatchPending());
  ASSERT_TRUE(RunUntilWatchEnds()) << "the watch never ended";
  EXPECT_TRUE(dialogs.empty()) << dialogs[0].text;
}

}  // namespace
