// The right-hand panel's backdrop: a sheet of parchment with deckled, browned
// edges, a thin ink frame and two dividers under the panel's headings, on a
// soft shadow that lets the window's background show around it.
#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Pictures.h"

namespace artgen {
namespace {

// The sheet's outline: a rounded rectangle whose edge wanders a few pixels.
Path Sheet(float left, float top, float right, float bottom, float radius, uint32_t seed) {
  Path plain;
  plain.AddRoundRect(left, top, right, bottom, radius);
  const Vec2 centre{(left + right) / 2, (top + bottom) / 2};
  std::vector<Vec2> pts;
  const auto& contour = plain.Contours().front();
  for (size_t i = 0; i < contour.size(); ++i) {
    const Vec2 a = contour[i], b = contour[(i + 1) % contour.size()];
    const int steps = std::max(1, static_cast<int>(Length(b - a) / 3));
    for (int s = 0; s < steps; ++s) {
      const Vec2 p = Lerp(a, b, static_cast<float>(s) / steps);
      const Vec2 out = p - centre;
      const float len = Length(out);
      const float wobble = 1.6f * Fbm(p.x * 0.05f, p.y * 0.05f, 3, seed);
      pts.push_back(p + out * (wobble / len));
    }
  }
  Path sheet;
  sheet.AddPolygon(pts);
  return sheet;
}

void Diamond(Path& path, Vec2 c, float r) {
  const Vec2 pts[] = {{c.x, c.y - r}, {c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}};
  path.AddPolygon(pts);
}

// A short rule with a diamond in its middle, fading toward both ends.
void Divider(Canvas& canvas, float y, float left, float right, Color ink) {
  Path line;
  const Vec2 pts[] = {{left, y}, {right, y}};
  line.AddStroke(pts, 1.6f);
  const float mid = (left + right) / 2, half = (right - left) / 2;
  canvas.Fill(line, [=](Vec2 p) {
    return WithAlpha(ink, ink.a * (1 - SmoothStep(0.35f, 1.f, std::fabs(p.x - mid) / half)));
  });
  Path gem;
  Diamond(gem, {mid, y}, 6);
  canvas.Fill(gem, ink);
  Path dots;
  for (float dx : {-16.f, 16.f})
    dots.AddCircle({mid + dx, y}, 2);
  canvas.Fill(dots, ink);
}

}  // namespace

// The panel's controls span x 42..383 and y 18..577 of the picture (it is
// shown at 297 × 425), so the sheet runs close to the picture's edge and its
// frame stays clear of the text.
Image RenderBackdrop(int width, int height, uint32_t seed) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const Path sheet = Sheet(4, 3, w - 6, h - 9, 14, seed);

  Image image(width, height);
  {
    Image shadow(width, height);
    Canvas(shadow, {1, {2, 4}}).Fill(sheet, Rgb(0, 0, 0, 0.5f));
    image.Composite(shadow.Blurred(3), 0, 0);
  }
  Canvas canvas(image, {1, {0, 0}});

  // How far a point lies inside the sheet, from the sheet's own blurred mask:
  // 0.5 on the edge, 1 well inside.
  Image inside(width, height);
  Canvas(inside, {1, {0, 0}}).Fill(sheet, Rgb(255, 255, 255));
  const Image depth = inside.Blurred(4);

  const Color paper = Rgb(242, 230, 203), burnt = Rgb(150, 98, 52);
  canvas.Fill(sheet, [&](Vec2 p) {
    const int x = std::clamp(static_cast<int>(p.x), 0, width - 1);
    const int y = std::clamp(static_cast<int>(p.y), 0, height - 1);
    // Broad stains, then fine fibres running across the sheet.
    const float stain = Fbm(p.x * 0.012f, p.y * 0.012f, 4, seed + 1);
    const float fibre = Fbm(p.x * 0.02f, p.y * 0.35f, 2, seed + 2);
    Color c = Scaled(paper, 1 + 0.045f * stain + 0.02f * fibre);
    const float edge = 1 - SmoothStep(0.5f, 1.f, depth.At(x, y).a);
    const float scorch = Clamp01(edge * (1.1f + 0.6f * Fbm(p.x * 0.03f, p.y * 0.03f, 3, seed + 3)));
    c = MixColor(c, burnt, scorch * 0.85f);
    return WithAlpha(c, 1);
  });

  // The ink frame with diamonds at its corners.
  const Color ink = Rgb(112, 74, 40, 0.75f);
  const float left = 13, top = 11, right = w - 14, bottom = h - 17;
  Path frame;
  frame.AddRoundRect(left, top, right, bottom, 8);
  canvas.Fill(Outline(frame, 1.6f), ink);
  Path corners;
  for (Vec2 c : {Vec2{left, top}, Vec2{right, top}, Vec2{left, bottom}, Vec2{right, bottom}})
    Diamond(corners, c, 5);
  canvas.Fill(corners, ink);

  // Rules under the two headings ("Aditional" near the top, "Options" lower down).
  Divider(canvas, 0.135f * h, 0.2f * w, 0.8f * w, ink);
  Divider(canvas, 0.535f * h, 0.2f * w, 0.8f * w, ink);
  return image;
}

}  // namespace artgen
