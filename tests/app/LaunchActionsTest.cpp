// The launch actions on the main window with fake editions that record how
// they were started: the game, the edition's launcher and the map editor in
// the edition's folder, the cheat switch, what is missing, the progress bar,
// and the folders and list files opened through the shell. (What only one
// platform's shell does is in linux/ and windows/.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/ui/Keys.h"
#include "tests/app/LaunchActionsTestSupport.h"

namespace fs = std::filesystem;

namespace {

using vark::test::LaunchActions;
using vark::test::Record;
using vark::test::Recorders;
using vark::testing::PathOf;

TEST_F(LaunchActions, StartTheGameTheLauncherOrTheMapEditorOfTheSelectedEdition) {
  struct Case {
    const char* name;
    int edition;
    CButton* TForm1::*button;
    bool cheats;
    const char* folder;   // the edition's folder beside the launcher's
    const char* program;  // the file that should start, inside it
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"the game", 1, &TForm1::CButton1, false, "Valdor III Tidemark", "vtide HD.exe", {}},
      {"the game with the cheat menu",
       3,
       &TForm1::CButton1,
       true,
       "Valdor III Complete Edition",
       "Valdor3 HD.exe",
       {"/tarnwisp"}},
      {"the edition's launcher with the cheat menu",
       2,
       &TForm1::BtLauncher,
       true,
       "Valdor III Ashen Vow v3.4",
       "HD_Starter.exe",
       {"/tarnwisp"}},
      {"the game for an edition without a launcher",
       6,
       &TForm1::BtLauncher,
       false,
       "Valdor III EF",
       "vember.exe",
       {}},
      {"a launcher in a sub-folder, started in the edition's folder",
       7,
       &TForm1::BtLauncher,
       false,
       "Valdor III Lumen v2.8",
       "Tools/Lumen Start Menu/start.exe",
       {}},
      {"the map editor, never with the cheat menu",
       4,
       &TForm1::CButton4,
       true,
       "Valdor III Dawn of Velmar",
       "vmaped.exe",
       {}},
      {"names beyond ASCII and with the command line's special characters",
       8,
       &TForm1::CButton1,
       true,
       "Valdor III Émeraude",
       "vtide É & co ^ 100%.exe",
       {"/tarnwisp"}},
  };
  launchfolders[7] = "..\\Valdor III Émeraude";
  exenames[7] = "vtide É & co ^ 100%.exe";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorders->Clear();
    PutProgram(std::string(c.folder) + "/" + c.program);
    if (!form) Open();
    form->SelectItem(c.edition);
    form->CheckBox1->SetChecked(c.cheats);
    ui->click(*(form.get()->*c.button));
    Record r = OnlyRecord();
    EXPECT_EQ(r.name, std::string(c.program).substr(std::string(c.program).find_last_of('/') + 1));
    EXPECT_EQ(r.args, c.args);
    EXPECT_EQ(r.cwd, EditionFolder(c.folder));
    EXPECT_TRUE(dialogs.empty());
  }
}

// A key that selects an edition puts the keyboard in the list; Return or Space
// there starts that edition's game as the launch button does: the cheat
// switch, the bar, the dialog of a missing game.
TEST_F(LaunchActions, ReturnAndSpaceInTheEditionListStartTheSelectedEditionsGame) {
  struct Case {
    const char* name;
    int from;
    uint16_t select;  // the key that goes to the list
    uint16_t start;   // the key pressed there
    bool cheats;
    const char* folder;   // empty: the game is missing
    const char* program;  // inside it
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"Down then Return",
       2,
       VK_DOWN,
       VK_RETURN,
       true,
       "Valdor III Complete Edition",
       "Valdor3 HD.exe",
       {"/tarnwisp"}},
      {"Home then Space", 3, VK_HOME, VK_SPACE, false, "Valdor III Tidemark", "vtide HD.exe", {}},
      {"a missing game", 7, VK_END, VK_RETURN, false, "", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorders->Clear();
    dialogs.clear();
    if (*c.folder != '\0') PutProgram(std::string(c.folder) + "/" + c.program);
    if (!form) Open();
    form->SelectItem(c.from);
    form->CButton1->SetFocus();
    form->CheckBox1->SetChecked(c.cheats);
    ui->pressKey(c.select);
    ASSERT_TRUE(form->EditionListFocused());
    ui->pressKey(c.start);
    EXPECT_TRUE(form->StartProgress->Visible());
    if (*c.folder == '\0') {
      ASSERT_EQ(dialogs.size(), 1u);
      EXPECT_EQ(dialogs[0].caption, "Executable not found");
      EXPECT_EQ(RecordsAfterAMoment(), 0u);
    } else {
      Record r = OnlyRecord();
      EXPECT_EQ(r.name, c.program);
      EXPECT_EQ(r.args, c.args);
      EXPECT_EQ(r.cwd, EditionFolder(c.folder));
      EXPECT_TRUE(dialogs.empty());
    }
    ui->advance(300);  // the bar has filled and gone
  }
}

TEST_F(LaunchActions, FoldersAndFilesNamedInAnotherCaseAreFound) {
  // The table names "VASHMAPED.exe"; a folder copied from Windows has it so.
  const std::string folder = "valdor iii ashen vow V3.4";
  PutProgram(folder + "/vashmaped.exe");
  Open();
  form->SelectItem(2);
  ui->click(*form->CButton4);
  Record r = OnlyRecord();
  // (Windows names them as asked, Linux as they are on the disk.)
  EXPECT_TRUE(
      SameFile(games + "/" + folder + "/" + r.name, games + "/" + folder + "/vashmaped.exe"))
      << r.name;
  EXPECT_TRUE(SameFile(r.cwd, games + "/" + folder)) << r.cwd;
}

TEST_F(LaunchActions, MissingProgramsAreToldAndNothingStarts) {
  PutProgram("Valdor III OVRE/OVRE_launcher.exe");  // not the game
  Open();
  struct Case {
    const char* name;
    int edition;
    CButton* TForm1::*button;
    const char* caption;
    const char* text;
  };
  const Case cases[] = {
      {"the game", 8, &TForm1::CButton1, "Executable not found",
       "The executable file for this version could not be found!"},
      {"a launcher whose edition folder is missing", 1, &TForm1::BtLauncher, "Executable not found",
       "The executable file for this version could not be found!"},
      {"an edition without a map editor", 8, &TForm1::CButton4, "No map editor",
       "This valdor 3 version does not have a map editor!"},
      {"a map editor that is not there", 3, &TForm1::CButton4, "No map editor",
       "This valdor 3 version does not have a map editor!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.clear();
    form->SelectItem(c.edition);
    ui->click(*(form.get()->*c.button));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, c.caption);
    EXPECT_EQ(dialogs[0].text, c.text);
    EXPECT_EQ(dialogs[0].buttons, std::vector<std::string>{"Ok"});
  }
  // A folder is no program: an edition folder named like the game is not run.
  fs::create_directories(PathOf(games + "/Valdor III OVRE/OVRE_client.exe"));
  dialogs.clear();
  form->SelectItem(8);
  ui->click(*form->CButton1);
  EXPECT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(RecordsAfterAMoment(), 0u);
}

TEST_F(LaunchActions, TheProgressBarShowsFillsAndHidesAfterEveryLaunchPress) {
  Open();  // no edition is installed: the bar runs after the dialog all the same
  CProgress& bar = *form->StartProgress;
  EXPECT_FALSE(bar.Visible());
  for (CButton* button : {form->CButton1, form->BtLauncher}) {
    SCOPED_TRACE(button->Name());
    ui->click(*button);
    EXPECT_TRUE(bar.Visible());
    EXPECT_LT(bar.Position(), 100);
    ui->advance(40);
    EXPECT_TRUE(bar.Visible());
    EXPECT_GT(bar.Position(), 0);
    EXPECT_LT(bar.Position(), 100);
    ui->advance(200);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_FALSE(bar.Visible());
  }
  // The map editor runs no bar.
  ui->click(*form->CButton4);
  EXPECT_FALSE(bar.Visible());
}

TEST_F(LaunchActions, OnlyTheScanRunsWhileNothingAnimates) {
  Open();
  ui->advance(1000);  // the focused button's fade ends
  EXPECT_EQ(vark::ui::TimerQueue::ScheduledCount(), 1);
  EXPECT_TRUE(form->ScanFile->Scheduled());
  // The bar's timers run while it fills, and stop with it.
  ui->click(*form->CButton1);
  EXPECT_GE(vark::ui::TimerQueue::ScheduledCount(), 3);
  ui->advance(1000);
  EXPECT_FALSE(form->StartProgress->Visible());
  EXPECT_EQ(vark::ui::TimerQueue::ScheduledCount(), 1);
  EXPECT_TRUE(form->ScanFile->Scheduled());
}

TEST_F(LaunchActions, ASecondPressWhileTheBarFillsStartsItOver) {
  Open();
  CProgress& bar = *form->StartProgress;
  ui->click(*form->CButton1);
  ui->advance(60);
  const int reached = bar.Position();
  ASSERT_GT(reached, 20);
  ui->click(*form->CButton1);
  EXPECT_TRUE(bar.Visible());
  EXPECT_LT(bar.Position(), reached);
  ui->advance(60);
  EXPECT_TRUE(bar.Visible());
  ui->advance(200);
  EXPECT_FALSE(bar.Visible());
  EXPECT_EQ(bar.Position(), 100);
}

TEST_F(LaunchActions, FolderAndListFilesOpenInTheDesktopsPrograms) {
  fs::create_directories(PathOf(games + "/Valdor III EF"));
  Open();
  form->SelectItem(6);
  ui->click(*form->CButton3);
  Record folder = OnlyRecord();
  EXPECT_EQ(folder.name, Recorders::kOpener);
  ASSERT_EQ(folder.args.size(), 1u);
  EXPECT_TRUE(SameFile(folder.args[0], games + "/Valdor III EF")) << folder.args[0];

  // The list files exist once the window has been closed; make them now.
  form->ProgramSettings(false);
  const char* files[] = {"FolderLocations.txt", "ExecutableNames.txt", "LauncherNames.txt",
                         "MapNames.txt"};
  CButton* buttons[] = {form->CButton5, form->CButton6, form->CButton7, form->CButton8};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(files[k]);
    recorders->Clear();
    ui->click(*buttons[k]);
    Record r = OnlyRecord();
    EXPECT_EQ(r.name, Recorders::kOpener);
    ASSERT_EQ(r.args.size(), 1u);
    EXPECT_TRUE(SameFile(r.args[0], data + files[k])) << r.args[0];
  }
}

TEST_F(LaunchActions, AnIndexOutsideTheEditionsIsReportedNotUsed) {
  PutProgram("vtide HD.exe");
  Open();
  std::vector<std::string> errors;
  Application->OnException = [&](TObject*, const std::exception& e) { errors.push_back(e.what()); };
  for (int index : {0, 9}) {
    SCOPED_TRACE(index);
    selectedindex = index;
    errors.clear();
    for (CButton* b : {form->CButton1, form->BtLauncher, form->CButton3, form->CButton4})
      ui->click(*b);
    EXPECT_EQ(errors.size(), 4u);
    for (const std::string& e : errors)
      EXPECT_EQ(e, "List index out of bounds (" + std::to_string(index - 1) + ")");
  }
  Application->OnException = nullptr;
  EXPECT_EQ(RecordsAfterAMoment(), 0u);
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(LaunchActions, OnAFirstRunAListButtonWritesTheListsThenOpensItsList) {
  Open();
  ASSERT_FALSE(fs::exists(PathOf(data + "FolderLocations.txt")));
  // A list saved in the editor since the last scan is kept, not written over.
  const std::string exes =
      "a.exe\r\nb.exe\r\nc.exe\r\nd.exe\r\ne.exe\r\nf.exe\r\ng.exe\r\nh.exe\r\n";
  PutData("ExecutableNames.txt", exes);
  ui->click(*form->CButton5);
  EXPECT_EQ(GetData("ExecutableNames.txt"), exes);
  EXPECT_EQ(exenames[7], "h.exe");
  Record r = OnlyRecord();
  EXPECT_EQ(r.name, Recorders::kOpener);
  ASSERT_EQ(r.args.size(), 1u);
  EXPECT_TRUE(SameFile(r.args[0], data + "FolderLocations.txt")) << r.args[0];
  std::string folders;
  for (const std::string& line : DefaultEditionColumn(0))
    folders += line + "\r\n";
  EXPECT_EQ(GetData("FolderLocations.txt"), folders);
  for (const char* name : {"ExecutableNames.txt", "LauncherNames.txt", "MapNames.txt"}) {
    EXPECT_TRUE(fs::exists(PathOf(data + name))) << name;
  }
  // The place and the edition are written by the close, not now.
  EXPECT_FALSE(fs::exists(PathOf(data + "AppSettings.txt")));
  // The files hold what the window has, so the scan loads nothing back.
  form->SetBounds(50, 60, 800, 574);
  ui->advance(2000);
  EXPECT_EQ(form->Left(), 50);
  EXPECT_TRUE(dialogs.empty());
  // The player moves the window, picks another edition and saves an edit of
  // the list: the scan takes the edit in and leaves the window and the
  // edition as they are.
  form->SetBounds(120, 90, 800, 574);
  ui->click(*form->Rows()[3]);
  std::string edited = "..\\Elsewhere\r\n";
  for (size_t i = 1; i < DefaultEditionColumn(0).size(); ++i)
    edited += DefaultEditionColumn(0)[i] + "\r\n";
  PutData("FolderLocations.txt", edited);
  vark::testing::SetLastWriteTime(data + "FolderLocations.txt", 1733700000);
  ui->advance(2000);
  EXPECT_EQ(launchfolders[0], "..\\Elsewhere");
  EXPECT_EQ(form->BoundsRect(), Bounds(120, 90, 800, 574));
  EXPECT_EQ(selectedindex, 4);
  EXPECT_EQ(StarredRows(), std::vector<int>{4});
  EXPECT_TRUE(dialogs.empty());

  // A save that fails is reported, as at the close, and opens nothing.
  recorders->Clear();
  fs::remove_all(PathOf(data));
  vark::testing::WriteBytes(data.substr(0, data.size() - 1), "in the way");
  ui->click(*form->CButton6);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_NE(dialogs[0].text.find("FolderLocations.txt"), std::string::npos) << dialogs[0].text;
  EXPECT_EQ(RecordsAfterAMoment(), 0u);
}

}  // namespace
