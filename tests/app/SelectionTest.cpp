// Selecting an edition row, tick by tick on the virtual clock: where the star
// goes, which edition is selected, and every step of the indicator's slide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/Vark.StandardIcons.h"
#include "platform/ui/Image.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"
#include "tests/app/LauncherTestSupport.h"

namespace {

using vark::test::LauncherTest;

struct Step {
  int top;
  int height;
  bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Step& s) {
  return os << "(" << s.top << ", " << s.height << ")";
}

class Selection : public LauncherTest {
 protected:
  // Ticks the indicator's timer until it stops (at most limit ticks) and
  // returns the bar's top and height after each tick.
  std::vector<Step> Slide(int limit = 200) {
    std::vector<Step> steps;
    while (form->ShapeMove->Enabled() && static_cast<int>(steps.size()) < limit) {
      ui->tick(*form->ShapeMove);
      steps.push_back({form->Indicator->Top(), form->Indicator->Height()});
    }
    return steps;
  }
};

TEST_F(Selection, StartsWithTheStarAndTheIndicatorOnTheFirstRow) {
  Open();
  EXPECT_EQ(StarredRows(), std::vector<int>{1});
  for (int i = 1; i < 8; ++i)
    EXPECT_EQ(form->Marks()[i]->SelectedIcon(), ciconNone) << "row " << i + 1;
  EXPECT_EQ(form->Indicator->Top(), 106);
  EXPECT_EQ(form->Indicator->Height(), 24);
  EXPECT_EQ(indicheight, 24);
  EXPECT_FALSE(form->ShapeMove->Enabled());
  EXPECT_EQ(selectedindex, 1);
}

TEST_F(Selection, RowOneToRowTwoSlidesDownAndStopsTwoPixelsShort) {
  Open();
  ui->click(*form->Panel1, 200, 17);
  EXPECT_EQ(StarredRows(), std::vector<int>{2});
  EXPECT_EQ(selectedindex, 2);
  EXPECT_EQ(gotopos, 144);
  std::vector<Step> steps = Slide();
  ASSERT_EQ(steps.size(), 25u);
  EXPECT_EQ((std::vector<Step>(steps.begin(), steps.begin() + 4)),
            (std::vector<Step>{{109, 36}, {112, 36}, {115, 36}, {117, 32}}));
  // Under ten pixels away the bar moves one pixel a tick, four pixels taller.
  EXPECT_EQ(steps[steps.size() - 2], (Step{141, 28}));
  EXPECT_EQ(steps.back(), (Step{142, 25}));
}

TEST_F(Selection, BackUpStretchesTowardTheTarget) {
  Open();
  ui->click(*form->Panel1, 200, 17);
  Slide();
  ui->click(*form->ValdorOption_1, 200, 17);
  EXPECT_EQ(gotopos, 106);
  std::vector<Step> steps = Slide();
  ASSERT_EQ(steps.size(), 19u);
  // 139, then moved up by the growth of 11 (25 to 36).
  EXPECT_EQ(steps[0], (Step{128, 36}));
  // The last pixels up keep the bar four pixels shorter than at rest.
  EXPECT_EQ(steps[steps.size() - 2], (Step{109, 20}));
  EXPECT_EQ(steps.back(), (Step{108, 25}));
}

TEST_F(Selection, RowOneToRowEightGrowsTallFirst) {
  Open();
  ui->click(*form->Panel7, 200, 17);
  EXPECT_EQ(gotopos, 370);
  std::vector<Step> steps = Slide();
  ASSERT_EQ(steps.size(), 44u);
  EXPECT_EQ(steps[0], (Step{132, 128}));
  EXPECT_EQ(steps.back(), (Step{368, 25}));
}

TEST_F(Selection, TheBarStopsOneDesignedPixelTallerThanAtRestAtTheWindowsScale) {
  struct Case {
    double scale;
    int resting;
    int stopped;
    int offset;  // the target's distance below the row's top
  };
  for (const Case& c : {Case{1.0, 24, 25, 6}, Case{1.5, 36, 38, 9}}) {
    SCOPED_TRACE(c.scale);
    form.reset();
    RestoreStartState();
    RestoreAnimationStartState();
    ui->setScale(c.scale);
    Open();
    EXPECT_EQ(form->Indicator->Height(), c.resting);
    ui->click(*form->Rows()[1]);
    EXPECT_EQ(gotopos - form->Rows()[1]->Top(), c.offset);
    std::vector<Step> steps = Slide();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().height, c.stopped);
  }
  ui->setScale(1.0);
}

TEST_F(Selection, ANewClickWhileSlidingOnlyChangesTheTarget) {
  Open();
  ui->click(*form->Panel7, 200, 17);
  for (int i = 0; i < 5; ++i)
    ui->tick(*form->ShapeMove);
  const int top = form->Indicator->Top();
  ui->click(*form->Panel2, 200, 17);
  EXPECT_EQ(gotopos, 182);
  EXPECT_TRUE(form->ShapeMove->Enabled());
  EXPECT_EQ(form->Indicator->Top(), top);  // nothing jumps
  std::vector<Step> steps = Slide();
  ASSERT_FALSE(steps.empty());
  EXPECT_NEAR(steps.back().top, 182, 2);
  EXPECT_EQ(steps.back().height, 25);
  EXPECT_EQ(StarredRows(), std::vector<int>{3});
}

TEST_F(Selection, ClicksOnAnyPartOfTheSelectedRowDoNothing) {
  Open();
  ui->click(*form->Panel2, 200, 17);
  Slide();
  const Step rest{form->Indicator->Top(), form->Indicator->Height()};
  TPanel& row = *form->Panel2;
  struct Part {
    const char* name;
    TControl* control;
  };
  const Part parts[] = {{"panel", &row},
                        {"caption", form->Label6},
                        {"picture", form->Image3},
                        {"star", form->IcoSel_3}};
  for (const Part& part : parts) {
    SCOPED_TRACE(part.name);
    if (part.control == &row) {
      ui->click(row, 250, 17);  // on the panel itself, between caption and star
    } else {
      ui->click(*part.control);
    }
    EXPECT_FALSE(form->ShapeMove->Enabled());
    EXPECT_EQ(selectedindex, 3);
    EXPECT_EQ(StarredRows(), std::vector<int>{3});
    EXPECT_EQ((Step{form->Indicator->Top(), form->Indicator->Height()}), rest);
  }
}

TEST_F(Selection, ACaptionPictureOrMarkOfAnotherRowSelectsThatRow) {
  Open();
  struct Case {
    const char* name;
    TControl* part;
    int row;
  };
  const Case cases[] = {
      {"caption of row 4", form->Label7, 4},
      {"picture of row 6", form->Image6, 6},
      {"mark of row 2", form->IcoSel_2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui->click(*c.part);
    EXPECT_EQ(selectedindex, c.row);
    EXPECT_EQ(StarredRows(), std::vector<int>{c.row});
    EXPECT_EQ(gotopos, form->Rows()[c.row - 1]->Top() + 6);
    Slide();
  }
}

TEST_F(Selection, SelectItemOutsideTheEditionsClearsTheStarsOnly) {
  Open();
  for (int index : {0, 9, -1}) {
    SCOPED_TRACE(index);
    form->SelectItem(3);
    form->SelectItem(index);
    EXPECT_TRUE(StarredRows().empty());
    EXPECT_EQ(selectedindex, 3);
    EXPECT_FALSE(form->ShapeMove->Enabled());
  }
}

TEST_F(Selection, ALoadedIndexLeavesTheStarOnRowOneUntilAClick) {
  PutData("AppSettings.txt", "800\r\n100\r\n100\r\n3\r\n");
  Open();
  EXPECT_EQ(selectedindex, 3);
  EXPECT_EQ(StarredRows(), std::vector<int>{1});
  EXPECT_EQ(form->Indicator->Top(), 106);

  // The row of the loaded index counts as selected: a click there does nothing.
  ui->click(*form->Label6);
  EXPECT_FALSE(form->ShapeMove->Enabled());
  EXPECT_EQ(StarredRows(), std::vector<int>{1});

  // Row 1 is not: selecting it starts a slide with the bar already in place.
  ui->click(*form->Label3);
  EXPECT_EQ(selectedindex, 1);
  EXPECT_EQ(StarredRows(), std::vector<int>{1});
  std::vector<Step> steps = Slide();
  EXPECT_EQ(steps, (std::vector<Step>{{103, 28}, {104, 25}}));
}

TEST_F(Selection, TheSlideRepaintsTheBarWhereItIs) {
  Open();
  const TColor bar = ColorToRGB(clHighlight);
  EXPECT_EQ(ui->pixel(*form, 43, 118), bar);
  ui->click(*form->Panel7, 200, 17);
  Slide();
  EXPECT_EQ(ui->pixel(*form, 43, 380), bar);
  EXPECT_NE(ui->pixel(*form, 43, 118), bar);
}

}  // namespace
