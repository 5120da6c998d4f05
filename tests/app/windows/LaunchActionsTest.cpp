// What Windows' shell does with the launch actions: a file that is not a
// valid program is told with the shell's own reason, and the launcher goes
// on.
#include <gtest/gtest.h>

#include <string>

#include "platform/os/SystemPaths.h"
#include "tests/app/LaunchActionsTestSupport.h"

namespace {

using vark::test::LaunchActions;

TEST_F(LaunchActions, AProgramThatIsNoWindowsProgramIsToldAndTheLauncherGoesOn) {
  const std::string program = games + "/Valdor III Émeraude/vtide É.exe";
  vark::testing::WriteBytes(program, "not a program at all");
  PutProgram("Valdor III Tidemark/vtide HD.exe");
  launchfolders[7] = "..\\Valdor III Émeraude";
  exenames[7] = "vtide É.exe";
  Open();
  form->SelectItem(8);
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  // The file as the system names it, then the shell's reason naming it.
  const std::string shown = vark::os::SystemPathName(program);
  EXPECT_EQ(dialogs[0].text.rfind(shown + "\n", 0), 0u) << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("vtide É.exe", shown.size()), std::string::npos)
      << dialogs[0].text;
  EXPECT_TRUE(form->StartProgress->Visible()) << "the bar runs as for any press";
  EXPECT_EQ(RecordsAfterAMoment(), 0u);

  // The next edition starts as ever.
  form->SelectItem(1);
  ui->click(*form->CButton1);
  EXPECT_EQ(OnlyRecord().name, "vtide HD.exe");
}

}  // namespace
