// testpage OUT.png: one picture of everything the drawing layer does, for a
// person to look at: shapes and pens, fills and paths, copies, gradients,
// text in every font the window names, the button glyphs, and pictures at
// several scales and opacities.
//
// Sections: shapes; lines; paths and polygons; copies and gradients; text;
// glyphs; pictures.
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"
#include "platform/graphics/PngRaster.h"
#include "platform/os/CommandLine.h"
#include "support/Vark.Graphics.h"
#include "support/Vark.VarHelpers.h"

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 760;

void Label(TCanvas& c, int x, int y, const std::string& text) {
  c.Font().Reset();
  c.Font().SetName("Segoe UI");
  c.Font().SetSize(8);
  c.Font().SetColor(0x00555555);
  c.Brush().SetStyle(bsClear);
  c.TextOut(x, y, text);
  c.Brush().SetStyle(bsSolid);
}

// ---- Shapes ------------------------------------------------------------------------

void Shapes(TCanvas& c) {
  Label(c, 10, 4, "Rectangle, RoundRect, Ellipse with pens 1, 2, 6 and clear");
  const int widths[] = {1, 2, 6, 0};
  for (int i = 0; i < 4; ++i) {
    const int x = 10 + i * 150;
    c.Pen().SetColor(clNavy);
    c.Pen().SetWidth(widths[i] == 0 ? 1 : widths[i]);
    c.Pen().SetStyle(widths[i] == 0 ? psClear : psSolid);
    c.Brush().SetColor(0x00A0E0FF);
    c.Rectangle(x + 4, 24, x + 44, 64);
    c.RoundRect(x + 52, 24, x + 92, 64, 16, 16);
    c.Ellipse(x + 100, 24, x + 140, 64);
  }
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);

  // The button's corners: outlines of corner sizes 0..12 over a face.
  Label(c, 610, 4, "nested corners 0..12, and 1..8 on W + 1");
  c.Brush().SetColor(0x00404040);
  c.FillRect(Rect(604, 20, 940, 68));
  {
    TBitmap face(150, 40);
    face.Canvas().Brush().SetColor(0x0000A5FF);
    face.Canvas().FillRect(Rect(0, 0, 150, 40));
    face.Canvas().Brush().SetStyle(bsClear);
    face.Canvas().Pen().SetColor(0x00404040);
    for (int i = 0; i <= 12; ++i)
      face.Canvas().RoundRect(0, 0, 150, 40, i, i);
    c.Draw(610, 24, face);
    TBitmap bar(150, 12);
    bar.Canvas().Brush().SetColor(0x0000D500);
    bar.Canvas().FillRect(Rect(0, 0, 150, 12));
    bar.Canvas().Brush().SetStyle(bsClear);
    bar.Canvas().Pen().SetColor(0x00404040);
    for (int i = 1; i <= 8; ++i)
      bar.Canvas().RoundRect(0, 0, 151, 13, i, i);
    c.Draw(780, 38, bar);
  }
}

// ---- Lines ---------------------------------------------------------------------------

void Lines(TCanvas& c) {
  Label(c, 10, 74, "LineTo with widths 0..6 (end points left out for width 1), a fan, joins");
  c.Pen().SetColor(clBlack);
  for (int w = 0; w <= 6; ++w) {
    c.Pen().SetWidth(w);
    c.MoveTo(20 + w * 40, 100);
    c.LineTo(50 + w * 40, 100);
    c.MoveTo(20 + w * 40, 110);
    c.LineTo(50 + w * 40, 140);
  }
  c.Pen().SetWidth(1);
  for (int a = 0; a < 360; a += 15) {
    const double r = a * 3.14159265358979 / 180;
    c.MoveTo(400, 120);
    c.LineTo(400 + static_cast<int>(std::lround(28 * std::cos(r))),
             120 + static_cast<int>(std::lround(28 * std::sin(r))));
  }
  const TPoint zig[] = {{450, 140}, {480, 96}, {510, 140}, {540, 96}, {570, 140}};
  c.Pen().SetColor(clMaroon);
  c.Pen().SetWidth(7);
  c.Polyline(zig);
  c.Pen().SetWidth(1);
  c.Pen().SetColor(clYellow);
  c.Polyline(zig);
}

// ---- Paths and polygons ------------------------------------------------------------

void Star(TCanvas& c, int x, int y, int side, int mode, TColor fill) {
  const int dx1 = static_cast<int>(side * 0.809), dy1 = static_cast<int>(side * 0.588);
  const int dx2 = side / 2, dy2 = static_cast<int>(side * 3.078 / 2);
  const TPoint p[5] = {
      {x, y}, {x - dx1, y + dy1}, {x - dx2, y + dy2}, {x + dx2, y + dy2}, {x + dx1, y + dy1}};
  c.BeginPath();
  c.MoveTo(p[0].X, p[0].Y);
  for (int i : {2, 4, 1, 3, 0})
    c.LineTo(p[i].X, p[i].Y);
  c.EndPath();
  c.SetPolyFillMode(mode);
  c.Brush().SetColor(fill);
  c.FillPath();
}

void Paths(TCanvas& c) {
  Label(c, 610, 74, "stars: winding, alternate, rimmed; polygons");
  Star(c, 650, 96, 34, WINDING, 0x0000FFFF);
  Star(c, 720, 96, 34, ALTERNATE, 0x0000FFFF);
  Star(c, 790, 96, 34, WINDING, 0x0001BAF8);
  Star(c, 790, 98, 32, WINDING, 0x0000FFFF);
  const TPoint tri[] = {{850, 140}, {880, 96}, {910, 140}};
  c.Pen().SetColor(clBlack);
  c.Pen().SetWidth(3);
  c.Brush().SetColor(0x0000F6FF);
  c.Polygon(tri);
  c.Pen().SetWidth(1);
}

// ---- Copies and gradients ------------------------------------------------------------

void Copies(TCanvas& c) {
  Label(c, 10, 150, "GradHorizontal, CopyRect 1x / 4x / mirrored, CopyRoundRect over a checker");
  GradHorizontal(c, Rect(10, 170, 250, 210), 0x000080FF, 0x00FF8000);
  TBitmap src(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      src.ScanLine(y)[x] = OpaquePixel(((x + y) % 2) ? clRed : (x < 4 ? clBlue : clLime));
  c.CopyRect(Rect(270, 170, 278, 178), src.Canvas(), Rect(0, 0, 8, 8));
  c.CopyRect(Rect(290, 170, 322, 202), src.Canvas(), Rect(0, 0, 8, 8));
  c.CopyRect(Rect(362, 170, 330, 202), src.Canvas(), Rect(0, 0, 8, 8));

  TBitmap checker(200, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x)
      checker.ScanLine(y)[x] = OpaquePixel(((x / 5 + y / 5) % 2) ? 0x00DDDDDD : 0x00999999);
  c.Draw(380, 170, checker);
  TBitmap bar(200, 40);
  bar.Canvas().Brush().SetColor(0x00BE5210);
  bar.Canvas().FillRect(Rect(0, 0, 200, 40));
  GradHorizontal(bar.Canvas(), Rect(40, 0, 120, 40), 0x00BE5210, 0x00FFC080);
  TCanvas on;
  on.Bind(c.Target(), Point(380, 170), Rect(380, 170, 580, 210));
  CopyRoundRect(bar.Canvas(), RoundRect(Rect(0, 0, 200, 40), 20, 20), on, Rect(0, 0, 200, 40), 1);
}

// ---- Text ---------------------------------------------------------------------------------

void Text(TCanvas& c) {
  Label(c, 10, 220, "text in the window's fonts; TextOut over a solid brush and a clear one");
  struct Line {
    const char* name;
    int size;
    TFontStyles style;
  };
  const Line lines[] = {{"Segoe UI", 8, {}},          {"Segoe UI", 10, {}},
                        {"Segoe UI", 12, {fsBold}},   {"Segoe UI", 16, {}},
                        {"Segoe UI", 22, {fsItalic}}, {"Segoe UI Semibold", 14, {}},
                        {"Segoe UI Light", 18, {}},   {"Segoe Print", 14, {}},
                        {"Tahoma", 11, {}},           {"Tahoma", 11, {fsUnderline}}};
  int y = 238;
  for (const Line& l : lines) {
    c.Font().Reset();
    c.Font().SetName(l.name);
    c.Font().SetSize(l.size);
    c.Font().SetStyle(l.style);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    const std::string text = std::string(l.name) + " " + std::to_string(l.size) +
                             ": Launch Valdor III \xE2\x80\x94 \xC3\xA9\xC3\xA8 0123";
    c.TextOut(20, y, text);
    y += c.TextHeight(text) + 2;
  }
  c.Font().Reset();
  c.Font().SetSize(12);
  c.Font().SetColor(clWhite);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(0x00212121);
  c.TextOut(520, 240, "TextOut with a solid brush");
  c.Font().SetColor(clBlack);
  c.Brush().SetStyle(bsClear);
  c.TextOut(520, 270, "TextOut with a clear brush");
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(0x00C0FFC0);
  c.TextRect(Rect(520, 300, 640, 320), 510, 300, "TextRect clips this long line");
}

// ---- Glyphs -------------------------------------------------------------------------------

void Glyphs(TCanvas& c) {
  Label(c, 10, 500, "button glyphs in the default face, and icon-font code points");
  const char* glyphs[] = {"\u2714", "\u274C",     "\u2705 ",   "\U0001F6AB", "\u2754 ",
                          "\u26A0", "\u27A4",     "\u1405",    "\u140A",     "\u1403",
                          "\u1401", "\u279C",     "\u27A5",    "\U0001F501", "\u25BC ",
                          "\u25B2", "\U0001F50E", "\U0001F50D"};
  int x = 20;
  for (const char* g : glyphs) {
    c.Font().Reset();
    c.Font().SetSize(16);
    c.Font().SetColor(0x00303030);
    c.Brush().SetStyle(bsClear);
    c.TextOut(x, 518, g);
    x += 44;
  }
  const char* icons[] = {"\uE711", "\uE713", "\uE734"};
  x = 20;
  for (const char* name : {"Segoe Fluent Icons", "Segoe MDL2 Assets"}) {
    for (const char* g : icons) {
      c.Font().Reset();
      c.Font().SetName(name);
      c.Font().SetSize(18);
      c.Font().SetColor(0x00D77800);
      c.Brush().SetStyle(bsClear);
      c.TextOut(x, 560, g);
      x += 44;
    }
  }
}

// ---- Magnified ------------------------------------------------------------------------------

// Small drawings the controls make, enlarged with CopyRect: a
// button's rounded corner, the 25 x 25 check-mark circle, the 25 x 25 star.
void Magnified(TCanvas& c) {
  Label(c, 660, 330, "magnified: corner 12 (x5), circle pen 2 (x4), star (x3)");
  TBitmap corner(20, 20);
  corner.Canvas().Brush().SetColor(0x0000A5FF);
  corner.Canvas().FillRect(Rect(0, 0, 20, 20));
  corner.Canvas().Brush().SetStyle(bsClear);
  corner.Canvas().Pen().SetColor(0x00303030);
  for (int i = 0; i <= 12; ++i)
    corner.Canvas().RoundRect(0, 0, 40, 40, i, i);
  c.CopyRect(Bounds(660, 350, 100, 100), corner.Canvas(), Rect(0, 0, 20, 20));

  TBitmap circle(25, 25);
  circle.Canvas().Brush().SetColor(clWhite);
  circle.Canvas().FillRect(Rect(0, 0, 25, 25));
  circle.Canvas().Pen().SetColor(0x0016F900);
  circle.Canvas().Pen().SetWidth(2);
  circle.Canvas().Brush().SetColor(0x0000E900);
  circle.Canvas().Ellipse(1, 1, 24, 24);
  circle.Canvas().Pen().SetColor(clWhite);
  circle.Canvas().MoveTo(5, 13);
  circle.Canvas().LineTo(10, 17);
  circle.Canvas().LineTo(18, 6);
  c.CopyRect(Bounds(770, 350, 100, 100), circle.Canvas(), Rect(0, 0, 25, 25));

  TBitmap star(25, 25);
  star.Canvas().Brush().SetColor(clWhite);
  star.Canvas().FillRect(Rect(0, 0, 25, 25));
  Star(star.Canvas(), 12, 1, 14, WINDING, 0x0001BAF8);
  Star(star.Canvas(), 12, 1, 13, WINDING, 0x0000FFFF);
  c.CopyRect(Bounds(878, 350, 75, 75), star.Canvas(), Rect(0, 0, 25, 25));
}

// ---- Pictures -------------------------------------------------------------------------------

// A 64 × 64 picture with straight alpha: a colour wheel that fades out
// towards its rim, on a transparent ground.
std::unique_ptr<TPngImage> Wheel() {
  PngRaster r;
  r.width = 64;
  r.height = 64;
  r.bitDepth = 8;
  r.colorType = COLOR_RGBALPHA;
  r.rowBytes = PngRowBytes(64, COLOR_RGBALPHA, 8);
  r.data.resize(r.rowBytes * 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const double dx = x - 31.5, dy = y - 31.5;
      const double d = std::sqrt(dx * dx + dy * dy) / 32;
      const double a = std::atan2(dy, dx);
      uint8_t* p = r.Row(y) + x * 4;
      p[0] = static_cast<uint8_t>(127 + 127 * std::cos(a));
      p[1] = static_cast<uint8_t>(127 + 127 * std::cos(a + 2.094));
      p[2] = static_cast<uint8_t>(127 + 127 * std::cos(a + 4.189));
      p[3] = static_cast<uint8_t>(d >= 1 ? 0 : 255 * (1 - d * d));
    }
  }
  auto png = std::make_unique<TPngImage>();
  png->LoadFromRaster(std::move(r));
  return png;
}

void Pictures(TCanvas& c) {
  Label(c, 10, 600, "a PNG with alpha over a checker: 0.5x, 1x, 2x; opacity 255, 160, 100, 40");
  for (int y = 620; y < 750; ++y)
    for (int x = 10; x < 950; ++x)
      c.Target()->ScanLine(y)[x] = OpaquePixel(((x / 8 + y / 8) % 2) ? 0x00EEEEEE : 0x00BBBBBB);
  auto wheel = Wheel();
  TCanvasHelper::DrawHighQuality(c, Bounds(20, 640, 32, 32), *wheel, 255, false);
  TCanvasHelper::DrawHighQuality(c, Bounds(70, 640, 64, 64), *wheel, 255, false);
  TCanvasHelper::DrawHighQuality(c, Bounds(150, 620, 128, 128), *wheel, 255, true);
  int x = 300;
  for (int opacity : {255, 160, 100, 40}) {
    TCanvasHelper::DrawHighQuality(c, Bounds(x, 640, 64, 64), *wheel, static_cast<uint8_t>(opacity),
                                   false);
    x += 80;
  }
  // Enlarged 8 × 8 bitmap: soft edges without edge fill, solid with it.
  TBitmap small(8, 8);
  small.Canvas().Brush().SetColor(0x00BE5210);
  small.Canvas().FillRect(Rect(0, 0, 8, 8));
  small.Canvas().Brush().SetColor(clWhite);
  small.Canvas().FillRect(Rect(2, 2, 6, 6));
  DrawBitmapHighQuality(c, Bounds(640, 630, 100, 100), small, 255, false, false);
  DrawBitmapHighQuality(c, Bounds(760, 630, 100, 100), small, 255, false, true);
  c.StretchDraw(Bounds(880, 650, 64, 64), small);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = vark::os::ProgramArguments(argc, argv);
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: testpage OUT.png\n");
    return 2;
  }
  try {
    TBitmap page(kWidth, kHeight);
    TCanvas& c = page.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, kWidth, kHeight));
    Shapes(c);
    Lines(c);
    Paths(c);
    Copies(c);
    Text(c);
    Glyphs(c);
    Magnified(c);
    Pictures(c);
    vark::SavePng(page, args[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "testpage: %s\n", e.what());
    return 1;
  }
  return 0;
}
