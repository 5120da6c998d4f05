// The launch actions with fake editions: the edition folders lie beside the
// test's current folder, as they lie beside the launcher's, and hold small
// scripts that record how they were started (arguments, working folder). The
// shell's helpers, `wine` and `xdg-open`, are such scripts too, on a PATH of
// the test's own. The started programs run on their own, so a test waits (in
// real time, briefly) for their records.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Exceptions.h"
#include "tests/app/LauncherTestSupport.h"

namespace fs = std::filesystem;

namespace {

using vark::test::LauncherTest;

// Records into $LAUNCH_RECORD/<its name>.<pid>/: the arguments (NUL-separated,
// its own path first), the working folder and the wine overrides; made under
// a temporary name and renamed, so a reader never sees half a record.
constexpr const char* kRecorder = R"sh(#!/bin/sh
out="$LAUNCH_RECORD/$(basename "$0").$$"
mkdir -p "$out.tmp"
printf '%s\0' "$0" "$@" > "$out.tmp/args"
pwd -P > "$out.tmp/cwd"
printf '%s' "${WINEDLLOVERRIDES-<unset>}" > "$out.tmp/overrides"
mv "$out.tmp" "$out"
)sh";

struct Record {
  std::string name;               // the started file's name
  std::vector<std::string> args;  // without the program itself
  std::string cwd;
  std::string overrides;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class LaunchActions : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    records = profile->Root() + "/records";
    bin = profile->Root() + "/bin";
    fs::create_directories(records);
    fs::create_directories(bin);
    WriteScript(bin + "/wine");
    WriteScript(bin + "/xdg-open");
    profile->Set("PATH", bin + ":/usr/bin:/bin");
    profile->Set("LAUNCH_RECORD", records);
    profile->Set("WINEDLLOVERRIDES", std::nullopt);
  }

  static void WriteScript(const std::string& path) {
    vark::testing::WriteBytes(path, kRecorder);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }

  // A fake program of an edition, relative to the folder that holds the
  // editions ("Valdor III EF/vember.exe").
  void PutProgram(const std::string& relative) { WriteScript(games + "/" + relative); }
  // A Windows program: a file that starts with "MZ".
  void PutWindowsProgram(const std::string& relative) {
    vark::testing::WriteBytes(games + "/" + relative, std::string("MZ\x90\0\3\0\0\0", 8));
  }

  size_t RecordCount() const {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(records))
      if (e.path().extension() != ".tmp") ++n;
    return n;
  }

  // Waits up to five seconds until count programs have recorded their start.
  bool WaitForRecords(size_t count) const {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (RecordCount() < count) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  // The only record there is; fails the test when there is not exactly one.
  Record OnlyRecord() const {
    EXPECT_TRUE(WaitForRecords(1)) << "nothing was started";
    std::vector<fs::path> dirs;
    for (const auto& e : fs::directory_iterator(records))
      if (e.path().extension() != ".tmp") dirs.push_back(e.path());
    EXPECT_EQ(dirs.size(), 1u);
    if (dirs.empty()) return {};
    return Read(dirs[0]);
  }

  static Record Read(const fs::path& dir) {
    Record r;
    std::string args = ReadAll(dir / "args");
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i < args.size(); ++i) {
      if (args[i] == '\0') {
        parts.push_back(args.substr(start, i - start));
        start = i + 1;
      }
    }
    if (!parts.empty()) {
      r.name = fs::path(parts[0]).filename();
      r.args.assign(parts.begin() + 1, parts.end());
    }
    r.cwd = ReadAll(dir / "cwd");
    if (!r.cwd.empty() && r.cwd.back() == '\n') r.cwd.pop_back();
    r.overrides = ReadAll(dir / "overrides");
    return r;
  }

  std::string EditionFolder(const std::string& name) const {
    return fs::canonical(games + "/" + name).string();
  }

  std::string records;
  std::string bin;
};

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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(records);
    fs::create_directories(records);
    fs::create_directories(fs::path(games + "/" + c.folder + "/" + c.program).parent_path());
    PutProgram(std::string(c.folder) + "/" + c.program);
    if (!form) Open();
    form->SelectItem(c.edition);
    form->CheckBox1->SetChecked(c.cheats);
    ui->click(*(form.get()->*c.button));
    Record r = OnlyRecord();
    EXPECT_EQ(r.name, fs::path(c.program).filename().string());
    EXPECT_EQ(r.args, c.args);
    EXPECT_EQ(r.cwd, EditionFolder(c.folder));
    EXPECT_TRUE(dialogs.empty());
  }
}

TEST_F(LaunchActions, AWindowsProgramStartsThroughWine) {
  const std::string folder = "Valdor III Pale Reach (nonguaranteed)";
  fs::create_directories(games + "/" + folder);
  PutWindowsProgram(folder + "/Valdor3_HD.exe");
  Open();
  form->SelectItem(5);
  form->CheckBox1->SetChecked(true);
  ui->click(*form->CButton1);
  Record r = OnlyRecord();
  EXPECT_EQ(r.name, "wine");
  ASSERT_EQ(r.args.size(), 2u);
  EXPECT_TRUE(fs::equivalent(r.args[0], games + "/" + folder + "/Valdor3_HD.exe")) << r.args[0];
  EXPECT_EQ(r.args[1], "/tarnwisp");
  EXPECT_EQ(r.cwd, EditionFolder(folder));
  EXPECT_EQ(r.overrides, "winemenubuilder.exe=d");
}

TEST_F(LaunchActions, FoldersAndFilesNamedInAnotherCaseAreFound) {
  // The table names "VASHMAPED.exe"; a folder copied from Windows has it so.
  const std::string folder = "valdor iii ashen vow V3.4";
  fs::create_directories(games + "/" + folder);
  PutProgram(folder + "/vashmaped.exe");
  Open();
  form->SelectItem(2);
  ui->click(*form->CButton4);
  Record r = OnlyRecord();
  EXPECT_EQ(r.name, "vashmaped.exe");
  EXPECT_EQ(r.cwd, EditionFolder(folder));
}

TEST_F(LaunchActions, MissingProgramsAreToldAndNothingStarts) {
  fs::create_directories(games + "/Valdor III OVRE");
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
  fs::create_directories(games + "/Valdor III OVRE/OVRE_client.exe");
  dialogs.clear();
  form->SelectItem(8);
  ui->click(*form->CButton1);
  EXPECT_EQ(dialogs.size(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(RecordCount(), 0u);
}

TEST_F(LaunchActions, WhatTheShellCannotStartIsToldWithTheReason) {
  // Neither Wine nor xdg-open installed: nothing on the search path.
  fs::remove(bin + "/wine");
  fs::remove(bin + "/xdg-open");
  profile->Set("PATH", bin);
  const std::string folder = "Valdor III Pale Reach (nonguaranteed)";
  fs::create_directories(games + "/" + folder);
  PutWindowsProgram(folder + "/Valdor3_HD.exe");
  Open();
  form->SelectItem(5);
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_NE(dialogs[0].text.find(folder + "/Valdor3_HD.exe\n"), std::string::npos)
      << dialogs[0].text;
  EXPECT_NE(dialogs[0].text.find("Wine"), std::string::npos) << dialogs[0].text;
  EXPECT_TRUE(form->StartProgress->Visible()) << "the bar runs as for any press";

  dialogs.clear();
  ui->click(*form->CButton3);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not open");
  EXPECT_NE(dialogs[0].text.find("xdg-open"), std::string::npos) << dialogs[0].text;

  // A file that is no program and no Windows program either.
  vark::testing::WriteBytes(games + "/" + folder + "/Valdor3_HD.exe", "plain text");
  fs::permissions(games + "/" + folder + "/Valdor3_HD.exe", fs::perms::owner_all);
  dialogs.clear();
  ui->click(*form->CButton1);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Could not start");
  EXPECT_EQ(RecordCount(), 0u);
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
  fs::create_directories(games + "/Valdor III EF");
  Open();
  form->SelectItem(6);
  ui->click(*form->CButton3);
  Record folder = OnlyRecord();
  EXPECT_EQ(folder.name, "xdg-open");
  ASSERT_EQ(folder.args.size(), 1u);
  EXPECT_TRUE(fs::equivalent(folder.args[0], games + "/Valdor III EF")) << folder.args[0];

  // The list files exist once the window has been closed; make them now.
  form->ProgramSettings(false);
  const char* files[] = {"FolderLocations.txt", "ExecutableNames.txt", "LauncherNames.txt",
                         "MapNames.txt"};
  CButton* buttons[] = {form->CButton5, form->CButton6, form->CButton7, form->CButton8};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(files[k]);
    fs::remove_all(records);
    fs::create_directories(records);
    ui->click(*buttons[k]);
    Record r = OnlyRecord();
    EXPECT_EQ(r.name, "xdg-open");
    ASSERT_EQ(r.args.size(), 1u);
    EXPECT_TRUE(fs::equivalent(r.args[0], data + files[k])) << r.args[0];
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
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(RecordCount(), 0u);
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(LaunchActions, OnAFirstRunAListButtonWritesTheFilesThenOpensItsList) {
  Open();
  ASSERT_FALSE(fs::exists(data + "FolderLocations.txt"));
  // A list saved in the editor since the last scan is kept, not written over.
  const std::string exes =
      "a.exe\r\nb.exe\r\nc.exe\r\nd.exe\r\ne.exe\r\nf.exe\r\ng.exe\r\nh.exe\r\n";
  PutData("ExecutableNames.txt", exes);
  ui->click(*form->CButton5);
  EXPECT_EQ(GetData("ExecutableNames.txt"), exes);
  EXPECT_EQ(exenames[7], "h.exe");
  Record r = OnlyRecord();
  EXPECT_EQ(r.name, "xdg-open");
  ASSERT_EQ(r.args.size(), 1u);
  EXPECT_TRUE(fs::equivalent(r.args[0], data + "FolderLocations.txt")) << r.args[0];
  std::string folders;
  for (const std::string& line : DefaultEditionColumn(0))
    folders += line + "\r\n";
  EXPECT_EQ(GetData("FolderLocations.txt"), folders);
  for (const char* name :
       {"ExecutableNames.txt", "LauncherNames.txt", "MapNames.txt", "AppSettings.txt"}) {
    EXPECT_TRUE(fs::exists(data + name)) << name;
  }
  // The files hold what the window has, so the scan loads nothing back (a
  // load would put the window back where it was when they were written).
  form->SetBounds(50, 60, 800, 574);
  ui->advance(2000);
  EXPECT_EQ(form->Left(), 50);
  EXPECT_TRUE(dialogs.empty());

  // A save that fails is reported, as at the close, and opens nothing.
  fs::remove_all(records);
  fs::create_directories(records);
  fs::remove_all(data);
  vark::testing::WriteBytes(data.substr(0, data.size() - 1), "in the way");
  ui->click(*form->CButton6);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_NE(dialogs[0].text.find("FolderLocations.txt"), std::string::npos) << dialogs[0].text;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(RecordCount(), 0u);
}

}  // namespace
