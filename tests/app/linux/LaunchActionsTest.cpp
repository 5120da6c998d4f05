// What Linux's shell does with the launch actions: a Windows program starts
// through Wine (without letting it add menu entries), and a missing Wine or
// xdg-open is told with the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/LaunchActionsTestSupport.h"

namespace fs = std::filesystem;

namespace {

using vark::test::LaunchActions;
using vark::test::Record;

const std::string kFolder = "Valdor III Pale Reach (nonguaranteed)";

class LinuxLaunch : public LaunchActions {
 protected:
  // A Windows program: a file that starts with "MZ".
  void PutWindowsProgram(const std::string& relative) const {
    vark::testing::WriteBytes(games + "/" + relative, std::string("MZ\x90\0\3\0\0\0", 8));
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
  // Neither Wine nor xdg-open installed: nothing on the search path.
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
  EXPECT_NE(dialogs[0].text.find("Wine"), std::string::npos) << dialogs[0].text;
  EXPECT_TRUE(form->StartProgress->Visible()) << "the bar runs as for any press";

  dialogs.clear();
  ui->click(*form->CButton3);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not open");
  EXPECT_NE(dialogs[0].text.find("xdg-open"), std::string::npos) << dialogs[0].text;

  // A file that is no program and no Windows program either.
  vark::testing::WriteBytes(games + "/" + kFolder + "/Valdor3_HD.exe", "plain text");
  fs::permissions(games + "/" + kFolder + "/Valdor3_HD.exe", fs::perms::owner_all);
  dialogs.clear();
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_EQ(RecordsAfterAMoment(), 0u);
}

}  // namespace
