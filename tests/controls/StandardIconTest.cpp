// CStandardIcon: the shapes each icon draws at the sizes the launcher and the
// dialog use, squaring, the repaint rules of SetIcon, transparency and clicks.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "controls/Vark.StandardIcons.h"
#include "platform/graphics/Bitmap.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::UiTest;

class StandardIcon : public UiTest {
 protected:
  // A shown white form with a recorded icon of the given size on it.
  CStandardIcon& ShownIcon(int width, int height, VarkIconType kind, bool proportional = true) {
    form = ShownForm(200, 150);
    CStandardIcon& icon = form->Make<CStandardIcon>();
    icon.SetParent(form.get());
    icon.SetBounds(20, 20, width, height);
    icon.Canvas().SetRecorder(&rec);
    icon.SetProport(proportional);
    icon.SetIcon(kind);
    ui->surface(*form);  // let the event loop settle
    rec.Clear();
    icon.SetWid(icon.PenWidth());  // one direct paint
    return icon;
  }

  std::unique_ptr<TForm> form;
  CanvasRecorder rec;
};

// The vertices of each star filled between BeginPath and FillPath, in the
// order they were traced, with the fill colour.
struct TracedStar {
  std::vector<TPoint> trace;
  TColor fill = 0;
  int fillMode = 0;
};

std::vector<TracedStar> TracedStars(const CanvasRecorder& rec) {
  std::vector<TracedStar> stars;
  TracedStar current;
  bool inPath = false;
  for (const CanvasCall& c : rec.calls) {
    if (c.op == "BeginPath") {
      inPath = true;
      current = {};
    } else if (inPath && (c.op == "MoveTo" || c.op == "LineTo")) {
      current.trace.push_back({c.args[0], c.args[1]});
    } else if (c.op == "EndPath") {
      inPath = false;
    } else if (c.op == "SetPolyFillMode") {
      current.fillMode = c.args[0];
    } else if (c.op == "FillPath") {
      current.fill = c.brushColor;
      stars.push_back(current);
    }
  }
  return stars;
}

// The pentagon (top, upper left, lower left, lower right, upper right) traced
// as a star: every second vertex, back to the top.
std::vector<TPoint> StarTrace(const TPent& p) {
  return {p[0], p[2], p[4], p[1], p[3], p[0]};
}

TEST_F(StandardIcon, StarVerticesRimAndWindingFill) {
  struct Case {
    int size;
    TPent outer;
    bool rim;
    TPent inner;
  };
  const Case cases[] = {
      {25,
       {{{12, 1}, {1, 9}, {5, 22}, {19, 22}, {23, 9}}},
       true,
       {{{12, 1}, {2, 8}, {6, 21}, {18, 21}, {22, 8}}}},
      {60,
       {{{30, 4}, {3, 23}, {13, 56}, {47, 56}, {57, 23}}},
       true,
       {{{30, 6}, {5, 24}, {15, 53}, {45, 53}, {55, 24}}}},
      // 12 / 20 = 0: no rim, a single yellow star.
      {12, {{{6, 0}, {2, 3}, {3, 9}, {9, 9}, {10, 3}}}, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    CStandardIcon& icon = ShownIcon(c.size, c.size, ciconStar);
    std::vector<TracedStar> stars = TracedStars(rec);
    ASSERT_EQ(stars.size(), c.rim ? 2u : 1u);
    EXPECT_EQ(stars[0].trace, StarTrace(c.outer));
    EXPECT_EQ(stars[0].fillMode, WINDING);
    EXPECT_EQ(stars[0].fill, c.rim ? 0x0001BAF8u : 0x0000FFFFu);
    if (c.rim) {
      EXPECT_EQ(stars[1].trace, StarTrace(c.inner));
      EXPECT_EQ(stars[1].fillMode, WINDING);
      EXPECT_EQ(stars[1].fill, 0x0000FFFFu);
    }
    EXPECT_TRUE(rec.Of("Ellipse").empty());
    EXPECT_TRUE(rec.Of("TextOut").empty());
    // The winding fill covers the inner pentagon; the corners stay the form's.
    int cx = 20 + c.size / 2, cy = 20 + c.size * 11 / 20;
    EXPECT_EQ(ui->pixel(*form, cx, cy), 0x0000FFFFu);
    EXPECT_EQ(ui->pixel(*form, 20, 20 + c.size - 1), clWhite);
    (void)icon;
  }
}

TEST_F(StandardIcon, MakePentAndMakeStarWorkOnAnyCanvas) {
  // A star of side 0 is an empty path: nothing is filled.
  TBitmap bmp(30, 30);
  bmp.Canvas().Brush().SetColor(clWhite);
  bmp.Canvas().FillRect(Rect(0, 0, 30, 30));
  CStandardIcon::MakeStar(bmp.Canvas(), 15, 2, 0, clRed, 0, clBlue);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(bmp.Canvas().Pixel(x, y), clWhite) << x << "," << y;
  // Far out of range, the pentagon's arithmetic saturates instead of overflowing.
  TPent huge = CStandardIcon::MakePent(INT_MIN + 5, INT_MAX - 5, INT_MAX);
  EXPECT_EQ(huge[1].X, INT_MIN);
  EXPECT_EQ(huge[2].Y, INT_MAX);
  EXPECT_EQ(huge[3].X, INT_MIN + 5 + INT_MAX / 2);
}

TEST_F(StandardIcon, CircleIconsOutlineFillAndMark) {
  struct Line {
    int x1, y1, x2, y2;
  };
  struct Case {
    const char* name;
    VarkIconType kind;
    int size;
    TColor pen, brush;
    int penWidth;
    TRect ellipse;
    std::vector<TPoint> polyline;  // MoveTo then LineTo ...
  };
  const Case cases[] = {
      {"check mark 25",
       ciconCheckmark,
       25,
       0x0016F900,
       0x0000E900,
       2,
       Rect(1, 1, 24, 24),
       {{5, 13}, {10, 17}, {18, 6}}},
      {"error cross 60",
       ciconError,
       60,
       0x00030085,
       0x00240EFF,
       6,
       Rect(3, 3, 57, 57),
       {{20, 20}, {40, 40}, {40, 20}, {20, 40}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShownIcon(c.size, c.size, c.kind);
    auto ellipses = rec.Of("Ellipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].args,
              (std::vector<int>{c.ellipse.Left, c.ellipse.Top, c.ellipse.Right, c.ellipse.Bottom}));
    EXPECT_EQ(ellipses[0].penWidth, c.penWidth);
    EXPECT_EQ(ellipses[0].penColor, c.pen);
    EXPECT_EQ(ellipses[0].brushColor, c.brush);
    EXPECT_EQ(ellipses[0].brushStyle, bsSolid);
    std::vector<TPoint> marks;
    for (const CanvasCall& call : rec.calls) {
      if (call.op != "MoveTo" && call.op != "LineTo") continue;
      marks.push_back({call.args[0], call.args[1]});
      EXPECT_EQ(call.penColor, clWhite);
      EXPECT_EQ(call.penWidth, c.penWidth);
    }
    if (c.kind == ciconError) {
      // Two separate strokes: MoveTo, LineTo, MoveTo, LineTo.
      std::vector<std::string> ops;
      for (const CanvasCall& call : rec.calls)
        if (call.op == "MoveTo" || call.op == "LineTo") ops.push_back(call.op);
      EXPECT_EQ(ops, (std::vector<std::string>{"MoveTo", "LineTo", "MoveTo", "LineTo"}));
    }
    EXPECT_EQ(marks, c.polyline);
    // Fill inside, the form outside the circle.
    EXPECT_EQ(ui->pixel(*form, 20 + c.size / 2, 20 + c.size / 4), c.brush);
    EXPECT_EQ(ui->pixel(*form, 20, 20), clWhite);
  }
}

TEST_F(StandardIcon, GlyphIconsUseBoldSegoeUiScaledToTheShorterSide) {
  struct Case {
    const char* name;
    VarkIconType kind;
    int width, height;
    bool proportional;
    const char* glyph;
    TColor glyphColor;
    int points;
    int penWidth;
    TRect ellipse;
    TColor outline, fill;
  };
  const Case cases[] = {
      {"launcher's question mark", ciconQuestion, 12, 12, true, "?", clWhite, 6, 1,
       Rect(0, 0, 12, 12), 0x00FF1100, 0x00FF3E13},
      {"wide question mark", ciconQuestion, 60, 30, false, "?", clWhite, 16, 6, Rect(3, 3, 57, 27),
       0x00FF1100, 0x00FF3E13},
      {"information", ciconInformation, 40, 40, true, "i", clWhite, 22, 4, Rect(2, 2, 38, 38),
       0x00FF1100, 0x00FF3E13},
      {"warning", ciconWarning, 40, 40, true, "!", clBlack, 22, 4, {}, clBlack, 0x0000F6FF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStandardIcon& icon = ShownIcon(c.width, c.height, c.kind, c.proportional);
    EXPECT_EQ(icon.Width(), c.width);
    EXPECT_EQ(icon.Height(), c.height);
    auto texts = rec.Of("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    const CanvasCall& t = texts[0];
    EXPECT_EQ(t.text, c.glyph);
    EXPECT_EQ(t.fontName, "Segoe UI");
    EXPECT_EQ(t.fontSize, c.points);
    EXPECT_TRUE(t.fontStyle.Contains(fsBold));
    EXPECT_EQ(t.fontColor, c.glyphColor);
    EXPECT_EQ(t.brushStyle, bsClear);  // no box behind the glyph
    // Centred across; "!" sits lower, under the triangle's wider part.
    TCanvas measure;
    TFont font;
    font.SetName("Segoe UI");
    font.SetSize(c.points);
    font.SetStyle({fsBold});
    measure.SetFont(font);
    EXPECT_EQ(t.args[0], c.width / 2 - measure.TextWidth(c.glyph) / 2);
    int top = c.kind == ciconWarning ? static_cast<int>(c.height / 1.7) : c.height / 2;
    EXPECT_EQ(t.args[1], top - measure.TextHeight(c.glyph) / 2);
    if (c.kind == ciconWarning) {
      auto polys = rec.Of("Polygon");
      ASSERT_EQ(polys.size(), 1u);
      EXPECT_EQ(polys[0].args, (std::vector<int>{20, 2, 2, 38, 38, 38}));
      EXPECT_EQ(polys[0].penColor, c.outline);
      EXPECT_EQ(polys[0].brushColor, c.fill);
      EXPECT_EQ(polys[0].penWidth, c.penWidth);
    } else {
      auto ellipses = rec.Of("Ellipse");
      ASSERT_EQ(ellipses.size(), 1u);
      EXPECT_EQ(ellipses[0].args, (std::vector<int>{c.ellipse.Left, c.ellipse.Top, c.ellipse.Right,
                                                    c.ellipse.Bottom}));
      EXPECT_EQ(ellipses[0].penWidth, c.penWidth);
      EXPECT_EQ(ellipses[0].penColor, c.outline);
      EXPECT_EQ(ellipses[0].brushColor, c.fill);
    }
    // A second paint fills the circle again although the glyph left the brush clear.
    rec.Clear();
    icon.SetWid(icon.PenWidth());
    auto shapes = rec.Of(c.kind == ciconWarning ? "Polygon" : "Ellipse");
    ASSERT_FALSE(shapes.empty());
    EXPECT_EQ(shapes[0].brushStyle, bsSolid);
  }
}

TEST_F(StandardIcon, ProportionalSquaresOnPaintEvenWhileHidden) {
  struct Case {
    const char* name;
    int width, height;
    bool visible;
    int expectWidth, expectHeight;
  };
  const Case cases[] = {
      {"tall", 40, 60, true, 40, 40},
      {"wide", 60, 30, true, 30, 30},
      {"tall and hidden", 40, 60, false, 40, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form = ShownForm();
    CStandardIcon& icon = form->Make<CStandardIcon>();
    icon.SetParent(form.get());
    icon.SetProport(false);
    icon.SetVisible(c.visible);
    icon.SetBounds(10, 10, c.width, c.height);
    EXPECT_EQ(icon.Height(), c.height);  // nothing squares it before a paint
    icon.Canvas().SetRecorder(&rec);
    rec.Clear();
    icon.SetWid(10);                   // a setter paints at once
    EXPECT_EQ(icon.Width(), c.width);  // Proportional is off: kept
    icon.SetProport(true);
    EXPECT_EQ(icon.Width(), c.expectWidth);
    EXPECT_EQ(icon.Height(), c.expectHeight);
    if (!c.visible) {
      EXPECT_TRUE(rec.calls.empty());  // a hidden icon draws nothing
    } else {
      EXPECT_EQ(rec.Of("Ellipse").size(), 2u);
    }
  }
  // Without a parent the setters still square the control and draw nowhere.
  auto loose = std::make_unique<CStandardIcon>(nullptr);
  loose->SetBounds(0, 0, 50, 20);
  loose->SetIcon(ciconStar);
  EXPECT_EQ(loose->Width(), 20);
  EXPECT_EQ(loose->Height(), 20);
}

TEST_F(StandardIcon, PenWidthExtremesDrawDegenerateShapesWithoutFailing) {
  // A negative width is ignored by the pen, which keeps the width of the last
  // paint, and the half-width follows it.
  CStandardIcon& icon = ShownIcon(60, 60, ciconCheckmark);
  rec.Clear();
  icon.SetWid(-5);
  auto ellipses = rec.Of("Ellipse");
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].penWidth, 6);
  EXPECT_EQ(ellipses[0].args, (std::vector<int>{3, 3, 57, 57}));
  EXPECT_EQ(rec.Of("LineTo")[0].penWidth, 6);
  // A runaway percentage neither overflows nor hangs the paint.
  for (int percent : {INT_MAX, INT_MIN, 1000000}) {
    SCOPED_TRACE(percent);
    rec.Clear();
    icon.SetWid(percent);
    EXPECT_EQ(rec.Of("Ellipse").size(), 1u);
  }
  // A control of no size draws empty shapes.
  icon.SetWid(10);
  icon.SetBounds(20, 20, 0, 0);
  rec.Clear();
  icon.SetIcon(ciconQuestion);
  auto e = rec.Of("Ellipse");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].args, (std::vector<int>{0, 0, 0, 0}));
  // A value past the last icon, as a stored number might give, draws nothing.
  icon.SetBounds(20, 20, 60, 60);
  rec.Clear();
  icon.SetIcon(static_cast<VarkIconType>(9));
  EXPECT_TRUE(rec.Of("Ellipse").empty());
  EXPECT_TRUE(rec.Of("TextOut").empty());
}

TEST_F(StandardIcon, SetIconRepaintsWhatLiesBeneathOnlyWhenTheNewIconMayNotCoverTheOld) {
  struct Case {
    VarkIconType from, to;
    bool parentRepaints;
  };
  const Case cases[] = {
      {ciconStar, ciconNone, true},
      {ciconError, ciconCheckmark, false},
      {ciconQuestion, ciconInformation, false},
      {ciconCheckmark, ciconWarning, true},
      {ciconWarning, ciconStar, true},
      {ciconNone, ciconQuestion, true},
      {ciconStar, ciconStar, false},
      {ciconNone, ciconNone, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
    CStandardIcon& icon = ShownIcon(40, 40, c.from);
    int formPaints = 0;
    form->OnPaint = [&](TObject*) { ++formPaints; };
    rec.Clear();
    icon.SetIcon(c.to);
    ui->surface(*form);
    EXPECT_EQ(formPaints > 0, c.parentRepaints);
    // The icon was drawn at once by the setter, before any repaint.
    if (c.to != ciconNone) {
      EXPECT_FALSE(rec.calls.empty());
    }
  }
}

TEST_F(StandardIcon, StarToNoneLeavesNoTraceAndCircleToCirclePaintsOver) {
  // The form's colour shows through where the icon does not paint.
  CStandardIcon& icon = ShownIcon(40, 40, ciconStar);
  form->SetColor(0x00336699);
  ui->surface(*form);
  const int cx = 40, cy = 42;
  ASSERT_EQ(ui->pixel(*form, cx, cy), 0x0000FFFFu);
  icon.SetIcon(ciconNone);
  for (int y = 20; y < 60; ++y)
    for (int x = 20; x < 60; ++x)
      ASSERT_EQ(ui->pixel(*form, x, y), 0x00336699u) << x << "," << y;

  icon.SetIcon(ciconError);
  EXPECT_EQ(ui->pixel(*form, cx, 20 + 5), 0x00240EFFu);
  icon.SetIcon(ciconCheckmark);
  EXPECT_EQ(ui->pixel(*form, cx, 20 + 5), 0x0000E900u);
  EXPECT_EQ(ui->pixel(*form, 20, 20), 0x00336699u);
}

TEST_F(StandardIcon, OpaqueBackgroundAndClicks) {
  CStandardIcon& icon = ShownIcon(40, 40, ciconNone);
  // With ParentBackground off the icon fills its area with its own colour.
  icon.SetParentBackground(false);
  icon.SetColor(clBtnFace);
  rec.Clear();
  icon.Invalidate();
  auto fills = rec.Of("FillRect");
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].brushColor, ColorToRGB(clBtnFace));
  EXPECT_EQ(ui->pixel(*form, 25, 25), ColorToRGB(clBtnFace));
  // The icon takes its own clicks.
  int clicks = 0;
  icon.OnClick = [&](TObject*) { ++clicks; };
  ui->click(icon);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
