// The main window as it is laid out and first drawn: where the rows' parts
// land once aligned, the labels that size themselves, what the first frame
// shows (indicator, star, the hidden progress bar), and a scaled display.
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "tests/app/LauncherTestSupport.h"

namespace {

using vark::test::LauncherTest;

class Layout : public LauncherTest {};

// Whether some pixel of the window's client rectangle r is darker than 0x40 in
// every channel.
bool HasDarkPixel(vark::HeadlessBackend& ui, TCustomForm& form, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const TColor c = ui.pixel(form, x, y);
      if (GetRValue(c) < 0x40 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40) return true;
    }
  return false;
}

TEST_F(Layout, EachRowAlignsItsPictureCaptionAndMark) {
  Open();
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i + 1);
    TPanel& row = *form->Rows()[i];
    ASSERT_EQ(row.ControlCount(), 3);
    auto* picture = dynamic_cast<TImage*>(row.Controls(0));
    auto* caption = dynamic_cast<TLabel*>(row.Controls(1));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(picture->BoundsRect(), Bounds(5, 1, 33, 33));
    // The picture fills its box: every edition picture is square.
    EXPECT_EQ(picture->DestRect(), Rect(0, 0, 33, 33));
    EXPECT_EQ(caption->Left(), 46);
    EXPECT_EQ(caption->Top(), 3);
    EXPECT_EQ(caption->Height(), 29);
    TCanvas measure;
    measure.SetFont(caption->Font());
    EXPECT_EQ(caption->Width(), measure.TextWidth(caption->Caption()));
    EXPECT_EQ(form->Marks()[i]->BoundsRect(), Bounds(304, 6, 25, 25));
    EXPECT_EQ(form->Marks()[i]->Parent(), &row);
  }
}

TEST_F(Layout, TheFooterGrowsToTheLeftOfItsRightEdge) {
  Open();
  EXPECT_EQ(form->Label4->Left() + form->Label4->Width(), 661 + 125);
  EXPECT_GT(form->Label4->Width(), 40);
}

TEST_F(Layout, TheFirstFrameShowsTheIndicatorTheStarAndNoBar) {
  Open();
  EXPECT_EQ(ui->pixel(*form, 43, 118), ColorToRGB(clHighlight));
  // The star is drawn in the middle of row 1's mark and nowhere on row 2's.
  const TColor star = ui->pixel(*form, 53 + 304 + 12, 100 + 6 + 12);
  const TColor none = ui->pixel(*form, 53 + 304 + 12, 138 + 6 + 12);
  EXPECT_GT(GetRValue(star), 0xE0);
  EXPECT_GT(GetGValue(star), 0xE0);
  EXPECT_LT(GetBValue(star), 0x40);
  EXPECT_NE(none, star);
  // The black title is drawn over the background.
  EXPECT_TRUE(HasDarkPixel(*ui, *form, form->Title->BoundsRect()));
  // The bar's place shows the background until a launch.
  EXPECT_FALSE(form->StartProgress->Visible());
  ui->click(*form->CButton1);  // nothing installed: the dialog, then the bar
  EXPECT_TRUE(form->StartProgress->Visible());
}

TEST_F(Layout, AScaledDisplayScalesTheWindowBeforeItMeasuresItself) {
  ui->setScale(1.5);
  Open();
  EXPECT_EQ(form->ClientWidth(), 1191);
  EXPECT_EQ(maxs, form->bg->Width());
  EXPECT_EQ(maxs, 1191);
  EXPECT_EQ(indicheight, 36);
  EXPECT_EQ(mins, 2 * form->Title->Left() + form->Title->Width());
  EXPECT_EQ(form->Title->Left(), 48);
  EXPECT_EQ(form->ValdorOption_1->Top(), 150);
  // The rows keep their parts in order: the caption after the picture.
  EXPECT_GE(form->Label3->Left(), form->Image2->Left() + form->Image2->Width());
}

}  // namespace
