// CButton presets, the global preset synchronisation and the accent colour,
// as they are re-applied on every paint.
#include <gtest/gtest.h>

#include <vector>

#include "tests/controls/ButtonTestSupport.h"

namespace {

using vark::test::ButtonTest;

class ButtonPreset : public ButtonTest {
 protected:
  // A button on a form of its own colour, painting with the accent colour off
  // and a preset of the given kind and colour.
  CButton& WithPreset(CButtonPreset kind, TColor color = 0x00FF0000) {
    CButton& b = Place(110, 40, kForm);
    b.SetAccentColor(acNone);
    b.Preset().SetColor(color);
    b.Preset().SetKind(kind);
    return b;
  }
  static constexpr TColor kForm = 0x00302010;
};

TEST_F(ButtonPreset, FluentInBlueDerivesEveryStateFromThePresetColour) {
  CButton& b = WithPreset(cbprFluent);
  EXPECT_EQ(b.Colors().Leave(), 0x00FF0000u);
  EXPECT_EQ(b.Colors().Enter(), 0x00FF2828u);
  EXPECT_EQ(b.Colors().Down(), 0x00D70000u);
  EXPECT_EQ(b.Colors().BLine(), 0x00D70000u);
  EXPECT_EQ(b.TextColors().Leave(), clWhite);
  EXPECT_EQ(b.TextColors().Enter(), clWhite);
  EXPECT_EQ(b.TextColors().Down(), 0x00FAFAFAu);  // white shifted by -5
  // The pen turned white and then took the form's colour in the same paint.
  EXPECT_EQ(b.Pen().Color(), kForm);
  EXPECT_TRUE(b.Pen().FormSyncedColor());
  EXPECT_TRUE(b.ParentColor());
  EXPECT_EQ(b.RoundAmount(), 10);
  EXPECT_TRUE(b.UnderLine().Enable());
  EXPECT_TRUE(b.UnderLine().UnderLineRound());
  EXPECT_EQ(b.Font().Name(), "Segoe UI Semibold");
  // Hovered, the face ends one short of the hover colour on its rising channels.
  ui->mouseMove(*form, b.Left() + 8, b.Top() + 20);
  Settle();
  EXPECT_EQ(At(b, 8, 20), 0x00FF2727u);
  EXPECT_EQ(At(b, 0, 0), kForm);  // the corner outside the rounded face
}

TEST_F(ButtonPreset, EachKindsColourTable) {
  // Blue as the preset colour, no accent colour: what a kind leaves alone
  // keeps the colours derived from blue (face 0x00FF0000, hover 0x00FF2828,
  // pressed and line 0x00D70000, white captions, pressed 0x00FAFAFA, a white
  // pen), and the alternative pen colours keep their 0.
  struct Case {
    CButtonPreset kind;
    TColor leave, enter, down, line;  // Colors
    TColor textLeave, textEnter, textDown;
    TColor pen, hover, press;  // Pen.Color, AltHoverColor, AltPressColor
    int penWidth;
  };
  constexpr TColor B = 0x00FF0000, BE = 0x00FF2828, BD = 0x00D70000, W = clWhite;
  const Case cases[] = {
      {cbprFluentFlat, B, BE, BD, BD, W, W, 0x00FAFAFA, kForm, 0, 0, 0},
      {cbprFluentGray, 0x004E4E4E, 0x004E4E4E, 0x00878787, BD, W, W, W, 0x004E4E4E, 0x00878787,
       0x00878787, 3},
      {cbprNewClassic, clBtnFace, W, clBtnShadow, BD, clWindowText, clWindowText, clWindowText,
       clBlue, 0, 0, 1},
      {cbprWin32, 0x00E1E1E1, 0x00FBF1E5, 0x00F7E4CC, BD, clWindowText, clWindowText, clWindowText,
       0x00ADADAD, 0x00D77800, 0x00995400, 1},
      {cbprAeroLink, 0x00F0F0F0, 0x00F0F0F0, 0x00D8D8D8, BD, 0x00DA8B27, 0x00E54A07, 0x00732006,
       0x00E1E1E1, 0x00D8D8D8, 0x00C0C0C0, 1},
      {cbprLink, 0x00E1E1E1, 0x00FBF1E5, 0x00F7E4CC, BD, 0x00DA8B27, 0x00DA8B27, 0x00DA8B27,
       0x00E1E1E1, 0x00EAD2B4, 0x00F7E4CC, 3},
      {cbprMetroLink, B, BE, W, W, W, W, clBlack, W, 0, 0, 2},  // white pen: pressed white
      {cbprMetroFade, B, BE, BD, W, W, W, 0x00FAFAFA, W, 0, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    CButton& b = WithPreset(c.kind);
    b.Paint();
    const std::vector<TColor> seen = {
        b.Colors().Leave(),      b.Colors().Enter(),     b.Colors().Down(),     b.Colors().BLine(),
        b.TextColors().Leave(),  b.TextColors().Enter(), b.TextColors().Down(), b.Pen().Color(),
        b.Pen().AltHoverColor(), b.Pen().AltPressColor()};
    EXPECT_EQ(seen, (std::vector<TColor>{c.leave, c.enter, c.down, c.line, c.textLeave, c.textEnter,
                                         c.textDown, c.pen, c.hover, c.press}));
    EXPECT_EQ(b.Pen().Width(), c.penWidth);
    b.Free();
  }
}

TEST_F(ButtonPreset, AWhitePresetColourGivesBlackCaptionsOnWhite) {
  CButton& b = WithPreset(cbprFluent, clWhite);
  EXPECT_EQ(b.Colors().Leave(), clWhite);
  EXPECT_EQ(b.Colors().Enter(), 0x00E6E6E6u);
  EXPECT_EQ(b.Colors().Down(), clBlack);
  EXPECT_EQ(b.TextColors().Leave(), clBlack);
  EXPECT_EQ(b.TextColors().Enter(), clBlack);
  EXPECT_EQ(b.TextColors().Down(), clWhite);
}

TEST_F(ButtonPreset, MetroPressesWhiteOnAWhitePenAndBlackOtherwise) {
  CButton& b = WithPreset(cbprMetro);
  EXPECT_EQ(b.Pen().Color(), clWhite);
  EXPECT_EQ(b.Colors().Down(), clWhite);
  EXPECT_EQ(b.TextColors().Down(), clBlack);
  EXPECT_EQ(b.Colors().BLine(), clWhite);
  EXPECT_EQ(b.Pen().Width(), 2);
  EXPECT_FALSE(b.RoundTransparent());
  EXPECT_FALSE(b.Animations().FadeAnimation());
  // A pen colour of its own.
  b.Preset().SetPenColorAuto(false);
  b.Pen().SetColor(0x00123456);
  EXPECT_EQ(b.Colors().Down(), clBlack);
  EXPECT_EQ(b.TextColors().Down(), clWhite);
  // Metro stops following the parent, and keeps the colour it had from it.
  EXPECT_FALSE(b.ParentColor());
  EXPECT_EQ(b.Color(), kForm);
}

TEST_F(ButtonPreset, ColoursAKindSetsItselfWinOverTheAccentColour) {
  CButton& b = Place();
  ASSERT_EQ(b.UseAccentColor(), acAccentAdjust);
  b.Preset().SetKind(cbprClassic);
  EXPECT_EQ(b.Colors().Leave(), clBtnFace);
  EXPECT_EQ(b.Colors().Enter(), clWhite);
  EXPECT_EQ(b.Colors().Down(), clBtnShadow);
  EXPECT_EQ(b.TextColors().Leave(), clWindowText);
  EXPECT_EQ(b.Pen().Color(), clGray);
  EXPECT_EQ(b.Font().Name(), "Tahoma");
  EXPECT_EQ(b.Font().Size(), 8);
  // The Fluent kinds have no colours of their own: the accent colour stays.
  b.Preset().SetKind(cbprFluent);
  EXPECT_EQ(b.Colors().Leave(), 0x00E6870Fu);
}

TEST_F(ButtonPreset, ApplyOnceFallsBackToCustomAndKeepsTheSettings) {
  CButton& b = Place();
  b.Preset().SetApplyOnce(true);
  b.Preset().SetKind(cbprFluentRound);
  EXPECT_EQ(b.Preset().Kind(), cbprCustom);
  EXPECT_EQ(b.RoundAmount(), 25);
  b.SetRoundVal(3);
  b.Paint();
  EXPECT_EQ(b.RoundAmount(), 3);
  // Applied on every paint, a kind overrides what is set afterwards.
  b.Preset().SetApplyOnce(false);
  b.Preset().SetKind(cbprFluentRound);
  b.SetRoundVal(3);
  EXPECT_EQ(b.RoundAmount(), 25);
}

TEST_F(ButtonPreset, GlobalPresetExceptIgnoresEveryKindButTheGlobalColour) {
  CButton& b = Place();
  b.SetAccentColor(acNone);
  b.Pen().SetGlobalPresetExcept(true);
  const TColor before = b.Colors().Leave();
  b.Preset().SetApplyOnce(true);
  b.Preset().SetKind(cbprMetro);
  EXPECT_EQ(b.Colors().Leave(), before);
  EXPECT_EQ(b.Preset().Kind(), cbprMetro) << "nothing applied, so nothing reset";
  EXPECT_EQ(b.Pen().Width(), 0);

  gspresetcolor = 0x0000C000;
  b.Preset().SetKind(cbprGlobalApplyColor);
  EXPECT_EQ(b.Preset().Color(), 0x0000C000u);
  EXPECT_EQ(b.Colors().Leave(), 0x0000C000u);
  EXPECT_EQ(b.Colors().Enter(), 0x0028E828u);
  EXPECT_EQ(b.Preset().Kind(), cbprCustom);
}

TEST_F(ButtonPreset, TheGlobalPresetReachesEveryButtonThatDoesNotIgnoreIt) {
  CButton& follows = Place();
  CButton& ignores = Place();
  ignores.Preset().SetIgnoreGlobalSync(true);
  GlobalSync = true;
  gspreset = cbprMetroSimple;
  follows.Paint();
  ignores.Paint();
  EXPECT_EQ(follows.Preset().Kind(), cbprMetroSimple);
  EXPECT_EQ(follows.Colors().Down(), clBlack);
  EXPECT_EQ(ignores.Preset().Kind(), cbprCustom);
  // Applied once, the kind falls back, but the next paint sets it again.
  follows.Preset().SetApplyOnce(true);
  EXPECT_EQ(follows.Preset().Kind(), cbprCustom);
  follows.SetRoundVal(7);
  EXPECT_EQ(follows.RoundAmount(), 0);
}

TEST_F(ButtonPreset, CustomChangesNothing) {
  CButton& b = Place();
  b.SetAccentColor(acNone);
  b.Colors().SetLeave(0x00010203);
  b.Pen().SetWidth(7);
  b.Preset().SetColor(clWhite);
  b.Preset().SetApplyOnce(true);
  b.Paint();
  EXPECT_EQ(b.Colors().Leave(), 0x00010203u);
  EXPECT_EQ(b.Pen().Width(), 7);
  EXPECT_EQ(b.TextColors().Leave(), clWhite);
  // A kind or an icon past the last one, as a stored number might give,
  // changes nothing either and paints without a glyph.
  b.Preset().SetKind(static_cast<CButtonPreset>(40));
  b.SetIcon(static_cast<CButtonIcon>(200));
  b.Paint();
  EXPECT_EQ(b.Colors().Leave(), 0x00010203u);
  EXPECT_EQ(b.Pen().Width(), 7);
}

TEST_F(ButtonPreset, AFluentButtonDoesNotKeepItsWindowRepainting) {
  CButton& b = WithPreset(cbprFluent);
  CanvasRecorder rec;
  b.SetPaintRecorder(&rec);
  Settle();
  rec.Clear();
  // Each turn of the loop paints what is invalid; a paint that invalidated
  // the button again would show up here.
  ui->advance(5);
  ui->advance(5);
  EXPECT_TRUE(rec.calls.empty());
}

TEST_F(ButtonPreset, TheAccentColourGivesTheFaceColoursOnEveryPaint) {
  SetDesktopAccent(0xFF202020);  // adjusted into the lightness band: 0x6E each
  CButton& b = Place();
  b.Paint();
  EXPECT_EQ(b.Colors().Leave(), 0x007D7D7Du);
  EXPECT_EQ(b.Colors().Enter(), 0x00A5A5A5u);
  EXPECT_EQ(b.Colors().Down(), 0x00555555u);
  EXPECT_EQ(b.Colors().BLine(), 0x00555555u);
  b.Colors().SetLeave(clRed);
  EXPECT_EQ(b.Colors().Leave(), 0x007D7D7Du);
  // Switched off, the colours stay as they are and can be set.
  b.SetAccentColor(acNone);
  b.Colors().SetLeave(clRed);
  EXPECT_EQ(b.Colors().Leave(), clRed);
  EXPECT_EQ(b.Colors().Enter(), 0x00A5A5A5u);
  // The custom accent colour.
  b.SetAccentColor(acAccentCustom);
  EXPECT_EQ(b.Colors().Leave(), 0x00D48426u);  // 0x00C57517 shifted by 15
}

TEST_F(ButtonPreset, SharedGradientOptionsChangeBothButtons) {
  CButton& first = Place();
  CButton& second = Place();
  second.SetLeft(150);
  second.SetGradient(first.GradientOptions());
  EXPECT_EQ(first.GradientOptions(), second.GradientOptions());
  second.SetAccentColor(acNone);
  second.Colors().SetLeave(clBlack);
  first.GradientOptions()->SetEnabled(true);
  first.GradientOptions()->SetLeave(0x000000FE);
  second.Paint();
  // One-pixel columns from black towards red 254 across 110 columns: column
  // 108 has ceil(108 × 254 / 110) = 250.
  EXPECT_EQ(At(second, 108, 20), 0x000000FAu);
  EXPECT_EQ(At(second, 10, 20), 0x00000018u);
  // The group outlives the button that made it.
  first.Free();
  second.GradientOptions()->SetLeave(0x0000FE00);
  second.Paint();
  EXPECT_EQ(second.GradientOptions()->Leave(), 0x0000FE00u);
  // The font auto-size group is shared the same way.
  CButton& third = Place();
  third.SetFontAutoSize(second.FontAutoSize());
  EXPECT_EQ(third.FontAutoSize(), second.FontAutoSize());
}

}  // namespace
