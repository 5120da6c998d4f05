// The width toggle of the gear button, tick by tick on the virtual clock: the
// widths the window passes through, where the cross goes, the snap at the end,
// and the two full and compact widths the window measures at creation.
#include <gtest/gtest.h>

#include <vector>

#include "tests/app/LauncherTestSupport.h"

namespace {

using vark::test::LauncherTest;

struct Glide {
  std::vector<int> widths;  // after each tick
  int crossBeforeSnap = 0;  // the cross's left after the last tick
};

class WidthToggle : public LauncherTest {
 protected:
  // Opens the window with the compact width of the title as designed (390
  // pixels at left 32), whatever the installed title font measures.
  void OpenDesigned() {
    Open();
    mins = 454;
  }

  Glide Run(int limit = 200) {
    Glide g;
    while (form->SizeSetter->Enabled() && static_cast<int>(g.widths.size()) < limit) {
      ui->tick(*form->SizeSetter);
      g.widths.push_back(form->Width());
      g.crossBeforeSnap = form->Xbutton->Left();
    }
    return g;
  }
};

TEST_F(WidthToggle, MeasuresTheFullAndCompactWidthsAtCreation) {
  Open();
  EXPECT_EQ(form->Width(), 800);  // 794 client + the 3-pixel border on both sides
  EXPECT_EQ(maxs, 794);
  // Compact: the title with the same margin on its right as on its left.
  EXPECT_EQ(mins, form->Title->Left() + form->Title->Width() + form->Title->Left());
  EXPECT_GT(form->Title->Width(), 100);  // sized to its text, not left at a default
  EXPECT_EQ(formsize, 800);
  EXPECT_FALSE(form->SizeSetter->Enabled());
}

TEST_F(WidthToggle, FirstPressFromTheDesignedWidthGoesToTheFullWidth) {
  OpenDesigned();
  ui->click(*form->CButton2);
  EXPECT_EQ(formsize, 794);  // 800 was neither of the two
  Glide g = Run();
  EXPECT_EQ(g.widths, (std::vector<int>{799, 798, 797, 794}));
  EXPECT_EQ(g.crossBeforeSnap, 796 - 35);
  EXPECT_FALSE(form->SizeSetter->Enabled());
}

TEST_F(WidthToggle, TheCrossKeepsItsDesignedDistanceFromTheRightEdgeAtTheWindowsScale) {
  struct Case {
    double scale;
    int fromRight;  // 35 designed pixels
  };
  for (const Case& c : {Case{1.0, 35}, Case{1.5, 53}}) {
    SCOPED_TRACE(c.scale);
    form.reset();
    RestoreStartState();
    RestoreAnimationStartState();
    ui->setScale(c.scale);
    Open();
    formsize = maxs;  // the press glides to the compact width
    ui->click(*form->CButton2);
    ui->tick(*form->SizeSetter);
    EXPECT_EQ(form->Xbutton->Left(), form->Width() - c.fromRight);
    Glide g = Run();
    // The snap leaves the cross where the last tick put it.
    EXPECT_EQ(form->Xbutton->Left(), g.crossBeforeSnap);
    EXPECT_EQ(form->Width(), mins);
    EXPECT_GT(form->Xbutton->Left(), form->Width() - c.fromRight);
  }
  ui->setScale(1.0);
}

TEST_F(WidthToggle, FullToCompactAndBack) {
  OpenDesigned();
  ui->click(*form->CButton2);
  Run();
  ui->click(*form->CButton2);
  EXPECT_EQ(formsize, 454);
  Glide in = Run();
  ASSERT_EQ(in.widths.size(), 46u);
  EXPECT_EQ((std::vector<int>(in.widths.begin(), in.widths.begin() + 4)),
            (std::vector<int>{760, 730, 703, 679}));
  EXPECT_EQ(in.widths.back(), 454);
  EXPECT_EQ(form->Xbutton->Left(), 456 - 35);

  ui->click(*form->CButton2);
  EXPECT_EQ(formsize, 794);
  Glide out = Run();
  ASSERT_EQ(out.widths.size(), 46u);
  EXPECT_EQ((std::vector<int>(out.widths.begin(), out.widths.begin() + 3)),
            (std::vector<int>{488, 518, 545}));
  // The last tick reaches 792, within 2 of the target, and snaps to it; the
  // cross stays where 792 put it.
  EXPECT_EQ(out.widths[out.widths.size() - 2], 791);
  EXPECT_EQ(out.widths.back(), 794);
  EXPECT_EQ(form->Xbutton->Left(), 792 - 35);
}

TEST_F(WidthToggle, FromTheDesignedWidthStraightToCompact) {
  OpenDesigned();
  formsize = 794;  // as after a first toggle that did not run
  ui->click(*form->CButton2);
  Glide g = Run();
  ASSERT_EQ(g.widths.size(), 46u);
  EXPECT_EQ((std::vector<int>(g.widths.begin(), g.widths.begin() + 4)),
            (std::vector<int>{766, 735, 707, 682}));
  EXPECT_EQ(g.widths.back(), 454);
  EXPECT_EQ(form->Xbutton->Left(), 421);
}

TEST_F(WidthToggle, APressWhileGlidingTurnsBack) {
  OpenDesigned();
  formsize = 794;
  ui->click(*form->CButton2);
  for (int i = 0; i < 5; ++i)
    ui->tick(*form->SizeSetter);
  const int w = form->Width();
  ui->click(*form->CButton2);
  EXPECT_EQ(formsize, 794);
  EXPECT_TRUE(form->SizeSetter->Enabled());
  ui->tick(*form->SizeSetter);
  EXPECT_GT(form->Width(), w);
  Glide g = Run();
  EXPECT_EQ(g.widths.back(), 794);
}

TEST_F(WidthToggle, TheWindowShowsItsNewWidth) {
  OpenDesigned();
  formsize = 794;
  ui->click(*form->CButton2);
  Run();
  // The screen's window and its picture follow the form.
  EXPECT_EQ(ui->windowBounds(*form).Width(), 454);
  EXPECT_EQ(ui->surface(*form).Width(), 454);
  // The frame's right border, in the window's colour, moved in with it.
  EXPECT_EQ(ui->surface(*form).ColorAt(452, 300), TColor{0x00212121});
}

TEST_F(WidthToggle, TheGlideAndTheIndicatorFollowTheWindowToAScreenOfAnotherScale) {
  // What the window measures when it opens on a screen at 150 %.
  ui->setScale(1.5);
  Open();
  const int full = maxs, compact = mins, bar = indicheight;
  form.reset();
  RestoreAnimationStartState();
  ui->setScale(1.0);

  // Opened at 100 %, it is dragged to that screen while the indicator slides.
  Open();
  const int compactAt100 = mins;
  ui->click(*form->Rows()[4]);
  ui->changeScale(*form, 1.5, Bounds(100, 100, 1197, 861));
  EXPECT_EQ(maxs, full);
  EXPECT_EQ(mins, compact);
  EXPECT_EQ(indicheight, bar);
  EXPECT_NEAR(gotopos, form->Rows()[4]->Top() + 9, 1);  // the row's top + 6, scaled
  ui->click(*form->CButton2);
  EXPECT_EQ(Run().widths.back(), full);
  // Dragged back while it glides in, it ends at the compact width of 100 %.
  ui->click(*form->CButton2);
  ui->tick(*form->SizeSetter);
  ui->changeScale(*form, 1.0, Bounds(100, 100, 1000, 574));
  EXPECT_EQ(Run().widths.back(), compactAt100);
}

TEST_F(WidthToggle, MaximisingIsUndoneAtOnce) {
  Open();
  const TRect before = form->BoundsRect();
  ui->setWindowState(*form, wsMaximized);
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_EQ(form->BoundsRect(), before);
}

}  // namespace
