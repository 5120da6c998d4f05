// The accessible objects of the standard widgets on the headless backend: what
// each says of itself, how layout boxes and pictures drop out of the tree,
// which windows the application shows, and where changes are announced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/a11y/ControlAccessible.h"
#include "tests/common/AccessibleTree.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::a11y::Accessible;
using vark::test::Tree;

class AccessibleTest : public vark::test::UiTest {
 protected:
  // A shown window "Tools" holding a box (a panel without caption) with a
  // button, a label and a picture, a check box and a captioned panel.
  std::unique_ptr<TForm> Window() {
    auto form = ShownForm();
    form->SetCaption("Tools");
    TPanel& box = Place<TPanel>(*form, *form, 0, 0, 100, 50);
    box.SetCaption("");
    button = &Place<TButton>(box, *form, 0, 0, 60, 20);
    button->SetCaption("&Save");
    Place<TLabel>(box, *form, 0, 25, 60, 20).SetCaption("Ready");
    Place<TImage>(box, *form, 60, 0, 20, 20);
    TCheckBox& check = Place<TCheckBox>(*form, *form, 0, 60, 100, 20);
    check.SetCaption("Later");
    check.SetAllowGrayed(true);
    check.SetState(cbGrayed);
    Place<TPanel>(*form, *form, 0, 90, 100, 40).SetCaption("Status");
    return form;
  }
  TButton* button = nullptr;
};

TEST_F(AccessibleTest, WidgetsSayWhatTheyAreAndBoxesGiveWayToWhatTheyHold) {
  auto form = Window();
  auto hidden = MakeForm<TForm>(nullptr);  // never shown: not one of the windows
  hidden->SetCaption("Hidden");
  EXPECT_EQ(Tree(vark::a11y::Root()),
            (std::vector<std::string>{
                "application 'test_platform_ui'",
                "  frame 'Tools' enabled visible showing active",
                "    push button 'Save' [click] enabled visible showing focusable",
                "    label 'Ready' enabled visible showing",
                "    check box 'Later' [toggle] enabled visible showing focusable checkable "
                "indeterminate",
                "    panel 'Status' enabled visible showing",
            }));
  // The button lies in the window, past the box that holds it.
  EXPECT_EQ(button->Accessibility().Parent(), &form->Accessibility());
  EXPECT_EQ(button->Accessibility().ScreenBounds(), Bounds(100, 100, 60, 20));
}

TEST_F(AccessibleTest, ChangesGoToTheObjectAUserSeesThemIn) {
  auto form = Window();
  vark::test::AnnouncementLog heard;
  // A control added to the box is a new child of the window.
  TButton& more = Place<TButton>(*static_cast<TWinControl*>(button->Parent()), *form, 0, 0, 9, 9);
  Accessible* node = &more.Accessibility();
  more.Free();
  EXPECT_EQ(heard.lines, (std::vector<std::string>{"children 'Tools'", "children 'Tools'"}));
  EXPECT_EQ(heard.gone, std::vector<Accessible*>{node});

  heard.lines.clear();
  form->Hide();
  EXPECT_EQ(heard.lines,
            (std::vector<std::string>{"deactivated 'Tools'", "children 'test_platform_ui'",
                                      "states 'Tools'"}));
}

TEST_F(AccessibleTest, TakingTheFocusWaitsForTheLoopAndShowsWhereItIs) {
  auto form = Window();
  TCheckBox* check = nullptr;
  for (TControl* c : form->ControlList())
    if (auto* box = dynamic_cast<TCheckBox*>(c)) check = box;
  ASSERT_TRUE(check->Accessibility().GrabFocus());
  EXPECT_FALSE(check->Focused());
  Application->ProcessMessages();
  EXPECT_TRUE(check->Focused());
  EXPECT_TRUE(form->Window().keyboardUsed);  // its focus rectangle shows
  check->SetEnabled(false);
  EXPECT_FALSE(check->Accessibility().GrabFocus());
}

}  // namespace
