// The text engine: which files the window's font names resolve to, that every
// glyph the window and the button icons use draws, and that measuring and
// drawing agree with each other and stay stable. The same on both platforms:
// the Windows tests run under Wine, whose test prefix maps the names to the
// fonts the Linux build uses (scripts/wine-fonts.reg).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Text.h"

namespace {

TFont MakeFont(const std::string& name, int height, TFontStyles style = {},
               TColor color = clBlack) {
  TFont font;
  font.SetName(name);
  font.SetHeight(height);
  font.SetStyle(style);
  font.SetColor(color);
  return font;
}

void FillWhite(TBitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x)
      bmp.ScanLine(y)[x] = OpaquePixel(clWhite);
  }
}

// The box around every pixel that is not white; empty when there is none.
TRect InkBox(const TBitmap& bmp) {
  TRect box{bmp.Width(), bmp.Height(), 0, 0};
  for (int y = 0; y < bmp.Height(); ++y) {
    for (int x = 0; x < bmp.Width(); ++x) {
      if (bmp.ColorAt(x, y) == clWhite) continue;
      box.Left = std::min(box.Left, x);
      box.Top = std::min(box.Top, y);
      box.Right = std::max(box.Right, x + 1);
      box.Bottom = std::max(box.Bottom, y + 1);
    }
  }
  return box;
}

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string Utf8(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

TEST(TextFonts, WindowNamesResolveToTheirStandIns) {
  struct Case {
    const char* name;
    TFontStyles style;
    const char* file;
  };
  const Case cases[] = {
      {"Segoe UI", {}, "OpenSans-Regular.ttf"},
      {"Segoe UI", {fsBold}, "OpenSans-Bold.ttf"},
      {"Segoe UI", {fsItalic}, "OpenSans-Italic.ttf"},
      {"Segoe UI Semibold", {}, "OpenSans-Semibold.ttf"},
      {"Segoe UI Light", {}, "OpenSans-Light.ttf"},
      {"Tahoma", {}, "DejaVuSans.ttf"},
      {"Segoe Print", {}, "ComicNeue-Regular.otf"},
      {"Segoe Fluent Icons", {}, "DejaVuSans.ttf"},
      {"Segoe Fluent Icons", {fsBold}, "DejaVuSans-Bold.ttf"},
      {"Segoe MDL2 Assets", {}, "DejaVuSans.ttf"},
      // Names match without regard to case, as on the desktop the window was made for.
      {"segoe ui", {}, "OpenSans-Regular.ttf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FileName(vark::text::DescribeFace(MakeFont(c.name, -12, c.style)).file), c.file);
  }
}

TEST(TextFonts, UnknownNamesFallBackToTheDefaultSansFace) {
  const std::string sans = vark::text::DescribeFace(MakeFont("Segoe UI", -12)).file;
  ASSERT_FALSE(sans.empty());
  for (const char* name : {"No Such Font At All", "", "Wingdings 9", "\xC3\x28"}) {
    SCOPED_TRACE(name);
    const TFont font = MakeFont(name, -12);
    EXPECT_EQ(vark::text::DescribeFace(font).file, sans);
    EXPECT_GT(vark::text::Measure(font, "Launch").width, 0);
  }
}

TEST(TextFonts, MissingStylesAreSynthesised) {
  // The semibold family has no bold member, the symbol font no italic one.
  const auto semiboldBold = vark::text::DescribeFace(MakeFont("Segoe UI Semibold", -16, {fsBold}));
  EXPECT_TRUE(semiboldBold.syntheticBold);
  EXPECT_FALSE(vark::text::DescribeFace(MakeFont("Segoe UI", -16, {fsBold})).syntheticBold);
  const auto symbolItalic = vark::text::DescribeFace(MakeFont("Symbola", -16, {fsItalic}));
  EXPECT_TRUE(symbolItalic.syntheticItalic);

  // Synthesised bold is wider and darker than the face it comes from.
  const TFont regular = MakeFont("Segoe UI Semibold", -16);
  const TFont bold = MakeFont("Segoe UI Semibold", -16, {fsBold});
  EXPECT_GT(vark::text::Measure(bold, "Launch").width,
            vark::text::Measure(regular, "Launch").width);
}

// Every glyph of the window's texts, the button glyph table and the icon-font
// characters: each must come from some face of the fallback chain and leave ink.
TEST(TextGlyphs, EveryGlyphTheWindowUsesDraws) {
  struct Case {
    const char* font;
    int height;
    TFontStyles style;
    char32_t cp;
  };
  std::vector<Case> cases = {
      {"Segoe Fluent Icons", -19, {}, 0xE711},        // the close cross
      {"Segoe Fluent Icons", -17, {fsBold}, 0xE713},  // the width button's gear
      {"Segoe Fluent Icons", -20, {}, 0xE734},        // the star of an icon-font button
      {"Segoe MDL2 Assets", -20, {}, 0xE734},
      {"Segoe UI", -12, {fsBold}, U'?'},  // the question icon's glyph
      {"Segoe UI", -12, {fsBold}, U'i'},
      {"Segoe UI", -12, {fsBold}, U'!'},
  };
  // The button glyphs, drawn in the default font face.
  for (char32_t cp : {0x2714, 0x274C, 0x2705, 0x1F6AB, 0x2754, 0x26A0, 0x27A4, 0x1405, 0x140A,
                      0x1403, 0x1401, 0x279C, 0x27A5, 0x1F501, 0x25BC, 0x25B2, 0x1F50E, 0x1F50D}) {
    cases.push_back({TFont::kDefaultName, -24, {}, static_cast<char32_t>(cp)});
  }
  // The letters of every caption in the font it is shown in.
  const struct {
    const char* font;
    int height;
    const char* text;
  } captions[] = {
      {"Segoe Print", -40, "Valdor III Launcher"},
      {"Segoe UI Light", -23, "Aditional Options"},
      {"Segoe UI Semibold", -16, "Launch"},
      {"Segoe UI Semibold", -15, "Open valdor folder Start map editor launcher if avalabile"},
      {"Segoe UI Semibold", -13, "Folders Exes Launchers Map exes"},
      {"Segoe UI", -21, "Tidemark Ashen Vow Complete Dawn of Velmar Pale Reach Emberfall OVRE 2"},
      {"Segoe UI", -11, "To acess this menu you need to be in 16 bit color mode (F4). Enable"},
      {"Tahoma", -11, "Loading 0123456789%"},
  };
  for (const auto& caption : captions) {
    for (const char* p = caption.text; *p != '\0'; ++p) {
      if (*p != ' ') cases.push_back({caption.font, caption.height, {}, static_cast<char32_t>(*p)});
    }
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.font) + " U+" + std::to_string(static_cast<unsigned>(c.cp)));
    const TFont font = MakeFont(c.font, c.height, c.style);
    EXPECT_FALSE(vark::text::DescribeFace(font, c.cp).file.empty()) << "no face has the glyph";
    TBitmap bmp(64, 64);
    FillWhite(bmp);
    vark::text::Draw(bmp, Rect(0, 0, 64, 64), 4, 4, font, Utf8(c.cp));
    EXPECT_FALSE(InkBox(bmp).IsEmpty()) << "the glyph left no ink";
  }
}

TEST(TextGlyphs, IconCodepointsDrawTheirSymbols) {
  const TFont font = MakeFont("Segoe Fluent Icons", -19);
  const struct {
    char32_t icon;
    char32_t symbol;
  } pairs[] = {{0xE711, 0x2715}, {0xE713, 0x2699}, {0xE734, 0x2606}};
  for (const auto& p : pairs) {
    SCOPED_TRACE(static_cast<unsigned>(p.icon));
    TBitmap a(40, 40), b(40, 40);
    FillWhite(a);
    FillWhite(b);
    vark::text::Draw(a, Rect(0, 0, 40, 40), 2, 2, font, Utf8(p.icon));
    vark::text::Draw(b, Rect(0, 0, 40, 40), 2, 2, font, Utf8(p.symbol));
    EXPECT_EQ(vark::text::Measure(font, Utf8(p.icon)).width,
              vark::text::Measure(font, Utf8(p.symbol)).width);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(a.PixelAt(x, y), b.PixelAt(x, y)) << x << "," << y;
    }
  }
}

TEST(TextMeasure, HeightsFollowTheFontHeight) {
  // A negative height is the em: the line is taller than the em but not twice.
  for (int em : {8, 11, 13, 16, 23, 40}) {
    SCOPED_TRACE(em);
    const auto m = vark::text::Measure(MakeFont("Segoe UI", -em), "Hg");
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_GT(m.height, em);
    EXPECT_LT(m.height, 2 * em);
  }
  // A positive height is the cell height itself.
  for (int cell : {10, 15, 22, 31, 54}) {
    SCOPED_TRACE(cell);
    for (const char* name : {"Segoe UI", "Tahoma", "Segoe Print"}) {
      const int h = vark::text::Measure(MakeFont(name, cell), "Hg").height;
      EXPECT_NEAR(h, cell, 1) << name;
    }
  }
  // Height 0 is the default font's size.
  EXPECT_EQ(vark::text::Measure(MakeFont("Segoe UI", 0), "A").height,
            vark::text::Measure(MakeFont("Segoe UI", TFont::kDefaultHeight), "A").height);
}

TEST(TextMeasure, WidthsAreStableAndAdditive) {
  const TFont font = MakeFont("Segoe UI Semibold", -16);
  const auto launch = vark::text::Measure(font, "Launch");
  EXPECT_GT(launch.width, 30);
  // An empty text is 0 wide and still one line high.
  const auto empty = vark::text::Measure(font, "");
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height, launch.height);
  // Words separated by a space measure as their sum with the space.
  const int a = vark::text::Measure(font, "Open").width;
  const int space = vark::text::Measure(font, " ").width;
  const int b = vark::text::Measure(font, "valdor").width;
  EXPECT_EQ(vark::text::Measure(font, "Open valdor").width, a + space + b);
  // Widths grow with the size.
  int previous = 0;
  for (int em = 6; em <= 60; em += 3) {
    const int w = vark::text::Measure(MakeFont("Segoe UI", -em), "Launch").width;
    EXPECT_GE(w, previous) << em;
    previous = w;
  }
  // The same answers after the caches have been dropped and rebuilt.
  vark::text::DropCaches();
  const auto again = vark::text::Measure(font, "Launch");
  EXPECT_EQ(again.width, launch.width);
  EXPECT_EQ(again.height, launch.height);
}

TEST(TextMeasure, BrokenAndControlTextIsHarmless) {
  const TFont font = MakeFont("Segoe UI", -12);
  const std::string inputs[] = {
      std::string("\xFF\xFE\xC0\x80", 4),  // bytes that are never UTF-8
      std::string("ab\xE2\x82", 4),        // a cut-off sequence at the end
      std::string("\x00\x01\t\r\n", 5),
      std::string(10000, 'W'),
  };
  for (const std::string& s : inputs) {
    const auto m = vark::text::Measure(font, s);
    EXPECT_GE(m.width, 0);
    TBitmap bmp(32, 32);
    FillWhite(bmp);
    vark::text::Draw(bmp, Rect(0, 0, 32, 32), 0, 0, font, s);
  }
  // A long text (shaped without the run cache) measures as its letters.
  const std::string longText(3000, 'l');
  EXPECT_EQ(vark::text::Measure(font, longText).width, 3000 * vark::text::Measure(font, "l").width);
  // Control characters take no room.
  EXPECT_EQ(vark::text::Measure(font, "a\tb").width, vark::text::Measure(font, "ab").width);
  // A runaway size is limited instead of asking for giant glyphs.
  for (int height : {-1000000, INT_MIN, 1000000, INT_MAX}) {
    EXPECT_GT(vark::text::Measure(MakeFont("Segoe UI", height), "A").height, 0) << height;
  }
}

TEST(TextDraw, InkStaysInsideTheMeasuredBox) {
  for (const char* text : {"Launch", "Emberfall", "Valdor III", "Hg|"}) {
    for (int em : {11, 16, 23}) {
      SCOPED_TRACE(std::string(text) + " " + std::to_string(em));
      const TFont font = MakeFont("Segoe UI", -em);
      const auto m = vark::text::Measure(font, text);
      TBitmap bmp(m.width + 40, m.height + 40);
      FillWhite(bmp);
      vark::text::Draw(bmp, Rect(0, 0, bmp.Width(), bmp.Height()), 20, 20, font, text);
      const TRect ink = InkBox(bmp);
      ASSERT_FALSE(ink.IsEmpty());
      // A pixel of overhang on either side is normal for anti-aliased glyphs.
      EXPECT_GE(ink.Left, 20 - 1);
      EXPECT_LE(ink.Right, 20 + m.width + 1);
      EXPECT_GE(ink.Top, 20);
      EXPECT_LE(ink.Bottom, 20 + m.height);
      // The ink spans most of the advance width.
      EXPECT_GT(ink.Width(), m.width * 3 / 4);
    }
  }
}

TEST(TextDraw, GlyphsBlendInTheFontColour) {
  const TFont font = MakeFont("Segoe UI", -40, {}, clRed);
  TBitmap bmp(80, 80);
  FillWhite(bmp);
  vark::text::Draw(bmp, Rect(0, 0, 80, 80), 5, 5, font, "l");
  int solid = 0;
  int partial = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 80; ++x) {
      const Pixel p = bmp.PixelAt(x, y);
      ASSERT_EQ(PixelAlpha(p), 255);  // an opaque target stays opaque
      const TColor c = PixelToColor(p);
      if (c == clWhite) continue;
      // Red over white: red stays full, green and blue fall together.
      ASSERT_EQ(GetRValue(c), 255);
      ASSERT_EQ(GetGValue(c), GetBValue(c));
      if (c == clRed) {
        ++solid;
      } else {
        ++partial;
      }
    }
  }
  EXPECT_GT(solid, 20);   // the stem of an "l" at 40 pixels is solid
  EXPECT_GT(partial, 0);  // and its edges anti-aliased

  // A system colour is resolved.
  TBitmap sys(40, 40);
  FillWhite(sys);
  vark::text::Draw(sys, Rect(0, 0, 40, 40), 2, 2, MakeFont("Segoe UI", -30, {}, clWindowText), "l");
  bool black = false;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x)
      black = black || sys.ColorAt(x, y) == clBlack;
  }
  EXPECT_TRUE(black);
}

TEST(TextDraw, TransparentTargetsGetPremultipliedPixels) {
  TBitmap bmp(60, 40);  // transparent black
  vark::text::Draw(bmp, Rect(0, 0, 60, 40), 2, 2, MakeFont("Segoe UI", -24, {}, RGB(200, 100, 50)),
                   "Ag");
  int inked = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x) {
      const Pixel p = bmp.PixelAt(x, y);
      const uint32_t a = PixelAlpha(p);
      if (a == 0) {
        ASSERT_EQ(p, 0u);
        continue;
      }
      ++inked;
      ASSERT_LE((p >> 16) & 0xFF, a);
      ASSERT_LE((p >> 8) & 0xFF, a);
      ASSERT_LE(p & 0xFF, a);
    }
  }
  EXPECT_GT(inked, 0);
}

TEST(TextDraw, ClipAndBoundsAreRespected) {
  const TFont font = MakeFont("Segoe UI", -30);
  TBitmap full(100, 50);
  FillWhite(full);
  vark::text::Draw(full, Rect(0, 0, 100, 50), 5, 5, font, "WWW");
  const TRect clip = Rect(20, 10, 50, 30);
  TBitmap clipped(100, 50);
  FillWhite(clipped);
  vark::text::Draw(clipped, clip, 5, 5, font, "WWW");
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool inside = clip.Contains(Point(x, y));
      ASSERT_EQ(clipped.PixelAt(x, y), inside ? full.PixelAt(x, y) : OpaquePixel(clWhite))
          << x << "," << y;
    }
  }
  // Text hanging off every edge, a clip outside the bitmap and an empty bitmap.
  for (TPoint at : {Point(-30, -20), Point(90, 40), Point(-1000000, 5), Point(5, 1000000)}) {
    TBitmap bmp(20, 20);
    vark::text::Draw(bmp, Rect(0, 0, 20, 20), at.X, at.Y, font, "Launch");
  }
  TBitmap bmp(20, 20);
  FillWhite(bmp);
  vark::text::Draw(bmp, Rect(-50, -50, -10, -10), 0, 0, font, "Launch");
  vark::text::Draw(bmp, Rect(0, 0, 20, 20), 0, 0, font, "");
  EXPECT_TRUE(InkBox(bmp).IsEmpty());
  TBitmap empty;
  vark::text::Draw(empty, Rect(0, 0, 10, 10), 0, 0, font, "Launch");
}

TEST(TextDraw, GlyphCacheStaysBoundedAndCorrect) {
  const TFont font = MakeFont("Segoe UI", -40);
  TBitmap before(120, 60);
  FillWhite(before);
  vark::text::Draw(before, Rect(0, 0, 120, 60), 2, 2, font, "Ag");
  // Large glyphs at many sizes: far more than the glyph cache keeps.
  TBitmap scratch(16, 16);
  for (int em = 200; em < 500; em += 2) {
    vark::text::Draw(scratch, Rect(0, 0, 16, 16), 0, 0, MakeFont("Segoe UI", -em), "W@");
  }
  TBitmap after(120, 60);
  FillWhite(after);
  vark::text::Draw(after, Rect(0, 0, 120, 60), 2, 2, font, "Ag");
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 120; ++x)
      ASSERT_EQ(after.PixelAt(x, y), before.PixelAt(x, y));
  }
}

TEST(TextDraw, UnderlineAndStrikeOutSpanTheText) {
  const int em = 20;
  const auto inkRows = [&](TFontStyles style) {
    const TFont font = MakeFont("Segoe UI", -em, style);
    TBitmap bmp(120, 40);
    FillWhite(bmp);
    vark::text::Draw(bmp, Rect(0, 0, 120, 40), 10, 5, font, "ooo");
    return InkBox(bmp);
  };
  const TFont plainFont = MakeFont("Segoe UI", -em);
  const auto m = vark::text::Measure(plainFont, "ooo");
  const TRect plain = inkRows({});
  const TRect underlined = inkRows({fsUnderline});
  const TRect struck = inkRows({fsStrikeOut});
  // The underline lies below the letters, from the pen's start to the advance's end.
  EXPECT_GT(underlined.Bottom, plain.Bottom);
  EXPECT_LE(underlined.Bottom, 5 + m.height);
  EXPECT_EQ(underlined.Left, 10);
  EXPECT_EQ(underlined.Right, 10 + m.width);
  // The strike-out line crosses the letters: no taller than they are, as wide as the text.
  EXPECT_EQ(struck.Top, plain.Top);
  EXPECT_EQ(struck.Bottom, plain.Bottom);
  EXPECT_EQ(struck.Left, 10);
  EXPECT_EQ(struck.Right, 10 + m.width);
}

}  // namespace
