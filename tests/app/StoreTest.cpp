// The settings store on files: the five files as the program writes and
// reads them, the line and encoding rules, failures that stop a load or a
// save part-way, and the two-second scan. (Each platform's own failures are
// in linux/ and windows/.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/FileSystem.h"
#include "tests/app/StoreTestSupport.h"
#include "tests/common/SystemReasons.h"

using vark::test::Column;
using vark::test::CurrentTable;
using vark::test::DefaultTable;
using vark::test::EightLines;
using vark::test::ErrorOf;
using vark::test::StoreTest;
using vark::test::Table;
using vark::testing::FakeWindow;
using vark::testing::PathOf;
using vark::testing::ReadBytes;
using vark::testing::WriteBytes;
namespace fs = std::filesystem;

namespace {

TEST_F(StoreTest, AFirstRunKeepsTheDefaultsAndTheSaveWritesAllFiveFiles) {
  ProgramSettings(true, window);
  EXPECT_EQ(CurrentTable(), DefaultTable());
  EXPECT_EQ(selectedindex, 1);
  EXPECT_EQ(window.sets, 0);

  ProgramSettings(false, window);
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"AppSettings.txt", "ExecutableNames.txt",
                                      "FolderLocations.txt", "LauncherNames.txt", "MapNames.txt"}));
  EXPECT_EQ(Get("FolderLocations.txt"),
            "..\\Valdor III Tidemark\r\n..\\Valdor III Ashen Vow v3.4\r\n"
            "..\\Valdor III Complete Edition\r\n..\\Valdor III Dawn of Velmar\r\n"
            "..\\Valdor III Pale Reach (nonguaranteed)\r\n..\\Valdor III EF\r\n"
            "..\\Valdor III Lumen v2.8\r\n..\\Valdor III OVRE\r\n");
  EXPECT_EQ(Get("ExecutableNames.txt"),
            "vtide HD.exe\r\nvashen.exe\r\nValdor3 HD.exe\r\nValdor3 HD.exe\r\n"
            "Valdor3_HD.exe\r\nvember.exe\r\nvlumen.exe\r\nOVRE_client.exe\r\n");
  EXPECT_EQ(Get("LauncherNames.txt"),
            "HD_Starter.exe\r\nHD_Starter.exe\r\nHD_Starter.exe\r\nHD_Starter.exe\r\n"
            "HD_Starter.exe\r\n\r\nTools\\Lumen Start Menu\\start.exe\r\nOVRE_launcher.exe\r\n");
  EXPECT_EQ(Get("MapNames.txt"),
            "vtide_maped.exe\r\nVASHMAPED.exe\r\nvmaped.exe\r\nvmaped.exe\r\nvmaped.exe\r\n"
            "vembmaped.exe\r\nvashmaped.exe\r\n\r\n");
  EXPECT_EQ(Get("AppSettings.txt"), "801\r\n120\r\n340\r\n1\r\n");

  // Read back, the saved files give the same table, the empty last map entry
  // included, and their stamps.
  RestoreStartState();
  appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
  FakeWindow other(100, 0, 0);
  ProgramSettings(true, other);
  EXPECT_EQ(CurrentTable(), DefaultTable());
  EXPECT_EQ(other.Width(), 801);
  EXPECT_EQ(other.Top(), 120);
  EXPECT_EQ(other.Left(), 340);
  for (int k = 0; k < kListFileCount; ++k) {
    EXPECT_EQ(filesizes[k], GetFileModDate(appdata + editfilenames[k]));
    EXPECT_NE(filesizes[k], 0.0);
  }
}

TEST_F(StoreTest, SavedTextComesBackWhateverItsCharacters) {
  launchfolders[0] = "..\\Valdor III Ωmega";
  exenames[1] = "naïve.exe";
  launchername[2] = "";
  mapednames[7] = "карта.exe";
  selectedindex = 6;
  FakeWindow placed(640, -20, -1000);
  ProgramSettings(false, placed);
  EXPECT_EQ(Get("FolderLocations.txt").substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(Get("ExecutableNames.txt").substr(0, 25), "vtide HD.exe\r\nna\xEFve.exe\r\n");
  EXPECT_EQ(Get("AppSettings.txt"), "640\r\n-20\r\n-1000\r\n6\r\n");

  const Table saved = CurrentTable();
  RestoreStartState();
  appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
  ProgramSettings(true, window);
  EXPECT_EQ(CurrentTable(), saved);
  EXPECT_EQ(selectedindex, 6);
  EXPECT_EQ(window.Top(), -20);
  EXPECT_EQ(window.Left(), -1000);
}

TEST_F(StoreTest, ListFilesNeedEightLines) {
  struct Case {
    int lines;
    const char* error;  // nullptr: loads
  };
  const Case cases[] = {{0, "List index out of bounds (0)"},
                        {7, "List index out of bounds (7)"},
                        {8, nullptr},
                        {10, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    RestoreStartState();
    appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
    FakeWindow fresh;
    PutAllLists();
    std::string folders;
    for (int i = 1; i <= c.lines; ++i)
      folders += "folder" + std::to_string(i) + "\r\n";
    Put("FolderLocations.txt", folders);
    Put(kSettingsFileName, "900\r\n10\r\n20\r\n4\r\n");

    if (c.error == nullptr) {
      ProgramSettings(true, fresh);
      EXPECT_EQ(CurrentTable(),
                (Table{Column("folder"), Column("exe"), Column("launcher"), Column("map")}));
      EXPECT_EQ(fresh.Width(), 900);
      EXPECT_EQ(selectedindex, 4);
      continue;
    }
    EXPECT_EQ(ErrorOf<EListError>([&] { ProgramSettings(true, fresh); }), c.error);
    // The lines present replaced the first entries and the stamp is taken;
    // nothing after the short file was read.
    TEditionColumn expected = DefaultEditionColumn(0);
    for (int i = 0; i < c.lines; ++i)
      expected[i] = "folder" + std::to_string(i + 1);
    EXPECT_EQ(launchfolders, expected);
    EXPECT_NE(filesizes[0], 0.0);
    EXPECT_EQ(exenames, DefaultEditionColumn(1));
    EXPECT_EQ(filesizes[1], 0.0);
    EXPECT_EQ(fresh.sets, 0);
    EXPECT_EQ(selectedindex, 1);
  }
}

TEST_F(StoreTest, ListFilesReadInEveryEncodingAndLineBreak) {
  struct Case {
    const char* name;
    std::string bytes;
    TEditionColumn entries;
  };
  const TEditionColumn plain = Column("e");
  TEditionColumn accented = plain;
  accented[0] = "é1";
  TEditionColumn gaps = plain;
  gaps[2] = gaps[7] = "";
  const std::string utf16le = [] {
    std::string s = "\xFF\xFE";
    for (char c : EightLines("e"))
      s += std::string{c, '\0'};
    return s;
  }();
  const std::string utf16be = [] {
    std::string s = "\xFE\xFF";
    for (char c : EightLines("e"))
      s += std::string{'\0', c};
    return s;
  }();
  const Case cases[] = {
      {"only CR", "e1\re2\re3\re4\re5\re6\re7\re8\r", plain},
      {"only LF", "e1\ne2\ne3\ne4\ne5\ne6\ne7\ne8", plain},
      {"mixed", "e1\r\ne2\re3\ne4\r\ne5\re6\ne7\r\ne8\n", plain},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "\xC3\xA9" +
           EightLines("e").substr(1),
       accented},
      {"UTF-8 without mark", "\xC3\xA9" + EightLines("e").substr(1), accented},
      {"Windows-1252", "\xE9" + EightLines("e").substr(1), accented},
      {"UTF-8, a stray byte after line 8", "\xC3\xA9" + EightLines("e").substr(1) + "\xE9",
       accented},
      {"UTF-16 LE", utf16le, plain},
      {"UTF-16 BE", utf16be, plain},
      {"empty entries", "e1\r\ne2\r\n\r\ne4\r\ne5\r\ne6\r\ne7\r\n\r\n", gaps},
  };
  for (const Case& c : cases) {
    Put("ExecutableNames.txt", c.bytes);
    ProgramSettings(true, window);
    EXPECT_EQ(exenames, c.entries) << c.name;
  }
}

TEST_F(StoreTest, AFolderInAListFilesPlaceCountsAsMissing) {
  PutAllLists();
  fs::remove(PathOf(folder + "ExecutableNames.txt"));
  fs::create_directory(PathOf(folder + "ExecutableNames.txt"));
  ProgramSettings(true, window);
  EXPECT_EQ(launchfolders, Column("folder"));
  EXPECT_EQ(exenames, DefaultEditionColumn(1));
  EXPECT_EQ(launchername, Column("launcher"));
  EXPECT_EQ(mapednames, Column("map"));
  // And the scan does not keep reloading because of it.
  window.sets = 0;
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 0);
}

TEST_F(StoreTest, SettingsLinesApplyInOrderUntilOneFails) {
  struct Case {
    std::string bytes;
    int width, top, left, index;
    std::string error;  // empty: loads
  };
  // The window starts at 801, 120, 340 with edition 3 selected.
  const Case cases[] = {
      {"900\r\n10\r\n20\r\n5\r\n", 900, 10, 20, 5, ""},
      {" 5\r\n+5\r\n-0\r\n8\r\n", 5, 5, 0, 8, ""},
      {"900\n10\r20\r\n1\r\nextra\r\n", 900, 10, 20, 1, ""},
      {"abc\r\n10\r\n20\r\n5\r\n", 801, 120, 340, 3, "'abc' is not a valid integer value"},
      {"900\r\n\r\n20\r\n5\r\n", 900, 120, 340, 3, "'' is not a valid integer value"},
      {"900\r\n10\r\n2147483648\r\n5\r\n", 900, 10, 340, 3,
       "'2147483648' is not a valid integer value"},
      {"900\r\n10\r\n20\r\n0x5\r\n", 900, 10, 20, 3, "'0x5' is not a valid integer value"},
      {"900\r\n10\r\n20\r\n", 900, 10, 20, 3, "List index out of bounds (3)"},
      {"", 801, 120, 340, 3, "List index out of bounds (0)"},
      // An edition that does not exist keeps the one selected.
      {"900\r\n10\r\n20\r\n9\r\n", 900, 10, 20, 3, ""},
      {"900\r\n10\r\n20\r\n0\r\n", 900, 10, 20, 3, ""},
      {"900\r\n10\r\n20\r\n-1\r\n", 900, 10, 20, 3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    FakeWindow fresh;
    selectedindex = 3;
    Put(kSettingsFileName, c.bytes);
    std::string error;
    try {
      ProgramSettings(true, fresh);
    } catch (const EConvertError& e) {
      error = e.Message();
    } catch (const EListError& e) {
      error = e.Message();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(fresh.Width(), c.width);
    EXPECT_EQ(fresh.Top(), c.top);
    EXPECT_EQ(fresh.Left(), c.left);
    EXPECT_EQ(selectedindex, c.index);
  }
}

TEST_F(StoreTest, AFailedSaveWritesTheFilesBeforeItAndNoneAfter) {
  Put("MapNames.txt", "old map\r\n");
  Put(kSettingsFileName, "1\r\n2\r\n3\r\n4\r\n");
  fs::create_directory(PathOf(folder + "LauncherNames.txt"));
  launchfolders = Column("folder");
  exenames = Column("exe");
  mapednames = Column("map");

  EXPECT_EQ(ErrorOf<EFCreateError>([&] { ProgramSettings(false, window); }),
            FileError("Cannot create file", "LauncherNames.txt", vark::testing::FolderInTheWay()));
  EXPECT_EQ(Get("FolderLocations.txt"), EightLines("folder"));
  EXPECT_EQ(Get("ExecutableNames.txt"), EightLines("exe"));
  EXPECT_EQ(Get("MapNames.txt"), "old map\r\n");
  EXPECT_EQ(Get(kSettingsFileName), "1\r\n2\r\n3\r\n4\r\n");
  EXPECT_TRUE(fs::is_empty(PathOf(folder + "LauncherNames.txt")));
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"AppSettings.txt", "ExecutableNames.txt",
                                      "FolderLocations.txt", "LauncherNames.txt", "MapNames.txt"}));
}

TEST_F(StoreTest, ASaveBelowAFileFailsAtTheFirstFile) {
  WriteBytes(folder + "Blocker", "a file, not a folder");
  appdata += "Blocker\\";
  EXPECT_EQ(ErrorOf<EFCreateError>([&] { ProgramSettings(false, window); }),
            FileError("Cannot create file", "FolderLocations.txt", vark::testing::FileInThePath()));
  EXPECT_EQ(ReadBytes(folder + "Blocker"), "a file, not a folder");
}

TEST_F(StoreTest, WithoutADataFolderTheFilesAreKeptInTheWorkingFolder) {
  // No user to name the data folder: saves and loads both use the working
  // folder, so what the user edits there is read back, not overwritten.
  const fs::path before = fs::current_path();
  const fs::path work = PathOf(profile.Root() + "/work");
  fs::create_directories(work);
  fs::current_path(work);
  appdata.clear();
  ProgramSettings(false, window);
  WriteBytes(profile.Root() + "/work/FolderLocations.txt", EightLines("mine"));
  RestoreStartState();
  ProgramSettings(true, window);
  fs::current_path(before);
  EXPECT_EQ(launchfolders, Column("mine"));
  EXPECT_EQ(exenames, DefaultEditionColumn(1));
}

TEST_F(StoreTest, ASaveMakesTheDataFolderAgainIfItWentAway) {
  fs::remove_all(PathOf(folder));
  ProgramSettings(false, window);
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"AppSettings.txt", "ExecutableNames.txt",
                                      "FolderLocations.txt", "LauncherNames.txt", "MapNames.txt"}));
}

TEST_F(StoreTest, GetFileModDateIsZeroForWhatIsNotAFile) {
  Put("MapNames.txt", "x");
  EXPECT_EQ(GetFileModDate(appdata + "MapNames.txt"),
            *vark::os::FileLastWriteTime(appdata + "MapNames.txt"));
  EXPECT_EQ(GetFileModDate(appdata + "mapnames.TXT"), GetFileModDate(appdata + "MapNames.txt"));
  EXPECT_EQ(GetFileModDate(appdata + "Missing.txt"), 0.0);
  fs::create_directory(PathOf(folder + "Folder.txt"));
  EXPECT_EQ(GetFileModDate(appdata + "Folder.txt"), 0.0);
  EXPECT_EQ(GetFileModDate("Q:\\MapNames.txt"), 0.0);
}

TEST_F(StoreTest, TheScanIgnoresAFolderWithoutListFiles) {
  ScanChangedFiles(window);
  Put(kSettingsFileName, "900\r\n10\r\n20\r\n4\r\n");
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 0);
  EXPECT_EQ(selectedindex, 1);
}

TEST_F(StoreTest, TheScanReloadsOnceWhenListFilesChange) {
  selectedindex = 2;
  ProgramSettings(false, window);
  ProgramSettings(true, window);
  window.sets = 0;
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 0);

  // The user moved the window and picked another edition, then edited a file.
  window.SetWidth(500);
  window.SetLeft(0);
  selectedindex = 7;
  window.sets = 0;
  Put("ExecutableNames.txt", EightLines("edited"));
  ScanChangedFiles(window);
  EXPECT_EQ(exenames, Column("edited"));
  EXPECT_EQ(window.sets, 3);  // one reload, back to the stored geometry
  EXPECT_EQ(window.Width(), 801);
  EXPECT_EQ(window.Left(), 340);
  EXPECT_EQ(selectedindex, 2);

  // Two files edited between ticks still make one reload.
  window.sets = 0;
  Put("FolderLocations.txt", EightLines("moved"));
  Put("MapNames.txt", EightLines("maps"));
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 3);
  EXPECT_EQ(launchfolders, Column("moved"));
  EXPECT_EQ(mapednames, Column("maps"));
  window.sets = 0;
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 0);
}

TEST_F(StoreTest, ADeletedListFileReloadsOnceAndNotOnEveryTick) {
  PutAllLists();
  Put(kSettingsFileName, "900\r\n10\r\n20\r\n4\r\n");
  ProgramSettings(true, window);
  fs::remove(PathOf(folder + "MapNames.txt"));
  window.sets = 0;
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 3);
  EXPECT_EQ(mapednames, Column("map"));  // the table keeps what it had
  window.sets = 0;
  ScanChangedFiles(window);
  ScanChangedFiles(window);
  EXPECT_EQ(window.sets, 0);
}

TEST_F(StoreTest, AShortListFileFailsOnEveryScan) {
  PutAllLists();
  Put("FolderLocations.txt", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");
  Put(kSettingsFileName, "900\r\n10\r\n20\r\n4\r\n");
  EXPECT_EQ(ErrorOf<EListError>([&] { ProgramSettings(true, window); }),
            "List index out of bounds (7)");
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_EQ(ErrorOf<EListError>([&] { ScanChangedFiles(window); }),
              "List index out of bounds (7)");
  }
  EXPECT_EQ(exenames, DefaultEditionColumn(1));
  EXPECT_EQ(window.sets, 0);
  // Once the file is mended, the next tick loads everything.
  Put("FolderLocations.txt", EightLines("folder"));
  ScanChangedFiles(window);
  EXPECT_EQ(exenames, Column("exe"));
  EXPECT_EQ(window.Width(), 900);
}

}  // namespace
