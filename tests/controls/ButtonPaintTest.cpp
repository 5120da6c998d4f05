// CButton painting: the colour mixer, the fade tick by tick, the disabled and
// flat looks, the border colour, underlines, rounded corners and both press
// animations.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"
#include "tests/controls/ButtonTestSupport.h"

namespace {

using vark::test::ButtonTest;

class ButtonPaint : public ButtonTest {
 protected:
  // A button with its own colours (no accent colour), a 2-pixel border in a
  // colour of its own, and a recorder on its off-screen drawing.
  CButton& Plain(int width = 110, int height = 40) {
    CButton& b = Place(width, height);
    b.SetParentColor(false);
    b.SetColor(kBack);
    b.SetAccentColor(acNone);
    b.Pen().SetWidth(2);
    b.Pen().SetColor(kBorder);
    b.SetPaintRecorder(&rec);
    Settle();
    rec.Clear();
    return b;
  }

  // The face colour of every paint recorded: the fill of the face rectangle.
  std::vector<TColor> Faces(const CButton& b) const {
    const int p = b.Pen().Width();
    std::vector<TColor> faces;
    for (const CanvasCall& c : rec.Of("FillRect")) {
      if (c.args == std::vector<int>{p, p, b.Width() - p, b.Height() - p})
        faces.push_back(c.brushColor);
    }
    return faces;
  }

  // Where each paint put the face image on the composed bitmap.
  std::vector<TRect> Destinations() const {
    std::vector<TRect> out;
    for (const CanvasCall& c : rec.Of("DrawScaled"))
      out.push_back(Rect(c.args[0], c.args[1], c.args[2], c.args[3]));
    return out;
  }

  static constexpr TColor kBack = 0x00332211;
  static constexpr TColor kBorder = 0x0000A000;
  CanvasRecorder rec;
};

TEST(Blend, MixesEachChannelByAPercentageStoppingOneShortWhenRising) {
  struct Case {
    TColor to, from;
    uint8_t A;
    TColor expected;
  };
  const Case cases[] = {
      {clWhite, clBlack, 50, 0x007F7F7F},  // a = Round(127.5) = 128, in extended precision
      {clWhite, clBlack, 100, 0x00FEFEFE},
      {clWhite, clBlack, 10, 0x00191919},
      {clWhite, clBlack, 0, clBlack},
      {clBlack, clWhite, 100, clBlack},  // a falling channel reaches its target
      {clBlack, clWhite, 50, 0x007F7F7F},
      {clRed, clBlue, 50, 0x007F007F},         // one channel up, one down
      {clBtnFace, clBtnFace, 37, 0x00F0F0F0},  // system colours are resolved
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::hex << c.to << " " << c.from << std::dec << " A=" << int{c.A});
    EXPECT_EQ(Blend(c.to, c.from, c.A), c.expected);
  }
}

TEST(ClrGray, IsTheMeanOfTheChannels) {
  EXPECT_EQ(CButton::ClrGray(0x000000C0), 0x00404040u);
  EXPECT_EQ(CButton::ClrGray(clWhite), clWhite);
  EXPECT_EQ(CButton::ClrGray(clBtnShadow), 0x00A0A0A0u);  // 0xA0A0A0 resolved
}

TEST_F(ButtonPaint, AStateChangeFadesInTenPaintsOnTheTimersTicks) {
  CButton& b = Plain();
  b.Colors().SetLeave(clBlack);
  b.Colors().SetEnter(clWhite);
  ui->mouseMove(*form, 20, 20);
  rec.Clear();
  std::vector<TColor> steps;
  for (int tick = 1; tick <= 10; ++tick) {
    ui->advance(1);
    const std::vector<TColor> faces = Faces(b);
    ASSERT_EQ(faces.size(), 1u) << "tick " << tick;
    steps.push_back(faces[0]);
    rec.Clear();
  }
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
  EXPECT_EQ(steps[0], 0x00191919u);  // A = 10
  EXPECT_EQ(steps[4], 0x007F7F7Fu);  // A = 50
  EXPECT_EQ(steps[9], 0x00FEFEFEu);  // A = 100
  ui->advance(20);
  EXPECT_TRUE(Faces(b).empty()) << "the fade timer stops after its last step";
  EXPECT_EQ(At(b, 55, 3), 0x00FEFEFEu);
}

TEST_F(ButtonPaint, TheFadeEndsAtItsLastStepsShare) {
  struct Case {
    int speed;
    TColor end;
  };
  // 30 steps of 100 div 30 = 3 end at 90 %; past 100 steps the colour never moves.
  for (const Case c : {Case{30, 0x00E5E5E5}, Case{5, 0x00FEFEFE}, Case{120, clBlack}}) {
    SCOPED_TRACE(c.speed);
    CButton& b = Plain();
    b.Colors().SetLeave(clBlack);
    b.Colors().SetEnter(clWhite);
    b.Animations().SetFASpeed(c.speed);
    rec.Clear();
    b.SetState(mbsEnter);
    ui->advance(200);
    EXPECT_EQ(Faces(b).size(), static_cast<size_t>(c.speed) + 1);
    EXPECT_EQ(Faces(b).back(), c.end);
    b.Free();
    rec.Clear();
  }
}

TEST_F(ButtonPaint, WithoutAFadeTheNewStateShowsAtOnce) {
  struct Case {
    const char* what;
    std::function<void(CButton&)> setup;
    TColor shown;
  };
  // Where the fade could run but may not, the colour is where a whole fade
  // ends: 254 of 255 on the way up.
  const std::vector<Case> cases = {
      {"fade off", [](CButton& b) { b.Animations().SetFadeAnimation(false); }, clWhite},
      // No steps: the target colour rather than a division by zero.
      {"no steps", [](CButton& b) { b.Animations().SetFASpeed(0); }, clWhite},
      {"negative steps", [](CButton& b) { b.Animations().SetFASpeed(-4); }, clWhite},
      {"application inactive", [this](CButton&) { ui->setApplicationActive(false); }, 0x00FEFEFE},
      {"button hidden", [](CButton& b) { b.Hide(); }, 0x00FEFEFE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui->setApplicationActive(true);
    CButton& b = Plain();
    b.Colors().SetLeave(clBlack);
    b.Colors().SetEnter(clWhite);
    c.setup(b);
    rec.Clear();
    b.SetState(mbsEnter);
    ASSERT_FALSE(Faces(b).empty());
    EXPECT_EQ(Faces(b).back(), c.shown);
    rec.Clear();
    ui->advance(30);
    EXPECT_TRUE(Faces(b).empty()) << "no fade ran";
    b.Free();
  }
}

TEST_F(ButtonPaint, ADisabledButtonGreysItsFaceCaptionAndRoundUnderline) {
  CButton& b = Plain();
  b.Colors().SetLeave(0x000000C0);
  b.Colors().SetBLine(0x00FF0000);
  b.TextColors().SetLeave(0x000000FF);
  rec.Clear();
  b.SetEnabled(false);
  EXPECT_EQ(Faces(b).back(), 0x00404040u);
  const CanvasCall caption = rec.Of("TextOut").back();
  EXPECT_EQ(caption.text, "Click me");
  EXPECT_EQ(caption.fontColor, 0x00555555u);
  const CanvasCall underline = rec.Of("RoundRect").front();
  EXPECT_EQ(underline.penWidth, 6);
  EXPECT_EQ(underline.penColor, 0x00555555u);
  // The border keeps its colour.
  EXPECT_EQ(At(b, 0, 20), kBorder);
  EXPECT_EQ(At(b, 55, 1), kBorder);

  // A square underline keeps its colour when disabled.
  rec.Clear();
  b.UnderLine().SetULRound(false);
  EXPECT_EQ(At(b, 55, 37), 0x00FF0000u);
  EXPECT_EQ(At(b, 5, 20), 0x00404040u);
}

TEST_F(ButtonPaint, AFlatButtonTakesTheBorderColourForItsFace) {
  CButton& b = Plain();
  b.Pen().SetColor(0x00405060);
  b.Colors().SetLeave(0x00112233);
  b.SetFlatnes(true);
  // The face is the border colour 3 darker; the caption the state colour.
  EXPECT_EQ(Faces(b).back(), 0x003D4D5Du);
  EXPECT_EQ(rec.Of("TextOut").back().fontColor, 0x00112233u);
  b.SetFlatComplete(true);
  EXPECT_FALSE(b.UnderLine().Enable());
  EXPECT_EQ(Faces(b).back(), 0x00405060u);
  // Disabled, the caption takes TextColors.BLine and the face stays.
  b.TextColors().SetBLine(0x00000099);
  b.SetEnabled(false);
  EXPECT_EQ(rec.Of("TextOut").back().fontColor, 0x00333333u);  // and greyed as any caption
  EXPECT_EQ(Faces(b).back(), 0x00405060u);
  // Switching FlatComplete off leaves the underline off.
  b.SetFlatComplete(false);
  EXPECT_FALSE(b.UnderLine().Enable());
}

TEST_F(ButtonPaint, TheBorderFollowsTheFormOrTheParentOnEveryPaint) {
  CButton& b = Plain();
  // The colour of its own.
  b.Pen().SetColor(0x00123456);
  EXPECT_EQ(b.Pen().Color(), 0x00123456u);
  // Following the parent: the parent's colour, again at every paint.
  b.SetParentColor(true);
  b.Paint();
  EXPECT_EQ(b.Pen().Color(), 0x00212121u);
  b.Pen().SetColor(0x00123456);
  EXPECT_EQ(b.Pen().Color(), 0x00212121u);
  EXPECT_EQ(At(b, 0, 20), 0x00212121u);
  // Synced with the form (under the plain style): the form's colour wins.
  b.SetParentColor(false);
  b.SetColor(kBack);
  form->SetColor(0x00445566);
  b.Pen().SetFormSyncedColor(true);
  b.Paint();
  EXPECT_EQ(b.Pen().Color(), 0x00445566u);
}

TEST_F(ButtonPaint, RoundedCornersAreNestedOutlinesInTheBorderColour) {
  CButton& b = Plain();
  b.UnderLine().SetUline(false);
  rec.Clear();
  b.SetRoundVal(4);
  std::vector<std::vector<int>> outlines;
  for (const CanvasCall& c : rec.Of("RoundRect")) {
    EXPECT_EQ(c.penWidth, 1);
    EXPECT_EQ(c.penColor, kBorder);
    EXPECT_EQ(c.brushStyle, bsClear);
    outlines.push_back(c.args);
  }
  EXPECT_EQ(outlines, (std::vector<std::vector<int>>{{0, 0, 110, 40, 0, 0},
                                                     {0, 0, 110, 40, 1, 1},
                                                     {0, 0, 110, 40, 2, 2},
                                                     {0, 0, 110, 40, 3, 3},
                                                     {0, 0, 110, 40, 4, 4}}));

  // RoundAmount 0: a one-pixel frame.
  b.Pen().SetWidth(0);
  b.SetRoundVal(0);
  const TColor face = b.Colors().Leave();
  EXPECT_EQ(At(b, 0, 0), kBorder);
  EXPECT_EQ(At(b, 0, 20), kBorder);
  EXPECT_EQ(At(b, 109, 39), kBorder);
  EXPECT_EQ(At(b, 1, 1), face);
  EXPECT_EQ(At(b, 108, 38), face);

  // A larger amount covers more of each corner; without RoundTransparent the
  // corners are square, whatever the amount.
  b.SetRoundVal(25);
  EXPECT_EQ(At(b, 3, 3), kBorder);
  EXPECT_EQ(At(b, 55, 1), face);
  rec.Clear();
  b.SetTransparent(false);
  EXPECT_TRUE(rec.Of("RoundRect").empty());
  EXPECT_EQ(At(b, 0, 0), face);

  // With the alternative colours the corners take the hover colour.
  b.SetTransparent(true);
  b.Pen().SetAltHoverColor(0x000000EE);
  b.Pen().SetEnableAlternativeColors(true);
  b.SetState(mbsEnter);
  EXPECT_EQ(At(b, 0, 0), 0x000000EEu);
}

TEST_F(ButtonPaint, TheRoundUnderlineIsAThickOutlineAboveTheBitmap) {
  CButton& b = Plain();
  b.SetRoundVal(8);
  for (int thick : {6, 7}) {
    rec.Clear();
    b.UnderLine().SetUlThick(thick);
    const CanvasCall c = rec.Of("RoundRect").front();
    EXPECT_EQ(c.args, (std::vector<int>{-(thick / 2), -thick, 110 + thick / 2, 38, 8, 24}));
    EXPECT_EQ(c.penWidth, thick);
    EXPECT_EQ(c.brushStyle, bsClear);
  }
}

TEST_F(ButtonPaint, TheSquareUnderlineIsFiftiethsOfTheHeightInExtendedPrecision) {
  struct Case {
    int height, thick, top;
  };
  // 106 / 50 × 25 is a hair below 53 when the division comes first.
  for (const Case c : {Case{106, 25, 106 - 52}, Case{40, 6, 40 - 4}, Case{50, 6, 44}}) {
    SCOPED_TRACE(c.height);
    CButton& b = Plain(110, c.height);
    b.UnderLine().SetULRound(false);
    rec.Clear();
    b.UnderLine().SetUlThick(c.thick);
    bool found = false;
    for (const CanvasCall& call : rec.Of("FillRect")) {
      if (call.brushColor == b.Colors().BLine() && call.args[1] != 2) {
        EXPECT_EQ(call.args, (std::vector<int>{2, c.top, 108, c.height - 2}));
        found = true;
      }
    }
    EXPECT_TRUE(found);
    b.Free();
  }
}

TEST_F(ButtonPaint, TheDrawingPressAnimationShrinksTheImageStepByStep) {
  struct Case {
    int width, height;
    TRect end;
    std::vector<int> lefts;
  };
  const Case cases[] = {{110, 40, {6, 3, 104, 37}, {0, 1, 2, 3, 4, 5, 6}},
                        {250, 41, {15, 3, 235, 38}, {0, 2, 5, 7, 10, 12, 15}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    CButton& b = Plain(c.width, c.height);
    b.Animations().SetPressAnimation(true);
    const uint64_t before = ui->now();
    const int presented = ui->presentCount();
    ui->mouseDown(*form, b.Left() + 20, b.Top() + 20);
    EXPECT_EQ(ui->now() - before, 12u) << "six steps of 2 ms";
    EXPECT_GE(ui->presentCount() - presented, 6) << "every step is shown before the next";
    const std::vector<TRect> steps = Destinations();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), c.end);
    // Each step moves the image in (a step paints once for the fade, once more).
    std::vector<int> lefts;
    for (const TRect& r : steps) {
      if (lefts.empty() || lefts.back() != r.Left) lefts.push_back(r.Left);
    }
    EXPECT_EQ(lefts, c.lefts);
    // Outside the image the button's colour shows.
    EXPECT_EQ(At(b, c.end.Left - 1, 20), kBack);
    EXPECT_EQ(At(b, c.end.Right, 20), kBack);
    EXPECT_EQ(At(b, 60, c.end.Top - 1), kBack);
    EXPECT_NE(At(b, c.end.Left + 1, 20), kBack);
    rec.Clear();
    ui->mouseUp(*form, b.Left() + 20, b.Top() + 20);
    EXPECT_EQ(Destinations().back(), Rect(0, 0, c.width, c.height));
    EXPECT_NE(At(b, 0, 20), kBack);
    b.Free();
    rec.Clear();
  }
}

TEST_F(ButtonPaint, TheResizingPressAnimationShrinksTheControlAndTheReleaseUndoesIt) {
  CButton& b = Plain(110, 40);
  b.Animations().SetPressAnimation(true);
  b.Animations().SetPAAnimateEngine(cbneComponent);
  ASSERT_EQ(b.Font().Size(), 12);
  ui->mouseDown(*form, b.Left() + 30, b.Top() + 20);
  // Steps of 110 div 40 = 2, 40 div 40 = 1 and 12 div 40 = 0, taken as 1;
  // the left edge moves by Round(2 / 2) = 1, the top by Round(1 / 2) = 0.
  std::vector<int> widths;
  for (const CanvasCall& c : rec.Of("FillRect")) {
    const bool whole = c.args[0] == 0 && c.args[1] == 0 && c.brushColor == kBorder;
    if (whole && (widths.empty() || widths.back() != c.args[2])) widths.push_back(c.args[2]);
  }
  EXPECT_EQ(widths, (std::vector<int>{110, 108, 106, 104, 102, 100, 98}));
  EXPECT_EQ(b.BoundsRect(), Bounds(16, 10, 98, 34));
  EXPECT_EQ(b.Font().Size(), 6);
  ui->mouseUp(*form, b.Left() + 30, b.Top() + 20);
  EXPECT_EQ(b.BoundsRect(), Bounds(10, 10, 110, 40));
  EXPECT_EQ(b.Font().Size(), 12);
}

TEST_F(ButtonPaint, AButtonWithoutAParentDrawsNothing) {
  TComponent owner(nullptr);
  CButton& b = owner.Make<CButton>();
  b.SetPaintRecorder(&rec);
  b.Paint();
  b.SetText("x");
  b.SetState(mbsEnter);
  EXPECT_TRUE(rec.calls.empty());
}

TEST_F(ButtonPaint, APictureLoadedAgainInPlaceIsDrawnAnew) {
  TBitmap red(32, 32), green(32, 32);
  red.Canvas().Brush().SetColor(RGB(220, 0, 0));
  red.Canvas().FillRect(Rect(0, 0, 32, 32));
  green.Canvas().Brush().SetColor(RGB(0, 200, 0));
  green.Canvas().FillRect(Rect(0, 0, 32, 32));
  struct Case {
    const char* kind;
    std::vector<uint8_t> first, second;
  };
  const Case cases[] = {
      {"PNG", vark::EncodePng(red), vark::EncodePng(green)},
      {"JPEG", vark::EncodeJpeg(red), vark::EncodeJpeg(green)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    CButton& b = Plain();
    b.SetShowCaption(false);  // the picture alone, centred: (55, 20) is inside it
    TPicture picture;
    picture.LoadFromMemory(c.first);
    b.SetBitmap(&picture);
    b.Paint();
    EXPECT_GT(int{GetRValue(At(b, 55, 20))}, 180);
    // The button's own graphic takes the second picture, as LoadFromFile would.
    TGraphic* graphic = b.BPicture().Graphic();
    if (auto* png = dynamic_cast<TPngImage*>(graphic)) png->LoadFromMemory(c.second);
    if (auto* jpeg = dynamic_cast<TJPEGImage*>(graphic)) jpeg->LoadFromMemory(c.second);
    b.Paint();
    EXPECT_LT(int{GetRValue(At(b, 55, 20))}, 40);
    EXPECT_GT(int{GetGValue(At(b, 55, 20))}, 160);
    b.Free();
  }
}

}  // namespace
