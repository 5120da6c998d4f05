// CProgress painting, read back from the window's back buffer after a paint:
// the fill, the fade band and its wrap, the solid block, the caption with its
// percentage, truncation and fitting, the corners with and without
// transparency, a custom resolution, the presets and the accent colour, and
// settings that would divide by zero or run away.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/Vark.Graphics.h"
#include "tests/common/ImageCheck.h"
#include "tests/controls/ProgressTestSupport.h"

namespace {

using vark::test::kAccent;
using vark::test::kBarBack;
using vark::test::kFormColor;
using vark::test::ProgressTest;

class ProgressPaint : public ProgressTest {
 protected:
  // A bar in plain colours (no accent, no border sync, no corners, copied
  // whole) at the given position.
  CProgress& PlainBar(int width, int height, int32_t position, TColor fore = clRed,
                      TColor back = clWhite) {
    CProgress& bar = Bar(width, height);
    bar.SetAccentColor(acNone);
    bar.Colors().SetForeground(fore);
    bar.Colors().SetBackground(back);
    bar.Colors().SetFormSyncedColor(false);
    bar.ProgressbarOptions().SetBorderRadius(0);
    bar.SetTrueTransparency(false);
    bar.SetValue(position, true);
    ui->surface(*form);
    return bar;
  }

  // Every row of column x has the same colour; returns it.
  TColor Column(const CProgress& bar, int x) {
    const TColor top = At(bar, x, 0);
    for (int y = 1; y < bar.Height(); ++y)
      EXPECT_EQ(At(bar, x, y), top) << x << "," << y;
    return top;
  }

  // What a caption alone looks like on a white bar of this size: the text in
  // Tahoma 8, black, centred on the bar.
  void CaptionPicture(int width, int height, const std::string& text, TBitmap& out) {
    out.SetSize(width, height);
    TCanvas& c = out.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, width, height));
    c.Brush().SetStyle(bsClear);
    c.Font().SetName("Tahoma");
    c.Font().SetSize(8);
    c.Font().SetColor(clBlack);
    c.TextOut(width / 2 - c.TextWidth(text) / 2, height / 2 - c.TextHeight(text) / 2, text);
  }

  // A white bar showing only its caption.
  CProgress& CaptionBar(int width, int height, int32_t min, int32_t max, int32_t position) {
    CProgress& bar = PlainBar(width, height, 0, clWhite, clWhite);
    bar.AnimateProgress().ChengeALlowANi(false);
    bar.SetMax(max);
    bar.SetMin(min);
    bar.SetValue(position, true);
    bar.TextOverlay().SetEnableSText(true);
    return bar;
  }

  void ExpectPicture(const CProgress& bar, const TBitmap& expected, const std::string& name) {
    TBitmap actual;
    Shot(bar, actual);
    const std::string diff = vark::testing::CompareImages(expected, actual, name);
    EXPECT_TRUE(diff.empty()) << diff;
  }
};

// The launcher's bar at 50 %: the fill covers columns 0 to 124, and the band
// centred on column M lights only those columns, brightest in the middle.
TEST_F(ProgressPaint, LauncherBarAtHalfLightsTheBandInsideTheFillOnly) {
  CProgress& bar = LauncherBar();
  bar.SetValue(50, true);
  ui->surface(*form);

  PaintAt(bar, 60);
  EXPECT_EQ(Column(bar, 60), RGB(100, 220, 255));  // the accent + 100, blue clamped
  EXPECT_EQ(Column(bar, 10), RGB(50, 170, 255));   // 50 away: + 50
  EXPECT_EQ(Column(bar, 110), RGB(50, 170, 255));
  EXPECT_EQ(Column(bar, 0), RGB(40, 160, 255));
  EXPECT_EQ(Column(bar, 124), RGB(36, 156, 251));  // the last filled column
  for (int x = 125; x < 250; ++x)
    ASSERT_EQ(Column(bar, x), kBarBack) << x;
  EXPECT_EQ(bar.AnimateProgress().currentp, 62);

  PaintAt(bar, 0);
  EXPECT_EQ(Column(bar, 0), RGB(100, 220, 255));
  EXPECT_EQ(Column(bar, 50), RGB(50, 170, 255));
  EXPECT_EQ(Column(bar, 100), kAccent);  // 100 away: the foreground itself
  for (int x = 101; x < 125; ++x)
    ASSERT_EQ(Column(bar, x), kAccent) << x;
  for (int x = 125; x < 250; ++x)
    ASSERT_EQ(Column(bar, x), kBarBack) << x;
}

TEST_F(ProgressPaint, BandRestartsAtMinusFOnceItsTrailingEdgePassesTheFill) {
  CProgress& bar = LauncherBar();
  bar.SetValue(50, true);  // filled width 125
  struct Case {
    int32_t before, after;
  };
  for (const Case& c : {Case{0, 2}, Case{223, 225}, Case{224, -100}, Case{-100, -98}}) {
    PaintAt(bar, c.before);
    EXPECT_EQ(bar.AnimateProgress().currentp, c.after) << c.before;
  }
  // At -100 only the band's last column reaches the bar: the foreground.
  PaintAt(bar, -100);
  EXPECT_EQ(Column(bar, 0), kAccent);
}

TEST_F(ProgressPaint, FadeShadesFallOffLinearlyWithDistance) {
  struct Case {
    int32_t fade, centre, column, shade;
  };
  const Case cases[] = {{10, 20, 20, 10}, {10, 20, 25, 5},  {10, 20, 15, 5},
                        {10, 20, 30, 0},  {10, 20, 31, -1},  // past the band: the plain fill
                        {3, 20, 21, 2},   {3, 20, 23, 0}};
  CProgress& bar = PlainBar(250, 9, 100, RGB(100, 100, 100), clWhite);
  for (const Case& c : cases) {
    bar.AnimateProgress().SetFadeSizing(c.fade);
    PaintAt(bar, c.centre);
    const uint8_t v = static_cast<uint8_t>(100 + std::max(c.shade, 0));
    EXPECT_EQ(Column(bar, c.column), RGB(v, v, v))
        << "F " << c.fade << " M " << c.centre << " column " << c.column;
  }
}

TEST_F(ProgressPaint, SolidBlockSweepsTheWholeBarAndErasesTheFill) {
  CProgress& bar = PlainBar(250, 9, 30);
  bar.AnimateProgress().SetAnimationSelector(atySolid);
  bar.AnimateProgress().SetFadeSizing(20);
  PaintAt(bar, 100);
  for (int x = 0; x < 250; ++x) {
    ASSERT_EQ(Column(bar, x), x >= 80 && x < 120 ? clRed : clWhite) << x;
  }
  EXPECT_EQ(bar.AnimateProgress().currentp, 102);
  // It restarts at -F once its left edge has passed the bar's width.
  PaintAt(bar, 268);
  EXPECT_EQ(bar.AnimateProgress().currentp, 270);
  PaintAt(bar, 269);
  EXPECT_EQ(bar.AnimateProgress().currentp, -20);
}

TEST_F(ProgressPaint, WithoutTheHighlightThePaintShowsThePlainFill) {
  CProgress& bar = PlainBar(250, 9, 30);
  bar.AnimateProgress().ChengeALlowANi(false);
  PaintAt(bar, 40);
  for (int x = 0; x < 250; ++x)
    ASSERT_EQ(Column(bar, x), x < 75 ? clRed : clWhite) << x;
  EXPECT_EQ(bar.AnimateProgress().currentp, 40);

  // atyNone draws no highlight either and leaves the column alone.
  bar.AnimateProgress().ChengeALlowANi(true);
  bar.AnimateProgress().SetAnimationSelector(atyNone);
  PaintAt(bar, 40);
  EXPECT_EQ(Column(bar, 40), clRed);
  EXPECT_EQ(bar.AnimateProgress().currentp, 40);
}

// The number is Position - Min, not scaled to the range.
TEST_F(ProgressPaint, CaptionShowsThePositionAboveMinCentredOnTheBar) {
  struct Case {
    int32_t min, max, position;
    const char* text;
  };
  const Case cases[] = {
      {0, 100, 42, "Loading 42%"}, {0, 200, 100, "Loading 100%"}, {-50, 50, 0, "Loading 50%"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CProgress& bar = CaptionBar(250, 20, c.min, c.max, c.position);
    bar.Paint();
    TBitmap expected;
    CaptionPicture(250, 20, c.text, expected);
    ExpectPicture(bar, expected, "progress-caption");
    bar.Free();
  }
}

TEST_F(ProgressPaint, CaptionWithoutPercentOrOverTheFill) {
  CProgress& bar = CaptionBar(250, 20, 0, 100, 42);
  bar.TextOverlay().SetInclPerc(false);
  bar.Paint();
  TBitmap expected;
  CaptionPicture(250, 20, "Loading", expected);
  ExpectPicture(bar, expected, "progress-caption-plain");

  // Over a filled bar the caption lies on top of the fill, in its own colour.
  bar.Colors().SetForeground(clBlue);
  bar.TextOverlay().SetFnColor(clYellow);
  bar.Paint();
  EXPECT_EQ(At(bar, 1, 1), clBlue);
  int ink = 0, yellow = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 250; ++x) {
      ink += At(bar, x, y) != clBlue ? 1 : 0;
      yellow += At(bar, x, y) == clYellow ? 1 : 0;
    }
  EXPECT_GT(ink, 30);
  EXPECT_GT(yellow, 0);
}

// Characters go from the end until the rest with the percentage measures no
// more than the limit - 10 (with the control's own canvas font), then "..."
// follows.
TEST_F(ProgressPaint, LongCaptionsAreCutToTheWidthLimit) {
  struct Case {
    std::string caption;
    int32_t limit;
    bool percent;
  };
  const Case cases[] = {{"Loading the eighth edition of the game", 120, true},
                        {"Loading the eighth edition of the game", 120, false},
                        {"Loading the eighth edition of the game", -2, true},  // the bar's width
                        {"Chargement de l'édition numéro huit…", 90, true},
                        {"Loading", 5, true}};  // nothing fits: all gone
  CProgress& bar = CaptionBar(200, 20, 0, 100, 42);
  TCanvas& measure = bar.Canvas();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption + " in " + std::to_string(c.limit));
    bar.TextOverlay().SetInclPerc(c.percent);
    bar.TextOverlay().SetWLimit(c.limit);
    const std::string cut = bar.TruncToLimit(c.caption);
    const std::string suffix = c.percent ? " 42%" : "";
    const int limit = c.limit == -2 ? bar.Width() : c.limit;
    ASSERT_GE(cut.size(), 3u);
    ASSERT_EQ(cut.substr(cut.size() - 3), "...");
    const std::string kept = cut.substr(0, cut.size() - 3);
    EXPECT_EQ(c.caption.compare(0, kept.size(), kept), 0);
    if (!kept.empty()) {
      EXPECT_LE(measure.TextWidth(kept + suffix), limit - 10);
    }
    // One more character would not have fitted.
    size_t next = kept.size() + 1;
    while (next < c.caption.size() && (static_cast<unsigned char>(c.caption[next]) & 0xC0) == 0x80)
      ++next;
    EXPECT_GT(measure.TextWidth(c.caption.substr(0, next) + suffix), limit - 10);
  }

  // A caption that fits comes back unchanged.
  bar.TextOverlay().SetWLimit(200);
  EXPECT_EQ(bar.TruncToLimit("Loading"), "Loading");
  EXPECT_EQ(bar.TruncToLimit(""), "");

  // The painted caption is the cut one with the percentage.
  bar.TextOverlay().SetInclPerc(true);
  bar.TextOverlay().SetWLimit(120);
  bar.TextOverlay().SetSText("Loading the eighth edition of the game");
  bar.Paint();
  TBitmap expected;
  CaptionPicture(200, 20, bar.TruncToLimit(bar.TextOverlay().CaptionText()) + " 42%", expected);
  ExpectPicture(bar, expected, "progress-caption-cut");

  // Any other limit (0, -1) leaves the caption whole, however long.
  bar.TextOverlay().SetWLimit(-1);
  bar.Paint();
  CaptionPicture(200, 20, "Loading the eighth edition of the game 42%", expected);
  ExpectPicture(bar, expected, "progress-caption-whole");
}

// FitToText measures with the control's own canvas font, not the caption's.
TEST_F(ProgressPaint, FitToTextSizesTheBarToItsCaption) {
  CProgress& bar = CaptionBar(250, 20, 0, 100, 42);
  bar.TextOverlay().SetFnSize(20);
  bar.TextOverlay().SetFtText(true);
  TCanvas plain;
  EXPECT_EQ(bar.Width(), plain.TextWidth("Loading 42%") + 25);
  bar.SetWidth(300);
  bar.SetValue(7, true);
  EXPECT_EQ(bar.Width(), plain.TextWidth("Loading 7%") + 25);
}

// BorderRadius 16: the nested outlines paint the corners in the border colour;
// with TrueTransparency only the rounded shape is copied and the form shows
// in the corners.
TEST_F(ProgressPaint, CornersShowTheBorderColourOrTheParent) {
  CProgress& bar = PlainBar(120, 30, 100, clGreen, clWhite);
  bar.AnimateProgress().ChengeALlowANi(false);
  bar.ProgressbarOptions().SetBorderRadius(16);
  bar.ProgressbarOptions().SetBorderColor(clRed);
  bar.Paint();
  for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 29}, {119, 29}, {1, 1}, {118, 28}}) {
    EXPECT_EQ(At(bar, x, y), clRed) << x << "," << y;
  }
  EXPECT_EQ(At(bar, 60, 0), clRed);  // the outlines' top edge
  EXPECT_EQ(At(bar, 0, 15), clRed);  // and left edge
  EXPECT_EQ(At(bar, 119, 15), clGreen);
  EXPECT_EQ(At(bar, 60, 29), clGreen);
  EXPECT_EQ(At(bar, 60, 15), clGreen);

  bar.SetTrueTransparency(true);
  ui->surface(*form);  // the parent repaints behind the bar
  bar.Paint();
  for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 29}, {119, 29}, {1, 1}, {118, 28}}) {
    EXPECT_EQ(At(bar, x, y), kFormColor) << x << "," << y;
  }
  EXPECT_EQ(At(bar, 60, 15), clGreen);
  EXPECT_EQ(At(bar, 3, 15), clGreen);

  // Without rounding the whole bar is copied, edges included.
  bar.ProgressbarOptions().SetBorderRadius(0);
  bar.Paint();
  for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 29}, {119, 29}}) {
    EXPECT_EQ(At(bar, x, y), clGreen) << x << "," << y;
  }
}

// With TrueTransparency the window gets exactly what the rounded-shape copy
// takes from the finished bar: compared with that copy made by hand onto the
// form's colour, for several sizes and corners (the bar works out the shape
// once per size, so resizing must be seen too).
TEST_F(ProgressPaint, TransparentCopyTakesTheRoundedShapeOfTheFinishedBar) {
  struct Case {
    int w, h, radius;
  };
  const Case cases[] = {{120, 30, 16}, {250, 9, 0},   {250, 9, 16}, {60, 60, 30},
                        {40, 20, 100}, {121, 31, 16}, {2, 2, 4}};
  CProgress& bar = PlainBar(120, 30, 70, clGreen, clWhite);
  bar.AnimateProgress().ChengeALlowANi(false);
  bar.ProgressbarOptions().SetBorderColor(clRed);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " corners " << c.radius);
    bar.SetBounds(10, 10, c.w, c.h);
    bar.ProgressbarOptions().SetBorderRadius(c.radius);
    bar.SetTrueTransparency(false);
    bar.Paint();
    TBitmap finished;
    Shot(bar, finished);

    TBitmap expected(c.w, c.h);
    expected.Canvas().Brush().SetColor(kFormColor);
    expected.Canvas().FillRect(Rect(0, 0, c.w, c.h));
    const TRect whole = Rect(0, 0, c.w, c.h);
    CopyRoundRect(finished.Canvas(), RoundRect(whole, c.radius, c.radius), expected.Canvas(), whole,
                  1);

    bar.SetTrueTransparency(true);
    ui->surface(*form);  // the form repaints behind the bar (and the bar over it)
    bar.Paint();
    ExpectPicture(bar, expected, "progress-shape");
  }
}

// A bar that sticks out of its parent shows its own left part there, not the
// whole bar squeezed into what remains visible.
TEST_F(ProgressPaint, ABarCutOffByItsParentKeepsItsPictureInPlace) {
  for (bool transparent : {true, false}) {
    SCOPED_TRACE(transparent ? "transparent" : "opaque");
    CProgress& bar = PlainBar(250, 20, 40, clGreen, clWhite);
    bar.AnimateProgress().ChengeALlowANi(false);
    bar.ProgressbarOptions().SetBorderRadius(8);
    bar.SetTrueTransparency(transparent);
    bar.Invalidate();
    ui->surface(*form);
    TBitmap whole;
    Shot(bar, whole);

    bar.SetLeft(200);    // the form is 320 wide: 120 columns remain
    ui->surface(*form);  // painted by the window
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 120; ++x)
        ASSERT_EQ(At(bar, x, y), whole.ColorAt(x, y)) << x << "," << y;
    bar.Paint();  // and at once
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 120; ++x)
        ASSERT_EQ(At(bar, x, y), whole.ColorAt(x, y)) << x << "," << y;
    bar.Free();
  }
}

TEST_F(ProgressPaint, FormSyncedBorderTakesTheFormsColour) {
  CProgress& bar = PlainBar(120, 30, 100, clGreen, clWhite);
  bar.ProgressbarOptions().SetBorderRadius(16);
  bar.Colors().SetFormSyncedColor(true);
  bar.Paint();
  EXPECT_EQ(bar.ProgressbarOptions().BorderColor(), kFormColor);
  EXPECT_EQ(At(bar, 0, 0), kFormColor);
  form->SetColor(clAqua);
  bar.Paint();
  EXPECT_EQ(bar.ProgressbarOptions().BorderColor(), clAqua);
}

// Composed at 50 × 5 and scaled to 250 × 9: every work column becomes five.
TEST_F(ProgressPaint, CustomResolutionIsScaledToTheBar) {
  CProgress& bar = PlainBar(250, 9, 50, RGB(100, 100, 100), clWhite);
  bar.AnimateProgress().SetCustomRezolution(true);
  bar.AnimateProgress().SetCustomRezX(50);
  bar.AnimateProgress().SetCustomRezY(5);
  bar.AnimateProgress().SetFadeSizing(10);
  PaintAt(bar, 12);
  for (int x = 0; x < 250; ++x) {
    const int w = x / 5;  // the work column
    const int shade = w <= 24 && w >= 2 && w <= 22 ? 10 - std::abs(w - 12) : 0;
    const uint8_t v = static_cast<uint8_t>(100 + shade);
    ASSERT_EQ(Column(bar, x), w < 25 ? RGB(v, v, v) : clWhite) << x;
  }
  // The band's wrap is measured on the work bitmap: 25 columns filled.
  PaintAt(bar, 33);
  EXPECT_EQ(bar.AnimateProgress().currentp, 35);
  PaintAt(bar, 34);
  EXPECT_EQ(bar.AnimateProgress().currentp, -10);
}

// Each preset writes its colours again on every paint, over the accent colour
// and over anything set in between.
TEST_F(ProgressPaint, PresetsWinOverTheAccentColourOnEveryPaint) {
  struct Case {
    CProgressPreset preset;
    TColor fore, back;
    CProgressAnimTypes animation;
    int32_t fade, inc, radius;
    bool glides;
  };
  const Case cases[] = {
      {cprStandard, 0x0000D500, clWhite, atyFade, 100, 2, 16, true},
      {cprError, 0x000000FF, clWhite, atyFade, 100, 2, 16, true},
      {cprBlue, 0x00BE5210, clWhite, atyFade, 100, 2, 16, true},
      {cprMarble, 0x0000D500, clWhite, atySolid, 100, 5, 16, true},
      {cprModern, 0x00BE5210, 0x003F3F3F, atyFade, 100, 2, 16, true},
      {cprBeacon, kAccent, clWhite, atyFade, 200, 2, 0, false},  // keeps the accent
      {cprWindows, 0x0000D500, clWhite, atyFade, 100, 2, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.preset));
    CProgress& bar = Bar(250, 20);
    bar.SetTrueTransparency(false);
    bar.SetValue(50, true);
    bar.AnimateProgress().SetCustomRezolution(true);
    bar.SetPresets(c.preset);
    EXPECT_FALSE(bar.AnimateProgress().CustomRezolution());
    for (int round = 0; round < 2; ++round) {
      bar.Colors().SetForeground(clFuchsia);
      bar.Colors().SetBackground(clFuchsia);
      PaintAt(bar, -1000);  // the band (or block) far off the bar
      EXPECT_EQ(bar.Colors().Foreground(), c.fore);
      EXPECT_EQ(bar.Colors().Background(), c.back);
      EXPECT_EQ(bar.AnimateProgress().AnimationSelector(), c.animation);
      EXPECT_EQ(bar.AnimateProgress().FadeSizing(), c.fade);
      EXPECT_EQ(bar.AnimateProgress().AnimateIncSpeed(), c.inc);
      EXPECT_EQ(bar.ProgressbarOptions().BorderRadius(), c.radius);
      EXPECT_EQ(bar.Animations().Animations(), c.glides);
      // The middle of the bar: filled, but the solid block erases the fill;
      // the beacon is always full.
      const bool filled = c.animation == atyFade;
      EXPECT_EQ(At(bar, 60, 10), filled ? c.fore : c.back);
      EXPECT_EQ(At(bar, 200, 10), c.preset == cprBeacon ? c.fore : c.back);
    }
    bar.Free();
  }
}

TEST_F(ProgressPaint, FillFollowsTheDesktopAccentAfterTheServiceRereadsIt) {
  CProgress& bar = PlainBar(250, 9, 100);
  bar.AnimateProgress().ChengeALlowANi(false);
  bar.SetAccentColor(acAccentAdjust);
  EXPECT_EQ(Column(bar, 100), kAccent);
  settings->keys["Software\\Microsoft\\Windows\\DWM\\"]["AccentColor"] =
      static_cast<int32_t>(0xFF202020u);
  accentClock += 31.0 / 86400.0;
  bar.Paint();
  EXPECT_EQ(Column(bar, 100), 0x006E6E6Eu);  // the dark accent raised into the band
  bar.SetAccentColor(acAccent);
  EXPECT_EQ(Column(bar, 100), 0x00202020u);
  bar.SetAccentColor(acNone);
  bar.Colors().SetForeground(clRed);
  bar.Paint();
  EXPECT_EQ(Column(bar, 100), clRed);
}

// An empty range or a band of width 0 would divide by zero: that paint shows
// no fill (empty range) and no band, keeps the band where it is, and goes on
// to draw the caption and copy the bar.
TEST_F(ProgressPaint, EmptyRangeOrZeroBandSkipsOnlyWhatWouldDivideByZero) {
  CProgress& bar = PlainBar(250, 20, 50);
  bar.SetMax(50);
  bar.SetMin(50);
  bar.TextOverlay().SetEnableSText(true);
  bar.TextOverlay().SetFnColor(clBlue);
  PaintAt(bar, 10);
  EXPECT_EQ(bar.AnimateProgress().currentp, 10);
  int ink = 0, red = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 250; ++x) {
      ink += At(bar, x, y) != clWhite ? 1 : 0;
      red += At(bar, x, y) == clRed ? 1 : 0;
    }
  EXPECT_GT(ink, 30);  // "Loading 0%" is there
  EXPECT_EQ(red, 0);   // no fill

  bar.SetMax(100);
  bar.SetMin(0);
  bar.TextOverlay().SetEnableSText(false);
  bar.AnimateProgress().SetFadeSizing(0);
  PaintAt(bar, 10);
  EXPECT_EQ(bar.AnimateProgress().currentp, 10);
  for (int x = 0; x < 250; ++x)
    ASSERT_EQ(Column(bar, x), x < 125 ? clRed : clWhite) << x;
}

// Settings no one should choose still paint, quickly, without overflowing.
TEST_F(ProgressPaint, RunawaySettingsNeitherCrashNorHang) {
  struct Case {
    const char* what;
    void (*apply)(CProgress&);
  };
  const Case cases[] = {
      {"custom size 0", [](CProgress& b) { b.AnimateProgress().SetCustomRezolution(true); }},
      {"negative custom size",
       [](CProgress& b) {
         b.AnimateProgress().SetCustomRezolution(true);
         b.AnimateProgress().SetCustomRezX(-5);
         b.AnimateProgress().SetCustomRezY(-5);
       }},
      {"gigantic custom size",
       [](CProgress& b) {
         b.AnimateProgress().SetCustomRezolution(true);
         b.AnimateProgress().SetCustomRezX(INT_MAX);
         b.AnimateProgress().SetCustomRezY(INT_MAX);
       }},
      {"extreme range",
       [](CProgress& b) {
         b.SetMin(INT_MIN);
         b.SetMax(INT_MAX);
         b.SetValue(INT_MAX, true);
       }},
      {"position far past the range", [](CProgress& b) { b.SetValue(INT_MAX, true); }},
      {"position far below the range", [](CProgress& b) { b.SetValue(INT_MIN, true); }},
      {"inverted range",
       [](CProgress& b) {
         b.SetMin(100);
         b.SetMax(0);
       }},
      {"huge band and speed",
       [](CProgress& b) {
         b.AnimateProgress().SetFadeSizing(INT_MAX);
         b.AnimateProgress().SetAnimateIncSpeed(INT_MAX);
         b.AnimateProgress().currentp = INT_MAX;
       }},
      {"negative band",
       [](CProgress& b) {
         b.AnimateProgress().SetFadeSizing(INT_MIN);
         b.AnimateProgress().SetAnimateIncSpeed(INT_MIN);
       }},
      {"huge solid block",
       [](CProgress& b) {
         b.AnimateProgress().SetAnimationSelector(atySolid);
         b.AnimateProgress().SetFadeSizing(INT_MAX);
         b.AnimateProgress().currentp = INT_MIN;
       }},
      {"huge corners", [](CProgress& b) { b.ProgressbarOptions().SetBorderRadius(INT_MAX); }},
      {"huge corners, transparent",
       [](CProgress& b) {
         b.ProgressbarOptions().SetBorderRadius(INT_MAX);
         b.SetTrueTransparency(true);
       }},
      {"caption limit of 1",
       [](CProgress& b) {
         b.TextOverlay().SetEnableSText(true);
         b.TextOverlay().SetWLimit(1);
       }},
      {"caption fitted to a zero-size bar",
       [](CProgress& b) {
         b.SetBounds(10, 10, 0, 0);
         b.TextOverlay().SetEnableSText(true);
         b.TextOverlay().SetFtText(true);
       }},
      {"caption in a giant font",
       [](CProgress& b) {
         b.TextOverlay().SetEnableSText(true);
         b.TextOverlay().SetFnSize(INT_MAX);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CProgress& bar = PlainBar(250, 9, 50);
    c.apply(bar);
    for (int i = 0; i < 3; ++i)
      bar.Paint();
    ui->advance(5);
    bar.Free();
  }
}

}  // namespace
