// The program's icon: an amber shield bearing the numeral III on a dark tile,
// over two crossed swords where the icon is large enough to show them.
#include <algorithm>

#include "Pictures.h"

namespace artgen {
namespace {

void Sword(Canvas& canvas, Vec2 tip, Vec2 pommel, Color rim) {
  const Vec2 d = pommel - tip;
  const float len = Length(d);
  const Vec2 u = d * (1 / len), n{-u.y, u.x};
  const Vec2 guard = tip + u * (len * 0.74f);
  const Vec2 shoulder = tip + u * 9.f;
  const Vec2 blade[] = {tip, shoulder + n * 4.f, guard + n * 4.f, guard - n * 4.f,
                        shoulder - n * 4.f};
  Path b;
  b.AddPolygon(blade);
  Path hilt;
  const Vec2 cross[] = {guard + n * 11.f, guard - n * 11.f};
  hilt.AddStroke(cross, 5);
  const Vec2 grip[] = {guard, pommel};
  hilt.AddStroke(grip, 4.5f);
  hilt.AddCircle(pommel, 4);
  Path all = b;
  all.Append(hilt);
  canvas.Fill(Outline(all, 4), rim);
  canvas.Fill(all, rim);
  canvas.Fill(b, LinearGradient(tip, guard, Rgb(236, 240, 248), Rgb(150, 158, 176)));
  canvas.Fill(hilt, Rgb(214, 160, 48));
}

}  // namespace

Image RenderAppIcon(int size) {
  Image image(size, size);
  Canvas canvas(image, {size / 100.f, {0, 0}}, 8);
  const Color rim = Rgb(34, 20, 8);
  const bool detailed = size >= 48;

  Path tile;
  tile.AddRoundRect(3, 3, 97, 97, 20);
  canvas.Fill(tile, LinearGradient({0, 3}, {0, 97}, Rgb(66, 58, 70), Rgb(28, 26, 32)));
  Path tileEdge;
  tileEdge.AddRoundRect(3, 3, 97, 97, 20);
  const Coverage inTile = canvas.Mask(tile);
  canvas.Fill(Outline(tileEdge, detailed ? 2.5f : 5.f), Rgb(255, 166, 40, 0.8f), &inTile);

  if (detailed) {
    Sword(canvas, {16, 14}, {80, 84}, rim);
    Sword(canvas, {84, 14}, {20, 84}, rim);
  }

  std::vector<Vec2> outline = {{24, 20}, {76, 20}, {76, 46}};
  AppendCubic(outline, {76, 46}, {76, 68}, {62, 80}, {50, 90});
  AppendCubic(outline, {50, 90}, {38, 80}, {24, 68}, {24, 46});
  if (!detailed)  // small icons: the shield fills the tile
    for (Vec2& p : outline)
      p = {50 + (p.x - 50) * 1.3f, 52 + (p.y - 55) * 1.12f};
  Path shield;
  shield.AddPolygon(outline);
  canvas.Fill(Outline(shield, detailed ? 6 : 8), rim);
  canvas.Fill(shield, LinearGradient({0, 20}, {0, 90}, Rgb(255, 222, 70), Rgb(240, 118, 8)));
  // A light bevel along the top edge.
  const Coverage inShield = canvas.Mask(shield);
  Path bevel;
  bevel.AddRect(0, 0, 100, 28);
  canvas.Fill(bevel, Rgb(255, 250, 210, 0.35f), &inShield);

  // The numeral: three strokes between two bars, as carved into the shield.
  const float s = detailed ? 1.f : 1.25f;
  auto X = [s](float x) { return 50 + (x - 50) * s; };
  auto Y = [s](float y) { return 52 + (y - 52) * s; };
  Path numeral;
  numeral.AddRect(X(34), Y(33), X(66), Y(38));
  numeral.AddRect(X(34), Y(64), X(66), Y(69));
  for (float x : {38.5f, 50.f, 61.5f})
    numeral.AddRect(X(x - 3.5f), Y(36), X(x + 3.5f), Y(66));
  canvas.Fill(numeral, Rgb(64, 32, 6));
  return image;
}

}  // namespace artgen
