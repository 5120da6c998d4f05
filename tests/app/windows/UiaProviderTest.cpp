// The launcher through its UI Automation providers, called from a client's
// thread as the system calls them: what Wine's client side cannot reach (the
// patterns, the events, the pattern properties, the bounding rectangles) is
// asked here; tests/e2e/windows/uia.sh reads the rest through Wine's own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Keys.h"
#include "platform/ui/a11y/ControlAccessible.h"
#include "tests/app/LaunchActionsTestSupport.h"
#include "tests/app/windows/UiaProbe.h"

namespace {

using vark::test::LaunchActions;
using vark::test::UiaProbe;

constexpr long S_OK = 0;
constexpr long E_NOINTERFACE = static_cast<long>(0x80004002);
constexpr long kElementNotAvailable = static_cast<long>(0x80040201);

class Uia : public LaunchActions {
 protected:
  void SetUp() override {
    LaunchActions::SetUp();
    probe = std::make_unique<UiaProbe>();
  }
  void TearDown() override {
    probe.reset();
    LaunchActions::TearDown();
  }
  bool Saw(const std::string& event) {
    for (const std::string& e : heard)
      if (e == event) return true;
    return false;
  }
  void Listen() {
    const std::vector<std::string> now = probe->TakeEvents();
    heard.insert(heard.end(), now.begin(), now.end());
  }

  std::unique_ptr<UiaProbe> probe;
  std::vector<std::string> heard;
};

TEST_F(Uia, TheWindowAsAScreenReaderReadsIt) {
  Open();
  const std::vector<std::string> expected = {
      "window 'Valdor III Launcher' enabled",
      "  text 'Valdor III Launcher' enabled",
      "  button 'Close' enabled",
      "  text '\u00A9 VarkelSoftware' enabled",
      "  text 'Additional' enabled",
      "  text 'Options' enabled",
      "  text 'To access this menu you need to be in 16 bit color mode and in windowed mode. (F4)' "
      "enabled",
      "  check box 'Enable cheats menu' enabled focusable toggle=0",
      "  button 'Launch' enabled focusable focused",
      "  button 'Change window width' enabled focusable",
      "  button 'Open valdor folder' enabled focusable",
      "  button 'Start map editor' enabled focusable",
      "  button 'Open launcher if available' enabled focusable",
      "  button 'Folders' enabled focusable",
      "  button 'Exes' enabled focusable",
      "  button 'Launchers' enabled focusable",
      "  button 'Map exes' enabled focusable",
      // The progress bar is hidden until a launch: not there.
      "  list 'Editions' enabled focusable",
      "    list item 'Tidemark' enabled focusable selected 1/8",
      "    list item 'Ashen Vow' enabled focusable 2/8",
      "    list item 'Complete' enabled focusable 3/8",
      "    list item 'Dawn of Velmar' enabled focusable 4/8",
      "    list item 'Pale Reach' enabled focusable 5/8",
      "    list item 'Emberfall' enabled focusable 6/8",
      "    list item 'Lumen Generation 2' enabled focusable 7/8",
      "    list item 'OVRE' enabled focusable 8/8",
  };
  EXPECT_EQ(probe->Tree(form->Accessibility()), expected);
  // Where a row lies, in the screen's pixels; and who has the focus.
  const TPoint row = form->Panel2->ClientToScreen({0, 0});
  EXPECT_EQ(probe->Bounds(form->Accessibility(), "Complete"), Bounds(row.X, row.Y, 337, 35));
  EXPECT_EQ(probe->Focus(form->Accessibility()), "Launch");
}

// Select, Toggle and Invoke do what the row's click, the box's click and the
// button's click do; the close button saves the edition chosen so.
TEST_F(Uia, PatternsDoWhatTheControlsInputDoes) {
  PutProgram("Valdor III Complete Edition/Valdor3 HD.exe");
  Open();
  probe->SetListening(true);
  vark::a11y::Accessible& window = form->Accessibility();
  EXPECT_EQ(probe->Act(window, "Complete", "select"), S_OK);
  Application->ProcessMessages();
  EXPECT_EQ(selectedindex, 3);
  EXPECT_EQ(StarredRows(), std::vector<int>{3});
  Listen();
  EXPECT_TRUE(Saw("selected 'Complete'"));

  EXPECT_EQ(probe->Act(window, "Enable cheats menu", "toggle"), S_OK);
  Application->ProcessMessages();
  EXPECT_TRUE(form->CheckBox1->Checked());
  Listen();
  EXPECT_TRUE(Saw("property 30086 'Enable cheats menu' 0 -> 1"));
  EXPECT_NE(probe->Tree(window)[7].find("toggle=1"), std::string::npos);

  EXPECT_EQ(probe->Act(window, "Launch", "invoke"), S_OK);
  Application->ProcessMessages();
  const vark::test::Record started = OnlyRecord();
  EXPECT_EQ(started.name, "Valdor3 HD.exe");
  EXPECT_EQ(started.args, std::vector<std::string>{"/tarnwisp"});

  // A pattern the element does not have is refused.
  EXPECT_EQ(probe->Act(window, "Launch", "toggle"), E_NOINTERFACE);

  EXPECT_EQ(probe->Act(window, "Close", "invoke"), S_OK);
  Application->ProcessMessages();
  EXPECT_FALSE(form->Visible());
  // The fourth line holds the edition.
  std::string settings = GetData("AppSettings.txt");
  for (int line = 0; line < 3 && settings.find("\r\n") != std::string::npos; ++line)
    settings.erase(0, settings.find("\r\n") + 2);
  EXPECT_EQ(settings.substr(0, 3), "3\r\n") << GetData("AppSettings.txt");
}

// Events reach the system only while a client listens: the focus that Tab
// moves, the progress bar coming into the tree with a launch.
TEST_F(Uia, ChangesAreRaisedOnlyWhileAClientListens) {
  Open();
  probe->Tree(form->Accessibility());
  ui->pressKey(VK_TAB);
  Listen();
  EXPECT_EQ(heard, std::vector<std::string>{});

  probe->SetListening(true);
  ui->pressKey(VK_TAB);
  Listen();
  EXPECT_TRUE(Saw("focus 'Open valdor folder'")) << ::testing::PrintToString(heard);
  EXPECT_EQ(probe->Focus(form->Accessibility()), "Open valdor folder");
}

// The error message: a modal dialog window that is also an alert, its text
// readable and its button invokable; once it is gone, what a client still
// holds of it answers that its element is not available.
TEST_F(Uia, TheErrorDialogIsAModalAlertAndGoesAway) {
  Open();
  probe->SetListening(true);
  std::vector<std::string> tree;
  onDialog = [&](TCustomForm& dialog) {
    tree = probe->Tree(dialog.Accessibility());
    Listen();
    probe->Hold(dialog.Accessibility(), "Ok");
    return true;
  };
  form->SelectItem(8);
  ui->click(*form->CButton1);  // no program there
  ASSERT_EQ(dialogs.size(), 1u);
  ASSERT_GE(tree.size(), 3u);
  EXPECT_EQ(tree[0], "window 'Executable not found' enabled dialog modal");
  bool text = false, ok = false;
  for (const std::string& line : tree) {
    text = text || line.rfind("  text '" + dialogs[0].text.substr(0, 10), 0) == 0;
    ok = ok || line.rfind("  button 'Ok' enabled focusable", 0) == 0;
  }
  EXPECT_TRUE(text && ok) << ::testing::PrintToString(tree);
  EXPECT_TRUE(Saw("opened 'Executable not found'"));
  EXPECT_TRUE(Saw("alert 'Executable not found'"));

  Application->ProcessMessages();
  Listen();
  EXPECT_TRUE(Saw("disconnected"));
  EXPECT_EQ(probe->AskHeld(), kElementNotAvailable);
}

}  // namespace
