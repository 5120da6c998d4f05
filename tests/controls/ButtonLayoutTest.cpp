// CButton content: where the caption, the glyph or picture and the second line
// land for each image layout and alignment, font auto-size, and the mark a
// caption gets when its picture cannot be laid out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "tests/controls/ButtonTestSupport.h"
#include "tests/controls/LauncherButtons.h"

namespace {

using vark::test::ButtonTest;

class ButtonLayout : public ButtonTest {
 protected:
  CButton& Recorded(int width, int height) {
    CButton& b = Place(width, height);
    b.SetAccentColor(acNone);
    b.SetPaintRecorder(&rec);
    rec.Clear();
    return b;
  }

  // The last TextOut of a text.
  CanvasCall Drawn(std::string_view text) const {
    CanvasCall found;
    for (const CanvasCall& c : rec.Of("TextOut")) {
      if (c.text == text) found = c;
    }
    EXPECT_FALSE(found.op.empty()) << "no TextOut of \"" << text << "\"";
    return found;
  }

  // The size of a text in a font.
  static TSize Measure(const std::string& name, int height, std::string_view text) {
    TCanvas canvas;
    canvas.Font().SetName(name);
    canvas.Font().SetHeight(height);
    return canvas.TextExtent(text);
  }
  static TSize MeasurePoints(const std::string& name, int size, std::string_view text) {
    TCanvas canvas;
    canvas.Font().SetName(name);
    canvas.Font().SetSize(size);
    return canvas.TextExtent(text);
  }

  // The centre of a drawn glyph, from its position and its size in its font.
  static TPoint Centre(const CanvasCall& glyph) {
    const TSize s = MeasurePoints(glyph.fontName, glyph.fontSize, glyph.text);
    return {glyph.args[0] + s.cx / 2, glyph.args[1] + s.cy / 2};
  }

  CanvasRecorder rec;
};

TEST_F(ButtonLayout, TheLaunchButtonsArrowSitsInASquareBoxLeftOfTheCaption) {
  CButton& b = Place();
  vark::test::ApplyLauncherLook(b, vark::test::kLauncherButtons[0]);
  b.SetLeft(10);
  b.SetTop(10);
  b.SetPaintRecorder(&rec);
  rec.Clear();
  b.Paint();
  const TSize text = Measure("Segoe UI Semibold", -16, "Launch");
  const CanvasCall caption = Drawn("Launch");
  const int box = text.cy;  // as high as the caption, and square
  EXPECT_EQ(caption.args[0], 125 - text.cx / 2 + box / 2);
  EXPECT_EQ(caption.args[1], 20 - text.cy / 2);
  EXPECT_EQ(caption.fontColor, clWhite);
  const CanvasCall arrow = Drawn("\u279C");
  EXPECT_EQ(arrow.fontName, TFont::kDefaultName);
  // The box ends 5 pixels left of the caption; the glyph is centred in it.
  const TPoint centre = Centre(arrow);
  EXPECT_LE(std::abs(centre.X - (caption.args[0] - 5 - box / 2)), 1);
  EXPECT_LE(std::abs(centre.Y - (caption.args[1] + box / 2)), 1);
  // The glyph has the largest size at which it fits the box (one size larger
  // reaches its edge).
  const TSize glyph = MeasurePoints(TFont::kDefaultName, arrow.fontSize, "\u279C");
  const TSize larger = MeasurePoints(TFont::kDefaultName, arrow.fontSize + 1, "\u279C");
  EXPECT_TRUE(glyph.cx <= box && glyph.cy <= box);
  EXPECT_TRUE(larger.cx >= box || larger.cy >= box);
}

TEST_F(ButtonLayout, AGlyphBesideTheCaptionForEachAlignment) {
  const int W = 240, H = 44;
  const std::string font = "Segoe UI Semibold";
  const TSize text = MeasurePoints(font, 12, "Click me");
  const int TW = text.cx, I = text.cy;
  struct Case {
    CPosition layout;
    TAlignment align;
    int captionLeft;
    int glyphCentreX;  // from the caption's left
    std::function<int(int)> glyphCentre;
  };
  // Content starts 1 + 10 pixels from either edge (pen and TextWallSpacing);
  // glyph and caption are 5 apart, and the glyph's side gets 5 more.
  const Case cases[] = {
      {cpLeft, taLeftJustify, 16 + 5 + I, 0, [&](int) { return 16 + I / 2; }},
      {cpLeft, taRightJustify, W - 16 - TW, 0, [&](int t) { return t - 5 - I / 2; }},
      {cpLeft, taCenter, W / 2 - TW / 2 + I / 2, 0, [&](int t) { return t - 5 - I / 2; }},
      {cpRight, taLeftJustify, 16, 0, [&](int t) { return t + TW + 5 + I / 2; }},
      {cpRight, taRightJustify, W - 21 - TW - I, 0, [&](int) { return W - 16 - I + I / 2; }},
      {cpRight, taCenter, W / 2 - TW / 2 - I / 2, 0, [&](int t) { return t + TW + 5 + I / 2; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << int{c.layout} << " align " << int{c.align});
    CButton& b = Recorded(W, H);
    b.SetIcon(cicArrow);
    b.SetImageLayout(c.layout);
    rec.Clear();
    b.SetAlign(c.align);
    const CanvasCall caption = Drawn("Click me");
    EXPECT_EQ(caption.args[0], c.captionLeft);
    EXPECT_EQ(caption.args[1], H / 2 - I / 2);
    EXPECT_LE(std::abs(Centre(Drawn("\u279C")).X - c.glyphCentre(caption.args[0])), 1);
    b.Free();
  }
}

TEST_F(ButtonLayout, AGlyphAboveOrBelowIsHalfAsLargeAgain) {
  const int W = 160, H = 100;
  const TSize text = MeasurePoints("Segoe UI Semibold", 12, "Click me");
  const int TH = text.cy, I = TH + TH / 2;
  for (CPosition layout : {cpTop, cpBottom}) {
    SCOPED_TRACE(int{layout});
    CButton& b = Recorded(W, H);
    b.SetIcon(cicArrow);
    rec.Clear();
    b.SetImageLayout(layout);
    const CanvasCall caption = Drawn("Click me");
    const int top = layout == cpTop ? H / 2 - TH / 2 + I / 2 : H / 2 - TH / 2 - I / 2;
    EXPECT_EQ(caption.args[1], top);
    EXPECT_EQ(caption.args[0], W / 2 - text.cx / 2);
    const CanvasCall glyph = Drawn("\u279C");
    // Above: the box ends 5 pixels over the caption. Below: it starts 5 + its
    // own height under the caption's top.
    const int boxTop = layout == cpTop ? top - 5 - I : top + 5 + I;
    EXPECT_LE(std::abs(Centre(glyph).Y - (boxTop + I / 2)), 1);
    EXPECT_LE(std::abs(Centre(glyph).X - W / 2), 1);
    const TSize size = MeasurePoints(TFont::kDefaultName, glyph.fontSize, glyph.text);
    EXPECT_LE(size.cy, I);
    EXPECT_GT(size.cy, TH) << "larger than a glyph beside the caption";
    b.Free();
  }
}

TEST_F(ButtonLayout, WithoutACaptionTheGlyphIsCentred) {
  CButton& b = Recorded(120, 60);
  b.SetIcon(cicSearch);
  rec.Clear();
  b.SetShowCaption(false);
  const CanvasCall glyph = Drawn("\U0001F50E");
  const TPoint centre = Centre(glyph);
  EXPECT_LE(std::abs(centre.X - 60), 1);
  EXPECT_LE(std::abs(centre.Y - 30), 1);
  EXPECT_EQ(rec.Of("TextOut").back().text, "") << "the caption is drawn empty";
}

TEST_F(ButtonLayout, OnAScaledDisplayTheCaptionGrowsWithTheButton) {
  ui->setScale(2.0);
  struct TBuilt : TForm {
    explicit TBuilt(TComponent* owner) : TForm(owner) {
      BeginLoading();
      SetBorderStyle(bsNone);
      SetClientWidth(300);
      SetClientHeight(100);
      button = &Make<CButton>();
      button->SetBounds(10, 10, 250, 41);
      button->Font().SetHeight(-16);
      button->SubTextFont().SetHeight(-11);
      button->SetParent(this);
      EndLoading();
    }
    CButton* button = nullptr;
  };
  auto scaled = MakeForm<TBuilt>(nullptr);
  EXPECT_EQ(scaled->button->BoundsRect(), Bounds(20, 20, 500, 82));
  EXPECT_EQ(scaled->button->Font().Height(), -32);
  EXPECT_EQ(scaled->button->SubTextFont().Height(), -22);
  // A preset sets its font in points at every paint: at the scaled size too
  // (12 points are 16 pixels at 96 per inch).
  scaled->button->Preset().SetKind(cbprMetro);
  scaled->button->Repaint();
  EXPECT_EQ(scaled->button->Font().Height(), -32);
  scaled->button->Preset().SetKind(cbprAeroLink);
  scaled->button->Repaint();
  EXPECT_EQ(scaled->button->SubTextFont().Height(), -22);
}

TEST_F(ButtonLayout, ACaptionAloneIsCentredOrKeptFromTheEdges) {
  const int W = 200;
  const int TW = MeasurePoints("Segoe UI Semibold", 12, "Click me").cx;
  struct Case {
    TAlignment align;
    int left;
  };
  for (const Case c : {Case{taCenter, W / 2 - TW / 2}, Case{taLeftJustify, 11},
                       Case{taRightJustify, W - 11 - TW}}) {
    CButton& b = Recorded(W, 40);
    rec.Clear();
    b.SetAlign(c.align);
    EXPECT_EQ(Drawn("Click me").args[0], c.left);
    b.Free();
  }
}

TEST_F(ButtonLayout, GlyphsWithATrailingSpaceAreDrawnWithIt) {
  CButton& b = Recorded(160, 40);
  for (auto [icon, glyph] :
       {std::pair{cicTrueYes, "\u2705 "}, std::pair{cicQuestion, "\u2754 "},
        std::pair{cicDownload, "\u25BC "}, std::pair{cicRetry, "\U0001F501"}}) {
    rec.Clear();
    b.SetIcon(icon);
    Drawn(glyph);
  }
  // The icon-font glyph is BSegoeIcon in one of the two icon fonts.
  rec.Clear();
  b.SetIcon(cicSegoeFluent);
  EXPECT_EQ(Drawn("\uE734").fontName, "Segoe Fluent Icons");
  b.SetMetroIcon(true);
  EXPECT_EQ(Drawn("\uE734").fontName, "Segoe MDL2 Assets");
  b.SetSegoeIcon("\uE713");
  Drawn("\uE713");
}

TEST_F(ButtonLayout, APictureTakesABoxOfItsProportions) {
  CButton& b = Recorded(242, 33);
  TPicture picture;
  picture.SetGraphic(std::make_unique<TBitmap>(64, 64));
  rec.Clear();
  b.SetBitmap(&picture);
  const int TH = MeasurePoints("Segoe UI Semibold", 12, "Click me").cy;
  const CanvasCall drawn = rec.Of("DrawScaled").front();
  const int caption = Drawn("Click me").args[0];
  // dest (left, top, right, bottom), opacity: square, as high as the caption,
  // ending 5 pixels before it.
  EXPECT_EQ(drawn.args[2] - drawn.args[0], TH);
  EXPECT_EQ(drawn.args[3] - drawn.args[1], TH);
  EXPECT_EQ(drawn.args[2], caption - 5);
  EXPECT_EQ(drawn.args[4], 255);
  rec.Clear();
  b.SetEnabled(false);
  EXPECT_EQ(rec.Of("DrawScaled").front().args[4], 100);

  // A picture too wide for the button is fitted to Round(W / 1.2) across.
  b.SetEnabled(true);
  TPicture wide;
  wide.SetGraphic(std::make_unique<TBitmap>(200, 20));
  CButton& narrow = Recorded(110, 40);
  rec.Clear();
  narrow.SetBitmap(&wide);
  const CanvasCall fitted = rec.Of("DrawScaled").front();
  EXPECT_EQ(fitted.args[2] - fitted.args[0], 92);
  EXPECT_EQ(fitted.args[3] - fitted.args[1], 9);  // Round(20 / (200 / 92))
}

TEST_F(ButtonLayout, APictureThatCannotBeLaidOutMarksTheCaption) {
  CButton& b = Recorded(110, 40);
  TPicture flat;
  flat.SetGraphic(std::make_unique<TBitmap>(64, 0));
  rec.Clear();
  b.SetBitmap(&flat);
  const CanvasCall caption = Drawn("\U0001F6ABClick me");
  EXPECT_EQ(caption.args, (std::vector<int>{0, 0}));
  EXPECT_TRUE(rec.Of("DrawScaled").size() == 1u) << "only the composed image, no picture";
  EXPECT_EQ(b.Text(), "Click me");
  // The next paint with a good picture is whole again.
  TPicture good;
  good.SetGraphic(std::make_unique<TBitmap>(16, 16));
  rec.Clear();
  b.SetBitmap(&good);
  Drawn("Click me");
}

TEST_F(ButtonLayout, TheSecondLineIsPlacedAsIfInTheCaptionsFont) {
  CButton& b = Recorded(200, 70);
  b.TextColors().SetLeave(0x00112233);
  b.SetSubText("Second");
  rec.Clear();
  b.SetEnableSubText(true);
  const TSize caption = MeasurePoints("Segoe UI Semibold", 12, "Click me");
  const TSize second = MeasurePoints("Segoe UI Semibold", 12, "Second");
  const CanvasCall top = Drawn("Click me");
  const CanvasCall sub = Drawn("Second");
  EXPECT_EQ(top.args[1], 35 - caption.cy / 2 - second.cy / 2);
  EXPECT_EQ(sub.args[1], top.args[1] + second.cy);
  EXPECT_EQ(sub.args[0], 100 - second.cx / 2);
  EXPECT_EQ(sub.fontName, "Segoe UI");
  EXPECT_EQ(sub.fontSize, 10);
  EXPECT_EQ(sub.fontColor, 0x00112233u);
}

TEST_F(ButtonLayout, FontAutoSizeFitsTheCaptionWithinItsLimits) {
  // "Click me" is 63 pixels wide at the default 12 points: the size is
  // (width - 1) / 63 * 7, truncated.
  for (auto [width, points] : {std::pair{110, 12}, {250, 27}, {400, 44}, {30, 3}}) {
    CButton& sized = Recorded(width, 40);
    sized.FontAutoSize()->SetEnabled(true);
    EXPECT_EQ(Drawn("Click me").fontSize, points) << width;
    sized.Free();
  }
  CButton& b = Recorded(400, 40);
  b.FontAutoSize()->SetEnabled(true);
  const int grown = Drawn("Click me").fontSize;
  EXPECT_GT(grown, 30);
  b.FontAutoSize()->SetMax(12);
  EXPECT_EQ(Drawn("Click me").fontSize, 12);
  b.SetWidth(30);
  b.FontAutoSize()->SetMin(9);
  EXPECT_EQ(Drawn("Click me").fontSize, 9);
  EXPECT_EQ(b.Font().Size(), 12) << "the button's own font keeps its size";
  // An empty caption has no width to fit: the font keeps its size.
  b.FontAutoSize()->SetMin(-1);
  b.FontAutoSize()->SetMax(-1);
  rec.Clear();
  b.SetText("");
  EXPECT_EQ(Drawn("").fontSize, 12);
}

}  // namespace
