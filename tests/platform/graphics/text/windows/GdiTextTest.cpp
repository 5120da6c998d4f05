// The text engine against GDI itself: the same faces, line metrics and
// advances with kerning as GDI gives them, the face chosen for an icon code
// point has the glyph it draws, what a font lacks comes from the faces the
// system links to it, and complex scripts are shaped as GDI shapes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

#include "platform/graphics/Font.h"
#include "platform/graphics/Text.h"
#include "platform/graphics/text/IconCodepoints.h"
#include "tests/platform/graphics/text/windows/GdiReference.h"

namespace {

TFont MakeFont(const std::string& name, int height, TFontStyles style = {}) {
  TFont font;
  font.SetName(name);
  font.SetHeight(height);
  font.SetStyle(style);
  return font;
}

TEST(GdiText, MeasuresAsGdiLaysOut) {
  const struct {
    const char* font;
    int height;
    bool bold;
    const char* text;
  } cases[] = {
      {"Segoe UI", -11, false, "\xC2\xA9 VarkelSoftware"},
      {"Segoe UI", -40, false, "AV Ty To Wa"},  // kerning pairs
      {"Segoe UI", 31, false, "Tidemark"},      // a cell height
      {"Segoe UI", -13, true, "Hello World!"},
      {"Segoe UI Semibold", -16, false, "Launch"},
      {"Segoe UI Light", -23, false, "Aditional Options"},
      {"Segoe Print", -40, false, "Valdor III Launcher"},
      {"Tahoma", -11, false, "Loading 100%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.font) + " " + std::to_string(c.height) + " " + c.text);
    const auto gdi = vark::testing::gdi::Measure(c.font, c.height, c.bold, c.text);
    const auto ours = vark::text::Measure(
        MakeFont(c.font, c.height, c.bold ? TFontStyles{fsBold} : TFontStyles{}), c.text);
    EXPECT_EQ(ours.width, gdi.width);
    EXPECT_EQ(ours.ascent, gdi.ascent);
    EXPECT_EQ(ours.descent, gdi.descent);
  }
  // The kerning is really there: the pairs pull the letters together.
  const auto kerned = vark::testing::gdi::Measure("Segoe UI", -40, false, "AV Ty To Wa");
  EXPECT_LT(kerned.width, kerned.plainWidth);
}

TEST(GdiText, IconCodepointsComeFromAFaceThatHasThem) {
  // The icon fonts first, then the symbols standing in for them, from any
  // face that has those; the face named is one whose glyph table has what
  // is drawn.
  for (const char* font : {"Segoe Fluent Icons", "Segoe MDL2 Assets", "Segoe UI"}) {
    for (char32_t icon : {U'\uE711', U'\uE713', U'\uE734'}) {
      SCOPED_TRACE(std::string(font) + " U+" + std::to_string(static_cast<unsigned>(icon)));
      const vark::text::FaceInfo face = vark::text::DescribeFace(MakeFont(font, -19), icon);
      ASSERT_FALSE(face.family.empty());
      EXPECT_TRUE(vark::testing::gdi::HasGlyph(face.family, icon) ||
                  vark::testing::gdi::HasGlyph(face.family, vark::text::MapIconCodepoint(icon)))
          << face.family;
    }
  }
}

TEST(GdiText, LinkedFacesComeFirstForWhatTheFontLacks) {
  // Both WenQuanYi faces have the ideograph and the plain one comes first by
  // name; the link list names the other, after a face this system lacks and
  // with the scale fields the system's own lists carry.
  ASSERT_TRUE(vark::testing::gdi::HasGlyph("WenQuanYi Micro Hei", U'\u65E5'))
      << "fonts-wqy-microhei is missing (scripts/install-deps.sh --tests)";
  const vark::testing::gdi::SystemLink link(
      "DejaVu Sans Mono",
      {"MSGOTHIC.TTC,MS UI Gothic", "wqy-microhei.ttc,WenQuanYi Micro Hei Mono,128,96",
       "wqy-microhei.ttc,WenQuanYi Micro Hei"});
  vark::text::DropCaches();  // the engine reads the list when it first makes the font
  const TFont font = MakeFont("DejaVu Sans Mono", -16);
  EXPECT_EQ(vark::text::DescribeFace(font, U'\u65E5').family, "WenQuanYi Micro Hei Mono");
  EXPECT_EQ(vark::text::DescribeFace(font, U'\uD55C').family,
            "WenQuanYi Micro Hei Mono");  // Hangul
  EXPECT_EQ(vark::text::DescribeFace(font, U'A').family, "DejaVu Sans Mono");
  vark::text::DropCaches();
}

TEST(GdiText, ComplexScriptsAreShapedAsGdiDrawsThem) {
  // GDI's own ExtTextOutW is the reference: it joins the letters through
  // Uniscribe on Windows and under Wine, whereas Wine 8's
  // GetTextExtentPoint32W (which agrees with ExtTextOutW on Windows) adds up
  // their isolated forms. Unjoined Hebrew keeps its width when shaped.
  const struct {
    const char* what;
    const char* text;
    bool rightToLeft;
  } cases[] = {
      {"Arabic", "\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645", true},
      {"lam-alef ligature", "\u0644\u0627 \u0633\u0644\u0627\u0645", true},
      {"Arabic with vowel marks", "\u0643\u064E\u062A\u064E\u0628\u064E", true},
      {"Arabic in a left-to-right line", "Error: \u0627\u0644\u0645\u0644\u0641 2", false},
      {"Hebrew with points", "\u05E9\u05C1\u05B8\u05DC\u05D5\u05B9\u05DD", true},
  };
  constexpr int kWidth = 400, kHeight = 40, kX = 10;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TFont font = MakeFont("DejaVu Sans", -20);
    const auto gdi = vark::testing::gdi::Draw("DejaVu Sans", -20, c.text, kX, kWidth, kHeight);
    EXPECT_EQ(vark::text::Measure(font, c.text, c.rightToLeft).width, gdi.advance);
    // The same glyphs where GDI puts them. GDI blends the edges of glyphs
    // lighter than our painter, so columns are compared by where the ink
    // is: no column with two pixels' worth of ink on one side and less than
    // a quarter of that on the other.
    TBitmap ours(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x)
        ours.ScanLine(y)[x] = OpaquePixel(clWhite);
    }
    vark::text::Draw(ours, Rect(0, 0, kWidth, kHeight), kX, 0, font, c.text, c.rightToLeft);
    int misplaced = 0;
    std::string profile;
    for (int x = 0; x < kWidth; ++x) {
      int ink = 0;
      for (int y = 0; y < kHeight; ++y)
        ink += 255 - GetRValue(ours.ColorAt(x, y));
      const int theirs = gdi.columnInk[static_cast<size_t>(x)];
      const int more = std::max(ink, theirs);
      misplaced += more >= 2 * 255 && std::min(ink, theirs) * 4 < more;
      if (more > 0) profile += std::to_string(ink) + "/" + std::to_string(theirs) + " ";
    }
    EXPECT_EQ(misplaced, 0) << "ours/GDI's ink by column:\n" << profile;
  }
}

}  // namespace
