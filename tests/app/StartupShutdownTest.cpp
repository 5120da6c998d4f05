// The window's life: where it opens (first run, a stored place, a stored place
// no screen shows), a load that fails, the close request that saves the five
// files (a save that fails keeps the window open once), the system ending the
// program (also during the start-up error dialog), the two-second scan that
// reloads edited lists, dragging by the background, and the tab order.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ValdorLaunch.Store.h"
#include "platform/ui/Keys.h"
#include "tests/app/LauncherTestSupport.h"

namespace fs = std::filesystem;
using vark::testing::PathOf;

namespace {

using vark::test::LauncherTest;

// Eight CR LF lines "<prefix>1" .. "<prefix>8".
std::string EightLines(const std::string& prefix) {
  std::string s;
  for (int i = 1; i <= 8; ++i)
    s += prefix + std::to_string(i) + "\r\n";
  return s;
}

std::string Joined(const TEditionColumn& column) {
  std::string s;
  for (const std::string& line : column)
    s += line + "\r\n";
  return s;
}

class Lifecycle : public LauncherTest {
 protected:
  // Writes a data file with a last-write time of its own, so that every
  // rewrite differs from the stamp of the one before.
  void Stamp(const std::string& name) {
    static int64_t tick = 0;
    vark::testing::SetLastWriteTime(data + name, 1733700000 + ++tick);
  }
  void PutStamped(const std::string& name, const std::string& bytes) {
    PutData(name, bytes);
    Stamp(name);
  }
  void PutAllFiles(const std::string& settings) {
    PutStamped("FolderLocations.txt", Joined(DefaultEditionColumn(0)));
    PutStamped("ExecutableNames.txt", Joined(DefaultEditionColumn(1)));
    PutStamped("LauncherNames.txt", Joined(DefaultEditionColumn(2)));
    PutStamped("MapNames.txt", Joined(DefaultEditionColumn(3)));
    PutStamped("AppSettings.txt", settings);
  }
};

TEST_F(Lifecycle, AFirstRunOpensCentredWithTheDefaultsAndNoError) {
  Open();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_TRUE(ui->isVisible(*form));
  EXPECT_EQ(form->Caption(), "Valdor III Launcher");
  EXPECT_EQ(form->BoundsRect(), Bounds((1920 - 800) / 2, (1080 - 574) / 2, 800, 574));
  EXPECT_EQ(ui->windowBounds(*form), form->BoundsRect());
  EXPECT_EQ(selectedindex, 1);
  for (int k = 0; k < kListFileCount; ++k)
    EXPECT_EQ(EditionColumn(k), DefaultEditionColumn(k)) << k;
  // The data folder is made, and stays empty until the window closes.
  ASSERT_TRUE(fs::is_directory(PathOf(data)));
  EXPECT_TRUE(fs::is_empty(PathOf(data)));
  EXPECT_EQ(form->Xbutton->Left(), 765);
  EXPECT_TRUE(form->ScanFile->Enabled());
  EXPECT_EQ(form->ScanFile->Interval(), 2000);
}

TEST_F(Lifecycle, AStoredPlaceWidthAndEditionAreTakenBack) {
  PutData("AppSettings.txt", "700\r\n120\r\n300\r\n5\r\n");
  Open();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(form->BoundsRect(), Bounds(300, 120, 700, 574));
  EXPECT_EQ(selectedindex, 5);
  // The cross follows the stored width, where the width glide would keep it.
  EXPECT_EQ(form->Xbutton->Left(), 700 - 35);
  // The glide's target is not the stored width.
  EXPECT_EQ(formsize, 800);
}

TEST_F(Lifecycle, AStoredWidthOutsideTheGlideIsBroughtBackBetweenItsEnds) {
  Open();
  const int compact = mins;  // where the glide stops, as the title measures here
  form.reset();
  // 0 would make a window nobody can use, 200000 one the display cannot make;
  // a window closed at either end of the glide opens there again.
  for (int width : {0, -50, 100, compact - 1, compact, 800, 17000, 200000}) {
    SCOPED_TRACE(width);
    PutData("AppSettings.txt", std::to_string(width) + "\r\n120\r\n300\r\n5\r\n");
    Open();
    EXPECT_EQ(form->Width(), std::clamp(width, compact, 800));
    EXPECT_EQ(form->Top(), 120);
    EXPECT_EQ(selectedindex, 5);
    ui->requestClose(*form);
    EXPECT_FALSE(ui->isVisible(*form));
    EXPECT_EQ(GetData("AppSettings.txt").substr(0, 5), std::to_string(form->Width()) + "\r\n");
    form.reset();
  }
}

TEST_F(Lifecycle, AStoredPlaceNoScreenShowsIsPutBackOnThePrimaryScreen) {
  struct Case {
    const char* name;
    int left, top;
    bool kept;
  };
  const Case cases[] = {
      {"on the screen", 300, 120, true},
      {"partly off to the right, a grip of 60 pixels left", 3140, 120, true},
      {"partly off to the right, 40 pixels left", 3160, 120, false},
      {"title bar above the screen", 300, -30, false},
      {"title bar half above, 13 pixels showing", 300, -13, true},
      {"below the screen", 300, 1075, false},
      {"far left", -5000, 100, false},
      {"at the end of the range", INT_MAX, INT_MAX, false},
      {"at the start of the range", INT_MIN, INT_MIN, false},
      {"on the second screen", 2500, 300, true},
      {"on the screen left of the primary one", -700, 400, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.reset();
    vark::HeadlessBackend& fresh = vark::HeadlessBackend::Install();
    ui = &fresh;
    ui->OnIdle = [this] { AnswerDialog(); };
    ui->setExtraScreens({Bounds(1920, 0, 1280, 1024), Bounds(-1280, 0, 1280, 1024)});
    RestoreStartState();
    PutData("AppSettings.txt",
            "640\r\n" + std::to_string(c.top) + "\r\n" + std::to_string(c.left) + "\r\n1\r\n");
    Open();
    EXPECT_EQ(form->Width(), 640);
    if (c.kept) {
      EXPECT_EQ(form->Left(), c.left);
      EXPECT_EQ(form->Top(), c.top);
    } else {
      EXPECT_EQ(form->Left(), (1920 - 640) / 2);
      EXPECT_EQ(form->Top(), (1080 - 574) / 2);
    }
    EXPECT_TRUE(dialogs.empty());
  }
}

TEST_F(Lifecycle, AStoredTitleBarUnderATaskBarIsPutBackOnThePrimaryScreen) {
  // A task bar along the top of the primary screen, and one along the bottom
  // of a second screen right of it: neither can be grabbed through.
  struct Case {
    const char* name;
    int left, top;
    bool kept;
  };
  const Case cases[] = {
      {"under the top bar", 300, 0, false},
      {"6 pixels below the top bar", 300, 20, false},
      {"16 pixels below the top bar", 300, 30, true},
      {"under the second screen's bottom bar", 2200, 990, false},
      {"above the second screen's bottom bar", 2200, 970, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.reset();
    ui = &vark::HeadlessBackend::Install();
    ui->OnIdle = [this] { AnswerDialog(); };
    ui->setExtraScreens({Bounds(1920, 0, 1280, 1024)});
    ui->setWorkAreas({Bounds(0, 40, 1920, 1040), Bounds(1920, 0, 1280, 984)});
    RestoreStartState();
    PutData("AppSettings.txt",
            "640\r\n" + std::to_string(c.top) + "\r\n" + std::to_string(c.left) + "\r\n1\r\n");
    Open();
    EXPECT_EQ(form->BoundsRect().TopLeft(),
              c.kept ? TPoint(c.left, c.top) : TPoint((1920 - 640) / 2, (1080 - 574) / 2));
  }
}

TEST_F(Lifecycle, AWidthStoredOnAScreenOfAnotherScaleThanThePrimaryComesBackAsStored) {
  struct Case {
    const char* name;
    double primary, other;  // the window is kept on the other screen
    bool compact;
  };
  const Case cases[] = {
      {"primary 150 %, window on 100 %, compact", 1.5, 1.0, true},
      {"primary 150 %, window on 100 %, full", 1.5, 1.0, false},
      {"primary 100 %, window on 150 %, compact", 1.0, 1.5, true},
      {"primary 100 %, window on 150 %, full", 1.0, 1.5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.reset();
    ui = &vark::HeadlessBackend::Install();
    ui->OnIdle = [this] { AnswerDialog(); };
    ui->setScale(c.primary);
    ui->setExtraScreens({Bounds(1920, 0, 2560, 1440)}, {c.other});
    RestoreStartState();
    RestoreAnimationStartState();
    fs::remove(PathOf(data + "AppSettings.txt"));
    // A first run on the primary screen; dragged to the other one, where the
    // width button glides it to the width the case keeps.
    Open();
    ui->changeScale(*form, c.other, Bounds(2100, 150, form->Width(), form->Height()));
    formsize = c.compact ? maxs : mins;
    ui->click(*form->CButton2);
    for (int i = 0; i < 500 && form->SizeSetter->Enabled(); ++i)
      ui->tick(*form->SizeSetter);
    ASSERT_EQ(form->Width(), c.compact ? mins : maxs);
    ui->requestClose(*form);
    const std::string stored = GetData("AppSettings.txt");
    const TRect place = form->BoundsRect();
    for (int cycle = 1; cycle <= 2; ++cycle) {
      SCOPED_TRACE(cycle);
      form.reset();
      RestoreStartState();
      RestoreAnimationStartState();
      Open();
      EXPECT_EQ(form->PixelsPerInch(), std::lround(96 * c.other));
      EXPECT_EQ(form->BoundsRect(), place);
      EXPECT_EQ(form->Xbutton->Left(), form->Width() - std::lround(35 * c.other));
      ui->requestClose(*form);
      EXPECT_EQ(GetData("AppSettings.txt"), stored);
    }
  }
}

TEST_F(Lifecycle, AFailingLoadShowsOneErrorDialogAndTheWindowOpens) {
  PutData("FolderLocations.txt", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");  // seven lines
  PutData("ExecutableNames.txt", EightLines("exe"));
  PutData("AppSettings.txt", "700\r\n120\r\n300\r\n5\r\n");
  Open();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Error");
  EXPECT_EQ(dialogs[0].text, "Could not load the application data!");
  EXPECT_EQ(dialogs[0].buttons, std::vector<std::string>{"Ok"});
  EXPECT_TRUE(ui->isVisible(*form));
  // What came before the failure stays; nothing after it was read.
  EXPECT_EQ(launchfolders[6], "g");
  EXPECT_EQ(launchfolders[7], DefaultEditionColumn(0)[7]);
  EXPECT_EQ(exenames, DefaultEditionColumn(1));
  EXPECT_EQ(selectedindex, 1);
  EXPECT_EQ(form->BoundsRect(), Bounds((1920 - 800) / 2, (1080 - 574) / 2, 800, 574));
}

TEST_F(Lifecycle, ClosingWritesTheFiveFilesWithCrLf) {
  Open();
  form->SelectItem(4);
  ui->requestClose(*form);
  EXPECT_FALSE(ui->isVisible(*form));
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(GetData("FolderLocations.txt"), Joined(DefaultEditionColumn(0)));
  EXPECT_EQ(GetData("ExecutableNames.txt"), Joined(DefaultEditionColumn(1)));
  EXPECT_EQ(GetData("LauncherNames.txt"),
            "HD_Starter.exe\r\nHD_Starter.exe\r\nHD_Starter.exe\r\nHD_Starter.exe\r\n"
            "HD_Starter.exe\r\n\r\nTools\\Lumen Start Menu\\start.exe\r\nOVRE_launcher.exe\r\n");
  EXPECT_EQ(GetData("MapNames.txt"), Joined(DefaultEditionColumn(3)));
  EXPECT_EQ(GetData("AppSettings.txt"), "800\r\n253\r\n560\r\n4\r\n");
}

TEST_F(Lifecycle, TheCrossClosesThroughTheCloseRequest) {
  Open();
  EXPECT_EQ(form->Xbutton->Cursor(), crHandPoint);
  ui->click(*form->Xbutton);
  EXPECT_FALSE(ui->isVisible(*form));
  EXPECT_TRUE(fs::exists(PathOf(data + "AppSettings.txt")));
  EXPECT_TRUE(fs::exists(PathOf(data + "MapNames.txt")));
}

TEST_F(Lifecycle, AFailedSaveKeepsTheWindowOnceAndTheNextCloseRequestEndsIt) {
  // A file where the data folder should be: nothing can be written into it.
  const std::string inTheWay = data.substr(0, data.size() - 1);
  for (bool mended : {true, false}) {
    SCOPED_TRACE(mended ? "the folder mended in between" : "still nothing can be written");
    dialogs.clear();
    Open();
    fs::remove_all(PathOf(inTheWay));
    vark::testing::WriteBytes(inTheWay, "in the way");
    ui->click(*form->Xbutton);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_NE(dialogs[0].text.find("FolderLocations.txt"), std::string::npos) << dialogs[0].text;
    EXPECT_TRUE(ui->isVisible(*form));
    if (mended) {
      fs::remove(PathOf(inTheWay));
      fs::create_directories(PathOf(data));
    }
    ui->requestClose(*form);
    EXPECT_FALSE(ui->isVisible(*form));
    EXPECT_EQ(dialogs.size(), mended ? 1u : 2u);
    EXPECT_EQ(fs::exists(PathOf(data + "AppSettings.txt")), mended);
    form.reset();
    fs::remove_all(PathOf(inTheWay));
  }
}

TEST_F(Lifecycle, ASignalSavesAndEndsTheProgramAlsoFromADialog) {
  TForm1* main = nullptr;
  Application->CreateForm(main);  // the main form, as the program makes it
  main->Show();
  ui->click(*main->Rows()[2]);  // edition 3
  // The "Executable not found" dialog is open when the signal comes.
  onDialog = [&](TCustomForm&) {
    ui->requestQuit();
    return false;
  };
  ui->click(*main->CButton1);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Application->ExitCode(), 0);
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(GetData("AppSettings.txt"), "800\r\n253\r\n560\r\n3\r\n");
}

TEST_F(Lifecycle, ASignalWhileTheStartUpErrorDialogIsOpenSavesTheFiveFiles) {
  PutData("FolderLocations.txt", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");  // seven lines
  onDialog = [&](TCustomForm&) {
    ui->requestQuit();
    return false;
  };
  TForm1* main = nullptr;
  // As the program makes it: the load fails and the dialog opens in its OnCreate.
  Application->CreateForm(main);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Application->ExitCode(), 0);
  EXPECT_TRUE(dialogs.empty());
  // What the load took in is kept, as a close would keep it.
  EXPECT_EQ(GetData("FolderLocations.txt"),
            "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n" + DefaultEditionColumn(0)[7] + "\r\n");
  EXPECT_EQ(GetData("ExecutableNames.txt"), Joined(DefaultEditionColumn(1)));
  EXPECT_EQ(GetData("LauncherNames.txt"), Joined(DefaultEditionColumn(2)));
  EXPECT_EQ(GetData("MapNames.txt"), Joined(DefaultEditionColumn(3)));
  EXPECT_EQ(GetData("AppSettings.txt"), "800\r\n253\r\n560\r\n1\r\n");
}

TEST_F(Lifecycle, AtCloseChangedListsAreTakenInButNotTheStoredPlaceOrEdition) {
  PutAllFiles("700\r\n120\r\n300\r\n2\r\n");
  Open();
  form->SetBounds(50, 60, 700, 574);
  ui->click(*form->Rows()[4]);  // edition 5
  // Saved in the editor a moment before the window closes, before any scan;
  // the folder list is one a load would refuse.
  PutStamped("ExecutableNames.txt", EightLines("edited"));
  PutStamped("FolderLocations.txt", "a\r\nb\r\n");
  ui->requestClose(*form);
  EXPECT_FALSE(ui->isVisible(*form));
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(GetData("ExecutableNames.txt"), EightLines("edited"));
  // The list that does not load is left to the save, which writes the table.
  EXPECT_EQ(GetData("FolderLocations.txt"), Joined(DefaultEditionColumn(0)));
  EXPECT_EQ(GetData("AppSettings.txt"), "700\r\n60\r\n50\r\n5\r\n");
}

TEST_F(Lifecycle, TheScanReloadsAnEditedListWithinTwoSeconds) {
  PutAllFiles("700\r\n120\r\n300\r\n2\r\n");
  Open();
  EXPECT_EQ(selectedindex, 2);
  // The user moves the window and picks another edition, then edits a list.
  form->SetBounds(50, 60, 700, 574);
  ui->click(*form->Panel5);
  PutStamped("ExecutableNames.txt", EightLines("edited"));
  ui->advance(1999);
  EXPECT_EQ(exenames[0], "vtide HD.exe");
  ui->advance(1);
  EXPECT_EQ(exenames[0], "edited1");
  EXPECT_EQ(exenames[7], "edited8");
  // The reload also puts back the stored place and edition; the star stays.
  EXPECT_EQ(form->BoundsRect(), Bounds(300, 120, 700, 574));
  EXPECT_EQ(selectedindex, 2);
  EXPECT_EQ(form->Marks()[5]->SelectedIcon(), ciconStar);
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(Lifecycle, AFailingReloadKeepsOneReportOpenAndScansOnAfterIt) {
  // A short folder list stops every load before the other lists are read, so
  // their stamps stay 0 and every scan loads, and fails, again.
  PutAllFiles("800\r\n100\r\n100\r\n1\r\n");
  PutStamped("FolderLocations.txt", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");
  Open();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].caption, "Error");

  // The user leaves the scan's report open for some twenty scans.
  TCustomForm* shown = nullptr;
  int reportsShown = 0;
  int waits = 0;
  onDialog = [&](TCustomForm& report) {
    if (&report != shown) {
      shown = &report;
      ++reportsShown;
      EXPECT_TRUE(form->ScanReportOpen());
      launchfolders[0] = "changed meanwhile";
    }
    if (++waits < 20) {
      ui->advance(2000);
      return false;
    }
    waits = 0;
    shown = nullptr;
    return true;
  };
  ui->advance(2000);
  EXPECT_EQ(reportsShown, 1);
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[1].text, "List index out of bounds (7)");
  EXPECT_GE(ui->now(), 20 * 2000u);  // the scans came and went
  // No scan ran while the report was open: nothing was loaded over the change.
  EXPECT_EQ(launchfolders[0], "changed meanwhile");
  EXPECT_FALSE(form->ScanReportOpen());

  // Scanning goes on after it: the list is still short, so it reports again.
  onDialog = nullptr;
  ui->advance(2000);
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(launchfolders[0], "a");
  // Mended, it loads without a report.
  PutStamped("FolderLocations.txt", EightLines("folder"));
  ui->advance(2000);
  EXPECT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(launchfolders[7], "folder8");
}

TEST_F(Lifecycle, PressingTheBackgroundWithAnyButtonDragsTheWindow) {
  Open();
  for (TMouseButton button : {mbLeft, mbRight, mbMiddle}) {
    SCOPED_TRACE(static_cast<int>(button));
    const TPoint start{form->Left(), form->Top()};
    // Between the launch button and the footer there is only the background.
    ui->mouseDown(*form, 420, 545, button);
    const TPoint grab = form->ClientToScreen({420, 545});
    ui->mouseMoveScreen(grab.X + 40, grab.Y - 30);
    ui->mouseUpScreen(grab.X + 40, grab.Y - 30, button);
    EXPECT_EQ(form->Left(), start.X + 40);
    EXPECT_EQ(form->Top(), start.Y - 30);
    // Released, the button lets the window be.
    ui->mouseMoveScreen(grab.X + 90, grab.Y);
    EXPECT_EQ(form->Left(), start.X + 40);
  }

  // A press on a control does not.
  const int left = form->Left();
  ui->mouseDown(*form, 300, 40);  // the title
  const TPoint grab = form->ClientToScreen({300, 40});
  ui->mouseMoveScreen(grab.X + 100, grab.Y);
  ui->mouseUpScreen(grab.X + 100, grab.Y);
  EXPECT_EQ(form->Left(), left);
}

TEST_F(Lifecycle, TabVisitsTheButtonsAndTheCheckBoxInTabOrder) {
  Open();
  form->FocusControl(form->CButton1);
  std::vector<std::string> visited{form->ActiveControl()->Name()};
  for (int i = 0; i < 10; ++i) {
    ui->pressKey(VK_TAB);
    visited.push_back(form->ActiveControl()->Name());
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"CButton1", "CButton2", "CButton3", "CButton4",
                                               "CheckBox1", "BtLauncher", "CButton5", "CButton6",
                                               "CButton7", "CButton8", "CButton1"}));
}

}  // namespace
