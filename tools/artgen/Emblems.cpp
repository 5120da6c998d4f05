// The eight edition emblems. Each is designed on a 100 × 100 grid and drawn at
// the size its row needs; a dark rim keeps every one readable on the light row
// panels, and each has its own silhouette and colour so the rows tell apart at
// a glance even at 33 pixels.
#include <cmath>
#include <stdexcept>

#include "Pictures.h"

namespace artgen {
namespace {

class Emblem {
 public:
  explicit Emblem(int size)
      : size_(size), image_(size, size), canvas_(image_, {size / 100.f, {0, 0}}) {}

  // A soft shadow of the silhouette, below everything drawn after it.
  void Shadow(const Path& silhouette, float rim) {
    Image shadow(size_, size_);
    Canvas c(shadow, {size_ / 100.f, {size_ * 0.015f, size_ * 0.03f}});
    Path all = silhouette;
    all.Append(Outline(silhouette, rim * 2));
    c.Fill(all, Rgb(0, 0, 0, 0.45f));
    image_.Composite(shadow.Blurred(std::max(1, size_ / 48)), 0, 0);
  }

  // The shape filled with `paint` inside a dark rim `rim` units wide.
  void Rimmed(const Path& shape, const Paint& paint, Color rimColor, float rim) {
    canvas_.Fill(Outline(shape, rim * 2), rimColor);
    canvas_.Fill(shape, paint);
  }
  void Rimmed(const Path& shape, Color color, Color rimColor, float rim) {
    Rimmed(
        shape, [color](Vec2) { return color; }, rimColor, rim);
  }

  Canvas& Draw() { return canvas_; }
  Image Take() { return image_; }
  int Size() const { return size_; }

 private:
  int size_;
  Image image_;
  Canvas canvas_;
};

std::vector<Vec2> SineLine(float x0, float x1, float y, float amplitude, float period) {
  std::vector<Vec2> pts;
  for (float x = x0; x <= x1 + 0.01f; x += 1.f)
    pts.push_back({x, y + amplitude * std::sin((x - x0) / period * 2 * kPi)});
  return pts;
}

// Edition 1: a trident rising from the sea on a teal medallion.
Image Tidemark(int size) {
  Emblem e(size);
  const Color rim = Rgb(12, 38, 48);
  Path disc;
  disc.AddCircle({50, 50}, 44);
  e.Shadow(disc, 3.5f);
  e.Rimmed(disc, RadialGradient({38, 32}, 62, Rgb(96, 214, 218), Rgb(14, 96, 128)), rim, 3.5f);
  const Coverage inside = e.Draw().Mask(disc);

  // The sea: a darker band below a wave line, and a second line of foam.
  std::vector<Vec2> sea = SineLine(4, 96, 68, 3, 23);
  sea.push_back({96, 100});
  sea.push_back({4, 100});
  Path seaPath;
  seaPath.AddPolygon(sea);
  e.Draw().Fill(seaPath, LinearGradient({0, 66}, {0, 96}, Rgb(20, 110, 150), Rgb(8, 52, 84)),
                &inside);
  for (float y : {68.f, 80.f}) {
    Path foam;
    foam.AddStroke(SineLine(4, 96, y, 3, 23), y < 70 ? 5.f : 4.f);
    e.Draw().Fill(foam, Rgb(226, 248, 246), &inside);
  }

  // The trident, dark first and then gold over it, for a rim around every prong.
  auto trident = [](float width) {
    Path p;
    const Vec2 fork[] = {{31, 22}, {31, 38}, {37, 45}, {63, 45}, {69, 38}, {69, 22}};
    p.AddStroke(fork, width);
    const Vec2 shaft[] = {{50, 16}, {50, 74}};
    p.AddStroke(shaft, width);
    const float g = (width - 6) / 2;  // the tips grow with the stroke
    for (float x : {31.f, 50.f, 69.f}) {
      const float top = x == 50 ? 6 : 12;
      const Vec2 tip[] = {
          {x - 7 - g, top + 14 + g}, {x, top - g * 1.4f}, {x + 7 + g, top + 14 + g}};
      p.AddPolygon(tip);
    }
    return p;
  };
  e.Draw().Fill(trident(12), rim);
  e.Draw().Fill(trident(6), LinearGradient({0, 8}, {0, 74}, Rgb(255, 232, 140), Rgb(214, 150, 36)));
  return e.Take();
}

// Edition 2: an ash-grey heater shield with a crimson chevron.
Image AshenVow(int size) {
  Emblem e(size);
  const Color rim = Rgb(30, 24, 28);
  std::vector<Vec2> outline = {{13, 9}, {87, 9}, {87, 44}};
  AppendCubic(outline, {87, 44}, {87, 70}, {68, 86}, {50, 96});
  AppendCubic(outline, {50, 96}, {32, 86}, {13, 70}, {13, 44});
  Path shield;
  shield.AddPolygon(outline);
  e.Shadow(shield, 4);
  e.Rimmed(shield, LinearGradient({20, 10}, {80, 90}, Rgb(196, 196, 204), Rgb(96, 96, 108)), rim,
           4);
  const Coverage inside = e.Draw().Mask(shield);
  // A dark chief across the top, the chevron below it.
  Path chief;
  chief.AddRect(0, 0, 100, 27);
  e.Draw().Fill(chief, Rgb(58, 56, 64), &inside);
  Path chiefLine;
  const Vec2 line[] = {{10, 27}, {90, 27}};
  chiefLine.AddStroke(line, 3);
  e.Draw().Fill(chiefLine, rim, &inside);
  const Vec2 chevron[] = {{6, 78}, {50, 38}, {94, 78}, {94, 98}, {50, 58}, {6, 98}};
  Path chev;
  chev.AddPolygon(chevron);
  e.Draw().Fill(Outline(chev, 4), rim, &inside);
  e.Draw().Fill(chev, LinearGradient({0, 40}, {0, 90}, Rgb(222, 46, 52), Rgb(132, 12, 24)),
                &inside);
  // Three embers on the chief.
  for (float x : {30.f, 50.f, 70.f}) {
    Path ember;
    ember.AddCircle({x, 18}, 4.5f);
    e.Draw().Fill(ember, Rgb(255, 150, 60));
  }
  return e.Take();
}

// Edition 3: a gold crown set with jewels.
Image Complete(int size) {
  Emblem e(size);
  const Color rim = Rgb(74, 44, 8);
  std::vector<Vec2> top = {{14, 70}, {9, 30}, {31, 50}, {50, 18}, {69, 50}, {91, 30}, {86, 70}};
  Path crown;
  crown.AddPolygon(top);
  crown.AddRoundRect(12, 60, 88, 84, 4);
  for (Vec2 c : {Vec2{9, 27}, Vec2{50, 15}, Vec2{91, 27}})
    crown.AddCircle(c, 6);
  e.Shadow(crown, 3.5f);
  e.Rimmed(crown, LinearGradient({0, 12}, {0, 84}, Rgb(255, 236, 130), Rgb(204, 136, 18)), rim,
           3.5f);
  // The band's edge and its jewels.
  const Vec2 edge[] = {{14, 62}, {86, 62}};
  Path band;
  band.AddStroke(edge, 3);
  e.Draw().Fill(band, rim);
  Path ruby, sapphires;
  ruby.AddEllipse({50, 73}, 6, 6);
  sapphires.AddEllipse({29, 73}, 4.5f, 4.5f);
  sapphires.AddEllipse({71, 73}, 4.5f, 4.5f);
  e.Rimmed(ruby, RadialGradient({48, 71}, 7, Rgb(255, 120, 120), Rgb(170, 10, 30)), rim, 1.5f);
  e.Rimmed(sapphires, Rgb(50, 110, 230), rim, 1.5f);
  return e.Take();
}

// Edition 4: a sun rising over the horizon.
Image DawnOfVelmar(int size) {
  Emblem e(size);
  const Color rim = Rgb(92, 26, 36);
  Path rays;
  for (int i = 0; i < 9; ++i) {
    const float a = kPi + kPi * (i + 0.5f) / 9;
    const float half = 0.11f;
    const Vec2 c{50, 70};
    const Vec2 ray[] = {{c.x + 28 * std::cos(a - half), c.y + 28 * std::sin(a - half)},
                        {c.x + 47 * std::cos(a), c.y + 47 * std::sin(a)},
                        {c.x + 28 * std::cos(a + half), c.y + 28 * std::sin(a + half)}};
    rays.AddPolygon(ray);
  }
  std::vector<Vec2> half;
  AppendArc(half, {50, 70}, 27, kPi, 2 * kPi, 48);
  Path sun;
  sun.AddPolygon(half);
  Path horizon;
  horizon.AddRoundRect(5, 68, 95, 80, 5);
  Path all = rays;
  all.Append(sun);
  all.Append(horizon);
  e.Shadow(all, 3.5f);
  e.Rimmed(rays, RadialGradient({50, 70}, 47, Rgb(255, 196, 90), Rgb(246, 104, 84)), rim, 3);
  e.Rimmed(sun, LinearGradient({0, 43}, {0, 70}, Rgb(255, 238, 140), Rgb(255, 134, 40)), rim, 3.5f);
  e.Rimmed(horizon, LinearGradient({0, 68}, {0, 80}, Rgb(196, 70, 110), Rgb(120, 30, 70)), rim,
           3.5f);
  // Its reflection: two short strokes under the horizon.
  for (auto [y, w] : {std::pair{86.f, 18.f}, std::pair{92.f, 10.f}}) {
    const Vec2 line[] = {{50 - w, y}, {50 + w, y}};
    Path p;
    p.AddStroke(line, 4);
    e.Rimmed(p, Rgb(255, 170, 90), rim, 1.5f);
  }
  return e.Take();
}

// Edition 5: a pale crescent moon with a star.
Image PaleReach(int size) {
  Emblem e(size);
  const Color rim = Rgb(26, 34, 76);
  Path outer, inner;
  outer.AddCircle({46, 50}, 42);
  inner.AddCircle({63, 40}, 35);
  Path star;
  star.AddPolygon(StarPoints({72, 56}, 4, 15, 5, 0));
  const Coverage notInnerWide = Inverted(e.Draw().Mask(inner), size, size);
  Path innerSmall;
  innerSmall.AddCircle({63, 40}, 35 - 3.5f);
  const Coverage notInnerRim = Inverted(e.Draw().Mask(innerSmall), size, size);

  Path outerBig;
  outerBig.AddCircle({46, 50}, 42 + 3.5f);
  // The shadow and the rim follow the crescent: the disc less the bite.
  Image shadow(size, size);
  {
    Canvas c(shadow, {size / 100.f, {size * 0.015f, size * 0.03f}});
    const Coverage bite = Inverted(c.Mask(innerSmall), size, size);
    c.Fill(outerBig, Rgb(0, 0, 0, 0.45f), &bite);
    Path starRim = star;
    starRim.Append(Outline(star, 7));
    c.Fill(starRim, Rgb(0, 0, 0, 0.45f));
  }
  e.Draw().Target().Composite(shadow.Blurred(std::max(1, size / 48)), 0, 0);
  e.Draw().Fill(outerBig, rim, &notInnerRim);
  e.Draw().Fill(outer, RadialGradient({30, 40}, 60, Rgb(246, 250, 255), Rgb(140, 170, 222)),
                &notInnerWide);
  // Two faint craters.
  for (auto [c, r] : {std::pair{Vec2{22, 52}, 5.f}, std::pair{Vec2{34, 76}, 4.f}}) {
    Path crater;
    crater.AddCircle(c, r);
    e.Draw().Fill(crater, Rgb(150, 176, 224, 0.7f), &notInnerWide);
  }
  e.Rimmed(star, Rgb(236, 244, 255), rim, 3);
  return e.Take();
}

std::vector<Vec2> FlamePoints(Vec2 base, float sx, float sy) {
  // A flame on a 100-unit grid with its foot at (50, 95), scaled about that foot.
  std::vector<Vec2> p = {{50, 95}};
  AppendCubic(p, {50, 95}, {22, 95}, {12, 72}, {24, 52});
  AppendCubic(p, {24, 52}, {30, 42}, {36, 36}, {32, 20});
  AppendCubic(p, {32, 20}, {44, 30}, {47, 38}, {46, 46});
  AppendCubic(p, {46, 46}, {50, 30}, {56, 18}, {52, 3});
  AppendCubic(p, {52, 3}, {66, 16}, {74, 30}, {70, 42});
  AppendCubic(p, {70, 42}, {74, 38}, {77, 32}, {76, 24});
  AppendCubic(p, {76, 24}, {88, 40}, {90, 60}, {84, 74});
  AppendCubic(p, {84, 74}, {78, 90}, {64, 95}, {50, 95});
  for (Vec2& v : p)
    v = {base.x + (v.x - 50) * sx, base.y + (v.y - 95) * sy};
  return p;
}

// Edition 6: a flame, red outside and yellow at its heart.
Image Emberfall(int size) {
  Emblem e(size);
  const Color rim = Rgb(70, 14, 8);
  Path flame, heart;
  flame.AddPolygon(FlamePoints({50, 95}, 1, 1));
  heart.AddPolygon(FlamePoints({50, 92}, 0.55f, 0.6f));
  e.Shadow(flame, 4);
  e.Rimmed(flame, LinearGradient({0, 10}, {0, 95}, Rgb(255, 120, 40), Rgb(200, 24, 16)), rim, 4);
  e.Draw().Fill(heart, LinearGradient({0, 40}, {0, 92}, Rgb(255, 246, 160), Rgb(255, 178, 44)));
  return e.Take();
}

// Edition 7: a cut emerald.
Image LumenGeneration2(int size) {
  Emblem e(size);
  const Color rim = Rgb(8, 48, 30);
  const Vec2 a{8, 40}, b{27, 18}, c{73, 18}, d{92, 40}, tip{50, 94}, l{35, 40}, r{65, 40};
  const Vec2 outline[] = {a, b, c, d, tip};
  Path gem;
  gem.AddPolygon(outline);
  e.Shadow(gem, 4);
  e.Rimmed(gem, Rgb(30, 160, 96), rim, 4);
  auto facet = [&](std::initializer_list<Vec2> pts, Color col) {
    Path p;
    p.AddPolygon(std::vector<Vec2>(pts));
    e.Draw().Fill(p, col);
  };
  facet({b, c, r, l}, Rgb(150, 250, 190));
  facet({a, b, l}, Rgb(70, 214, 140));
  facet({c, d, r}, Rgb(40, 170, 104));
  facet({a, l, tip}, Rgb(24, 140, 84));
  facet({l, r, tip}, Rgb(52, 196, 124));
  facet({r, d, tip}, Rgb(14, 104, 62));
  // The facet edges, thin and dark.
  Path edges;
  const Vec2 girdle[] = {a, d};
  edges.AddStroke(girdle, 2);
  for (auto [p, q] : {std::pair{l, tip}, std::pair{r, tip}, std::pair{b, l}, std::pair{c, r}}) {
    const Vec2 seg[] = {p, q};
    edges.AddStroke(seg, 2);
  }
  e.Draw().Fill(edges, WithAlpha(rim, 0.8f));
  Path sparkle;
  sparkle.AddPolygon(StarPoints({34, 27}, 4, 10, 2.5f, 0));
  e.Draw().Fill(sparkle, Rgb(255, 255, 255, 0.95f));
  return e.Take();
}

// Edition 8: a violet obelisk with a glowing rune.
Image Ovre(int size) {
  Emblem e(size);
  const Color rim = Rgb(30, 10, 52);
  const Vec2 shaft[] = {{33, 86}, {38, 22}, {50, 5}, {62, 22}, {67, 86}};
  Path obelisk;
  obelisk.AddPolygon(shaft);
  Path plinth;
  plinth.AddRoundRect(20, 82, 80, 95, 3);
  Path all = obelisk;
  all.Append(plinth);
  e.Shadow(all, 3.5f);
  e.Rimmed(obelisk, LinearGradient({30, 0}, {70, 0}, Rgb(186, 130, 246), Rgb(84, 36, 140)), rim,
           3.5f);
  // The shaded right face.
  const Vec2 face[] = {{50, 5}, {62, 22}, {67, 86}, {52, 86}, {52, 22}};
  Path shade;
  shade.AddPolygon(face);
  e.Draw().Fill(shade, Rgb(40, 10, 80, 0.35f));
  e.Rimmed(plinth, LinearGradient({0, 82}, {0, 95}, Rgb(120, 80, 170), Rgb(60, 28, 100)), rim,
           3.5f);
  // The rune: an eye of two arcs around a dot, glowing pink.
  std::vector<Vec2> eye;
  AppendQuadratic(eye, {40, 52}, {50, 38}, {60, 52}, 10);
  AppendQuadratic(eye, {60, 52}, {50, 66}, {40, 52}, 10);
  Path glow, rune, pupil;
  glow.AddStroke(eye, 8, true);
  rune.AddStroke(eye, 3.5f, true);
  pupil.AddCircle({50, 52}, 3.5f);
  e.Draw().Fill(glow, Rgb(255, 110, 230, 0.35f));
  e.Draw().Fill(rune, Rgb(255, 190, 250));
  e.Draw().Fill(pupil, Rgb(255, 230, 255));
  return e.Take();
}

}  // namespace

Image RenderEdition(int edition, int size) {
  switch (edition) {
    case 1:
      return Tidemark(size);
    case 2:
      return AshenVow(size);
    case 3:
      return Complete(size);
    case 4:
      return DawnOfVelmar(size);
    case 5:
      return PaleReach(size);
    case 6:
      return Emberfall(size);
    case 7:
      return LumenGeneration2(size);
    case 8:
      return Ovre(size);
  }
  throw std::out_of_range("no edition " + std::to_string(edition));
}

}  // namespace artgen
