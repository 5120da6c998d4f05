// Text through the canvas: the brush box under TextOut and TextRect, the
// clip, the pen position, and extents counted in characters.
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

struct TextBoard {
  TBitmap bmp{120, 40};
  TextBoard() {
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, 120, 40));
    c.Font().SetName("Segoe UI");
    c.Font().SetHeight(-16);
    c.Font().SetColor(clBlack);
  }
  TCanvas& C() { return bmp.Canvas(); }
  int Count(TColor col, const TRect& r) const {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        n += bmp.ColorAt(x, y) == col ? 1 : 0;
    return n;
  }
};

}  // namespace

TEST(CanvasText, SolidBrushFillsTheTextBoxFirstAndClearBrushDoesNot) {
  TextBoard solid;
  const TSize ext = solid.C().TextExtent("Launch");
  ASSERT_GT(ext.cx, 0);
  ASSERT_GT(ext.cy, 0);
  solid.C().Brush().SetColor(clYellow);
  solid.C().TextOut(10, 5, "Launch");
  const TRect box = Bounds(10, 5, ext.cx, ext.cy);
  // The brush covers exactly the text box: its top row lies above every
  // glyph, and no brush pixel lies outside it.
  EXPECT_EQ(solid.Count(clYellow, Rect(box.Left, box.Top, box.Right, box.Top + 1)), ext.cx);
  EXPECT_EQ(solid.Count(clYellow, Rect(0, 0, 120, 40)), solid.Count(clYellow, box));
  EXPECT_GT(ext.cx * ext.cy - solid.Count(clYellow, box), 20);  // some ink
  EXPECT_EQ(solid.C().PenPos(), Point(10 + ext.cx, 5));

  TextBoard clear;
  clear.C().Brush().SetStyle(bsClear);
  clear.C().TextOut(10, 5, "Launch");
  EXPECT_EQ(clear.Count(clYellow, Rect(0, 0, 120, 40)), 0);
  EXPECT_GT(ext.cx * ext.cy - clear.Count(clWhite, box), 20);
  EXPECT_EQ(clear.Count(clWhite, Rect(0, 0, 120, box.Top)), 120 * box.Top);
}

TEST(CanvasText, SystemColourFontsAndEmptyTexts) {
  // A system colour is resolved before drawing: clWindowText draws as black.
  TextBoard sys, black;
  sys.C().Font().SetColor(clWindowText);
  sys.C().Brush().SetStyle(bsClear);
  sys.C().TextOut(2, 2, "Launch");
  black.C().Brush().SetStyle(bsClear);
  black.C().TextOut(2, 2, "Launch");
  EXPECT_LT(sys.Count(clWhite, Rect(0, 0, 120, 40)), 120 * 40 - 20);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      ASSERT_EQ(sys.bmp.ColorAt(x, y), black.bmp.ColorAt(x, y));

  TextBoard e;
  e.C().Brush().SetColor(clRed);
  e.C().TextOut(5, 5, "");
  EXPECT_EQ(e.Count(clRed, Rect(0, 0, 120, 40)), 0);
  EXPECT_EQ(e.C().TextWidth(""), 0);
  EXPECT_GT(e.C().TextHeight(""), 0);
}

TEST(CanvasText, TextRectFillsAndClipsToItsRectangle) {
  TextBoard b;
  b.C().Brush().SetColor(clYellow);
  b.C().TextRect(Rect(20, 10, 40, 20), 15, 5, "WWWWWWWW");
  EXPECT_EQ(b.Count(clWhite, Rect(0, 0, 120, 10)), 120 * 10);
  EXPECT_EQ(b.Count(clWhite, Rect(0, 20, 120, 40)), 120 * 20);
  EXPECT_EQ(b.Count(clWhite, Rect(0, 10, 20, 20)), 20 * 10);
  EXPECT_EQ(b.Count(clWhite, Rect(40, 10, 120, 20)), 80 * 10);
  EXPECT_LT(b.Count(clYellow, Rect(20, 10, 40, 20)), 200);  // ink inside
}

TEST(CanvasText, ExtentOfTheFirstCharactersCountsCodePoints) {
  TextBoard b;
  const std::string s =
      "A\xC3\xA9\xE2\x82\xAC"
      "B";  // A, e-acute, euro sign, B
  EXPECT_EQ(b.C().GetTextExtentPoint(s, 0).cx, 0);
  EXPECT_EQ(b.C().GetTextExtentPoint(s, -5).cx, 0);
  EXPECT_EQ(b.C().GetTextExtentPoint(s, 1), b.C().TextExtent("A"));
  EXPECT_EQ(b.C().GetTextExtentPoint(s, 2), b.C().TextExtent("A\xC3\xA9"));
  EXPECT_EQ(b.C().GetTextExtentPoint(s, 3), b.C().TextExtent("A\xC3\xA9\xE2\x82\xAC"));
  EXPECT_EQ(b.C().GetTextExtentPoint(s, 4), b.C().TextExtent(s));
  EXPECT_EQ(b.C().GetTextExtentPoint(s, 99), b.C().TextExtent(s));
  EXPECT_GT(b.C().GetTextExtentPoint(s, 0).cy, 0);
}
