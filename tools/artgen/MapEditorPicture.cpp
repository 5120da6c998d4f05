// The map editor button's picture: a map folded in three, with a dashed route
// that ends in a cross. The button treats pure black as see-through, so the
// darkest ink and even the shadow here are a deep brown.
#include <cmath>

#include "Pictures.h"

namespace artgen {

Image RenderMapEditor(int size) {
  Image image(size, size);
  Canvas canvas(image, {size / 100.f, {0, 0}});
  const Color ink = Rgb(70, 42, 18);

  const Vec2 panels[3][4] = {{{8, 22}, {36, 13}, {36, 79}, {8, 88}},
                             {{36, 13}, {64, 22}, {64, 88}, {36, 79}},
                             {{64, 22}, {92, 13}, {92, 79}, {64, 88}}};
  const Color shades[3] = {Rgb(242, 228, 192), Rgb(212, 192, 150), Rgb(236, 220, 182)};
  Path map;
  for (const auto& p : panels)
    map.AddPolygon(p);
  {
    Image shadow(size, size);
    Canvas(shadow, {size / 100.f, {size * 0.02f, size * 0.03f}}).Fill(map, Rgb(24, 14, 6, 0.4f));
    image.Composite(shadow.Blurred(std::max(1, size / 40)), 0, 0);
  }
  canvas.Fill(Outline(map, 5), ink);
  const Coverage paper = canvas.Mask(map);
  for (int i = 0; i < 3; ++i) {
    Path p;
    p.AddPolygon(panels[i]);
    canvas.Fill(p, shades[i]);
  }
  // A stretch of coast and a lake.
  Path land, lake;
  land.AddEllipse({24, 40}, 16, 11, 0.3f);
  land.AddEllipse({70, 66}, 18, 10, -0.2f);
  lake.AddEllipse({58, 40}, 8, 6, 0.4f);
  canvas.Fill(land, Rgb(132, 168, 96, 0.8f), &paper);
  canvas.Fill(lake, Rgb(96, 150, 196, 0.85f), &paper);
  // The fold lines.
  Path folds;
  for (float x : {36.f, 64.f}) {
    const Vec2 line[] = {{x, x < 50 ? 13.f : 22.f}, {x, x < 50 ? 79.f : 88.f}};
    folds.AddStroke(line, 2);
  }
  canvas.Fill(folds, WithAlpha(ink, 0.6f));

  // The route: every other piece of a curve, then the cross where it ends.
  std::vector<Vec2> route = {{16, 74}};
  AppendCubic(route, {16, 74}, {30, 52}, {50, 80}, {74, 38}, 24);
  Path dashes;
  for (size_t i = 0; i + 1 < route.size(); i += 2) {
    const Vec2 dash[] = {route[i], route[i + 1]};
    dashes.AddStroke(dash, 4.5f);
  }
  const Color red = Rgb(196, 34, 26);
  canvas.Fill(dashes, red, &paper);
  Path cross;
  const Vec2 a[] = {{68, 26}, {82, 40}}, b[] = {{82, 26}, {68, 40}};
  cross.AddStroke(a, 7);
  cross.AddStroke(b, 7);
  // A pale halo lifts the cross off the map.
  Path crossRim;
  crossRim.AddStroke(a, 11);
  crossRim.AddStroke(b, 11);
  canvas.Fill(crossRim, Rgb(250, 240, 214));
  canvas.Fill(cross, red);
  return image;
}

}  // namespace artgen
