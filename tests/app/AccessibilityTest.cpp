// The launcher as a screen reader and a keyboard user meet it, on the headless
// backend: the accessible tree of the window, the actions, what is announced
// as things change, and the keys that select an edition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/Vark.Button.h"
#include "controls/Vark.Progress.h"
#include "platform/ui/Keys.h"
#include "platform/ui/a11y/AccessibleList.h"
#include "platform/ui/a11y/ControlAccessible.h"
#include "tests/app/LauncherTestSupport.h"
#include "tests/common/AccessibleTree.h"

namespace {

using vark::a11y::Accessible;
using vark::test::LauncherTest;

class Accessibility : public LauncherTest {
 protected:
  // The object named name anywhere in the window's tree.
  Accessible* Find(const std::string& name, Accessible* in = nullptr) {
    if (in == nullptr) in = &form->Accessibility();
    for (Accessible* child : in->Children()) {
      if (child->Describe().name == name) return child;
      if (Accessible* found = Find(name, child)) return found;
    }
    return nullptr;
  }
};

TEST_F(Accessibility, TheWindowAsAScreenReaderListsIt) {
  Open();
  const std::vector<std::string> expected = {
      "application 'test_app'",
      "  frame 'Valdor III Launcher' enabled visible showing active",
      "    label 'Valdor III Launcher' enabled visible showing",
      "    push button 'Close' [click] enabled visible showing",
      "    label '\u00A9 VarkelSoftware' enabled visible showing",
      "    label 'Additional' enabled visible showing",
      "    label 'Options' enabled visible showing",
      "    label 'To access this menu you need to be in 16 bit color mode and in windowed mode. "
      "(F4)' enabled visible showing",
      "    check box 'Enable cheats menu' [toggle] enabled visible showing focusable checkable",
      "    push button 'Launch' [click] enabled visible showing focusable focused",
      "    push button 'Change window width' [click] enabled visible showing focusable",
      "    push button 'Open valdor folder' [click] enabled visible showing focusable",
      "    push button 'Start map editor' [click] enabled visible showing focusable",
      "    push button 'Open launcher if available' [click] enabled visible showing focusable",
      "    push button 'Folders' [click] enabled visible showing focusable",
      "    push button 'Exes' [click] enabled visible showing focusable",
      "    push button 'Launchers' [click] enabled visible showing focusable",
      "    push button 'Map exes' [click] enabled visible showing focusable",
      "    progress bar 'Starting the game' = 0 (0..100) enabled",  // hidden until a launch
      "    list 'Editions' enabled visible showing focusable",
      "      list item 'Tidemark' [select] enabled visible showing focusable selectable selected",
      "      list item 'Ashen Vow' [select] enabled visible showing focusable selectable",
      "      list item 'Complete' [select] enabled visible showing focusable selectable",
      "      list item 'Dawn of Velmar' [select] enabled visible showing focusable selectable",
      "      list item 'Pale Reach' [select] enabled visible showing focusable selectable",
      "      list item 'Emberfall' [select] enabled visible showing focusable selectable",
      "      list item 'Lumen Generation 2' [select] enabled visible showing focusable selectable",
      "      list item 'OVRE' [select] enabled visible showing focusable selectable",
  };
  EXPECT_EQ(vark::test::Tree(vark::a11y::Root()), expected);
  // Each object knows where it lies.
  Accessible* complete = Find("Complete");
  ASSERT_NE(complete, nullptr);
  EXPECT_EQ(complete->Parent(), Find("Editions"));
  EXPECT_EQ(Find("Editions")->Parent(), &form->Accessibility());
  EXPECT_EQ(complete->ScreenBounds(), Bounds(form->Panel2->ClientToScreen({0, 0}).X,
                                             form->Panel2->ClientToScreen({0, 0}).Y, 337, 35));
}

// What is read beyond a control's own caption: the captions on screen stay
// as they are, the names are spelled right, the check box is described by its
// note (both ways related), the list-file buttons say which list they open.
TEST_F(Accessibility, NamesDescriptionsAndRelationsThatHelp) {
  Open();
  using vark::a11y::Relation;
  using vark::a11y::RelationType;
  Accessible& note = form->Label13->Accessibility();
  Accessible& cheats = form->CheckBox1->Accessibility();
  const std::string noteText =
      "To access this menu you need to be in 16 bit color mode and in windowed mode. (F4)";
  const struct {
    TControl* control;
    std::string shown;  // the caption on screen
    std::string name;
    std::string description;
    std::vector<Relation> relations;
  } rows[] = {
      {form->Label2, "Aditional", "Additional", "", {}},
      {form->BtLauncher, "Open launcher if avalabile", "Open launcher if available", "", {}},
      {form->Label13,
       "To acess this menu you need to be in 16 bit color mode and in windowed mode. (F4)",
       noteText,
       "",
       {{RelationType::DescriptionFor, &cheats}}},
      {form->CheckBox1,
       "Enable cheats menu",
       "Enable cheats menu",
       noteText,
       {{RelationType::DescribedBy, &note}}},
      {form->StartProgress, "", "Starting the game", "", {}},
      {form->CButton5, "Folders", "Folders", "Opens the list of the editions' folders", {}},
      {form->CButton6, "Exes", "Exes", "Opens the list of the editions' game programs", {}},
      {form->CButton7, "Launchers", "Launchers", "Opens the list of the editions' launchers", {}},
      {form->CButton8, "Map exes", "Map exes", "Opens the list of the editions' map editors", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string shown;
    if (auto* button = dynamic_cast<CButton*>(row.control)) {
      shown = button->Text();
    } else if (dynamic_cast<CProgress*>(row.control) == nullptr) {
      shown = row.control->Caption();
    }
    EXPECT_EQ(shown, row.shown);
    const vark::a11y::Facts facts = row.control->Accessibility().Describe();
    EXPECT_EQ(facts.name, row.name);
    // A label is read by its text as well.
    if (facts.role == vark::a11y::Role::Label) {
      EXPECT_EQ(facts.text, row.name);
    }
    EXPECT_EQ(facts.description, row.description);
    EXPECT_EQ(facts.relations, row.relations);
  }
}

// Each action does what the control's own input does, once the loop has its turn.
TEST_F(Accessibility, ActionsRunAsTheirControlsInputOnTheNextTurn) {
  Open();
  const struct {
    const char* object;
    const char* action;
    std::function<bool()> done;
  } rows[] = {
      {"Complete", "select",
       [&] {
         return selectedindex == 3 && StarredRows() == std::vector<int>{3} &&
                form->ShapeMove->Enabled() && gotopos == 182;
       }},
      {"Enable cheats menu", "toggle", [&] { return form->CheckBox1->Checked(); }},
      {"Change window width", "click", [&] { return form->SizeSetter->Enabled(); }},
      {"Close", "click", [&] { return !form->Visible() && !GetData("AppSettings.txt").empty(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.object) + " " + row.action);
    Accessible* object = Find(row.object);
    ASSERT_NE(object, nullptr);
    EXPECT_FALSE(object->DoAction("fly"));
    ASSERT_TRUE(object->DoAction(row.action));
    EXPECT_FALSE(row.done());  // not from inside the bridge's request
    Application->ProcessMessages();
    EXPECT_TRUE(row.done());
  }
}

TEST_F(Accessibility, ChangesAreAnnounced) {
  Open();
  vark::test::AnnouncementLog heard;
  ui->pressKey(VK_TAB);
  EXPECT_TRUE(heard.Saw("states 'Launch'"));
  EXPECT_TRUE(heard.Saw("focus 'Change window width'"));

  heard.lines.clear();
  ui->pressKey(VK_DOWN);
  EXPECT_TRUE(heard.Saw("selection 'Editions'"));

  heard.lines.clear();
  form->CheckBox1->SetChecked(true);
  form->Xbutton->SetCaption("x");
  EXPECT_EQ(heard.lines, (std::vector<std::string>{"states 'Enable cheats menu'", "name 'Close'"}));

  // A launch shows the bar and moves its value; the missing edition's alert
  // comes as a new window that takes the focus.
  heard.lines.clear();
  ui->click(*form->CButton1);
  EXPECT_TRUE(heard.Saw("states 'Starting the game'"));
  EXPECT_TRUE(heard.Saw("value 'Starting the game'"));
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_TRUE(heard.Saw("children 'test_app'"));
  EXPECT_TRUE(heard.Saw("activated 'Executable not found'"));
  EXPECT_TRUE(heard.Saw("focus 'Ok'"));
  EXPECT_FALSE(heard.gone.empty());  // the alert, once answered
}

// Up, Down, Home and End select an edition as a click on its row does,
// wherever the focus is, unless the focused control uses those keys.
TEST_F(Accessibility, KeysSelectTheNeighbouringFirstAndLastEdition) {
  class ArrowUser : public TCustomControl {
   public:
    using TCustomControl::TCustomControl;
    bool WantsKey(uint16_t key, TShiftState) const override { return key != VK_TAB; }
  };
  const struct {
    int from;
    uint16_t key;
    TShiftState shift;
    bool focusOnArrowUser;
    int to;
  } rows[] = {
      {1, VK_DOWN, {}, false, 2},        {2, VK_UP, {}, false, 1},   {1, VK_UP, {}, false, 1},
      {8, VK_DOWN, {}, false, 8},        {5, VK_HOME, {}, false, 1}, {3, VK_END, {}, false, 8},
      {4, VK_DOWN, {ssShift}, false, 4}, {4, VK_DOWN, {}, true, 4},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("from " + std::to_string(row.from) + " key " + std::to_string(row.key));
    TForm1& window = Open();
    auto& user = window.Make<ArrowUser>();
    user.SetBounds(0, 0, 10, 10);
    user.SetParent(&window);
    user.SetTabStop(true);
    window.CheckBox1->SetFocus();
    if (row.focusOnArrowUser) user.SetFocus();
    if (row.from != 1) window.Rows()[static_cast<size_t>(row.from - 1)]->Click();
    ui->advance(2000);  // the indicator settles
    ui->pressKey(row.key, row.shift);
    EXPECT_EQ(selectedindex, row.to);
    EXPECT_EQ(StarredRows(), std::vector<int>{row.to});
    // As a click: the indicator heads for the row.
    EXPECT_EQ(window.ShapeMove->Enabled(), row.to != row.from);
    if (row.to != row.from) {
      EXPECT_EQ(gotopos, window.Rows()[static_cast<size_t>(row.to - 1)]->Top() + 6);
    }
    form.reset();
    RestoreStartState();
    RestoreAnimationStartState();
  }
}

}  // namespace

namespace {

// The keyboard in the edition list: a key that selects an edition puts the
// focus on the selected row, for the window and for a screen reader; the
// focus follows the selection; Tab and Shift+Tab leave it for the controls
// beside its place just before the launch button; Left and Right stay.
TEST_F(Accessibility, TheEditionListIsAPlaceOfTheKeyboard) {
  Open();
  Accessible& list = *Find("Editions");
  auto focused = [](Accessible& object) {
    return object.Describe().states.Contains(vark::a11y::State::Focused);
  };
  {
    SCOPED_TRACE("Down from the launch button");
    vark::test::AnnouncementLog heard;
    ui->pressKey(VK_DOWN);
    EXPECT_EQ(form->ActiveControl(), form->Panel1);
    EXPECT_TRUE(focused(list));
    EXPECT_TRUE(focused(*Find("Ashen Vow")));
    EXPECT_FALSE(focused(*Find("Tidemark")));
    EXPECT_TRUE(heard.Saw("states 'Editions'"));
    EXPECT_TRUE(heard.Saw("focus 'Ashen Vow'"));
  }
  {
    SCOPED_TRACE("End, a click on another row, Left and Right");
    ui->pressKey(VK_END);
    EXPECT_EQ(form->ActiveControl(), form->Panel7);
    ui->click(*form->Label6);  // the caption of the third row
    EXPECT_EQ(form->ActiveControl(), form->Panel2);
    for (uint16_t key : {VK_LEFT, VK_RIGHT}) {
      ui->pressKey(key);
      EXPECT_EQ(form->ActiveControl(), form->Panel2);
    }
  }
  {
    SCOPED_TRACE("a screen reader's focus on another item");
    ASSERT_TRUE(Find("OVRE")->GrabFocus());
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), form->Panel2);
    EXPECT_EQ(selectedindex, 3);
  }
  {
    SCOPED_TRACE("Tab and Shift+Tab");
    ui->pressKey(VK_TAB);
    EXPECT_EQ(form->ActiveControl(), form->CButton1);
    EXPECT_FALSE(focused(list));
    ui->pressKey(VK_UP);
    ui->pressKey(VK_TAB, {ssShift});
    EXPECT_EQ(form->ActiveControl(), form->CButton8);
    // The list is no tab stop: the buttons go round without it.
    ui->pressKey(VK_TAB);
    EXPECT_EQ(form->ActiveControl(), form->CButton1);
  }
  {
    SCOPED_TRACE("the list's own focus request");
    ASSERT_TRUE(list.GrabFocus());
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), form->Panel1);
  }
}

// The focused row shows a dotted mark along its edge once the keyboard was
// used; the first frame has none.
TEST_F(Accessibility, TheFocusedRowShowsItsMark) {
  Open();
  TPanel& row = *form->Panel1;
  const TPoint corner{row.Left(), row.Top()};
  const TPoint gap{row.Left() + 1, row.Top()};  // the dots leave every other pixel
  const TColor before = ui->pixel(*form, corner.X, corner.Y);
  EXPECT_EQ(before, ui->pixel(*form, gap.X, gap.Y));
  EXPECT_NE(before, ColorToRGB(row.Font().Color()));
  ui->pressKey(VK_DOWN);
  ASSERT_EQ(form->ActiveControl(), &row);
  EXPECT_EQ(ui->pixel(*form, corner.X, corner.Y), ColorToRGB(row.Font().Color()));
  EXPECT_EQ(ui->pixel(*form, gap.X, gap.Y), before);
  ui->pressKey(VK_TAB);
  EXPECT_EQ(ui->pixel(*form, corner.X, corner.Y), before);
}

}  // namespace
