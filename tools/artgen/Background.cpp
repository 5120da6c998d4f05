// The main window's background: dusk over mountain ranges, a castle on a crag
// with lit windows, a dead tree in the foreground. The light comes from the top
// left, where the window's black title sits; the ground at the bottom is dark
// for the white footer. The sky is painted at a quarter of the size (it is all
// soft gradients and clouds) and enlarged; the ridges, the castle and the tree
// are sharp vector shapes at full size.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Noise.h"
#include "Pictures.h"

namespace artgen {
namespace {

struct Stop {
  float at;
  Color color;
};

Color Ramp(const std::vector<Stop>& stops, float t) {
  if (t <= stops.front().at) return stops.front().color;
  for (size_t i = 1; i < stops.size(); ++i)
    if (t <= stops[i].at)
      return MixColor(stops[i - 1].color, stops[i].color,
                      SmoothStep(stops[i - 1].at, stops[i].at, t));
  return stops.back().color;
}

// Colours of the sky by distance from the light, in heights of the picture.
const std::vector<Stop> kSky = {{0.00f, Rgb(255, 249, 234)}, {0.30f, Rgb(250, 226, 180)},
                                {0.62f, Rgb(226, 170, 124)}, {0.95f, Rgb(150, 106, 104)},
                                {1.30f, Rgb(82, 70, 90)},    {1.80f, Rgb(44, 40, 54)}};

Image Sky(int width, int height, Vec2 light, uint32_t seed) {
  Image sky(width, height);
  const float unit = static_cast<float>(height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Vec2 p{(x + 0.5f) / unit, (y + 0.5f) / unit};
      const Vec2 toLight = light - p;
      const float d = Length(toLight);
      Color c = Ramp(kSky, d);
      // Long stratus clouds, thinned out near the light so the glow stays clear.
      const float n = Fbm(p.x * 2.2f, p.y * 7.5f, 5, seed);
      const float band = SmoothStep(0.05f, 0.25f, p.y) * (1 - SmoothStep(0.45f, 0.62f, p.y));
      const float density = SmoothStep(-0.05f, 0.45f, n) * band * SmoothStep(0.2f, 0.75f, d);
      // Lit from the light's side: brighter where the cloud thins toward it. The
      // coarse octaves decide that, so the second sample can skip the fine ones.
      const Vec2 step = toLight * (0.02f / std::max(d, 0.01f));
      const float coarse = Fbm(p.x * 2.2f, p.y * 7.5f, 3, seed);
      const float lit = Clamp01(
          0.5f + 2.5f * (coarse - Fbm((p.x + step.x) * 2.2f, (p.y + step.y) * 7.5f, 3, seed)));
      const Color shadow = Rgb(44, 38, 52), rim = Rgb(255, 214, 160);
      const Color cloud = MixColor(shadow, rim, lit * (1 - SmoothStep(0.3f, 1.4f, d)) * 0.9f);
      c = MixColor(c, cloud, density * 0.8f);
      // Rays fanning out from the light.
      const float angle = std::atan2(p.y - light.y, p.x - light.x);
      const float ray = std::pow(0.5f + 0.5f * Noise1(angle * 9.f, seed + 7), 3.f);
      const float rays = ray * std::exp(-d * 2.2f) * 0.3f * SmoothStep(0.08f, 0.3f, d);
      c = MixColor(c, Rgb(255, 236, 200), rays);
      sky.At(x, y) = {c.r, c.g, c.b, 1};
    }
  }
  return sky;
}

struct Range {
  float base, amplitude, period;  // in heights of the picture
  Color color, mist;
  float mistDepth;
  float hillAt = 0, hillHeight = 0, hillWidth = 1;  // a raised hill, in heights
};

std::vector<float> Ridge(const Range& r, int width, float unit, uint32_t seed) {
  std::vector<float> y(width + 1);
  for (int x = 0; x <= width; ++x) {
    const float u = x / unit;
    // Sharp peaks where the slow envelope rises, low rolling ridges elsewhere.
    const float peaks = Ridged1(u / r.period, 5, seed);
    const float roll = 0.5f + 0.5f * Fbm1(u / (r.period * 2.5f), 3, seed + 99);
    const float envelope =
        0.35f + 0.65f * SmoothStep(-0.5f, 0.5f, Fbm1(u / (r.period * 4), 2, seed + 7));
    const float hill = r.hillHeight * std::exp(-std::pow((u - r.hillAt) / r.hillWidth, 2.f));
    y[x] = unit * (r.base - r.amplitude * (0.35f * roll + 0.65f * peaks * envelope) - hill);
  }
  return y;
}

// The ridge averaged over a wide window: the mist lies level along it instead of
// copying every notch of the crest.
std::vector<float> Smoothed(const std::vector<float>& v, int radius) {
  std::vector<float> out(v.size());
  const int n = static_cast<int>(v.size());
  double sum = 0;
  for (int i = -radius; i <= radius; ++i)
    sum += v[std::clamp(i, 0, n - 1)];
  for (int i = 0; i < n; ++i) {
    out[i] = static_cast<float>(sum / (2 * radius + 1));
    sum += v[std::clamp(i + radius + 1, 0, n - 1)] - v[std::clamp(i - radius, 0, n - 1)];
  }
  return out;
}

// Fills everything below the ridge. The ridge is a height per column, so each
// pixel's coverage is measured directly on four sub-columns: exact enough for
// steep slopes and far cheaper than a general fill of the whole lower picture.
void DrawRange(Image& image, const Range& r, const std::vector<float>& ridge) {
  const int width = image.Width(), height = image.Height();
  const std::vector<float> level = Smoothed(ridge, width / 40);
  const float depth = r.mistDepth * height, crestDepth = 0.012f * height;
  const Color lit = MixColor(r.color, r.mist, 0.3f);
  auto ridgeAt = [&](float x) {
    const int i = std::clamp(static_cast<int>(x), 0, width - 1);
    return Mix(ridge[i], ridge[i + 1], x - i);
  };
  for (int x = 0; x < width; ++x) {
    float sub[4], top = 1e30f;
    for (int k = 0; k < 4; ++k)
      top = std::min(top, sub[k] = ridgeAt(x + 0.125f + 0.25f * k));
    for (int y = std::max(0, static_cast<int>(top)); y < height; ++y) {
      float cover = 0;
      for (float s : sub)
        cover += Clamp01(y + 1 - s);
      cover *= 0.25f;
      // The crest catches a little light; the valleys fill with level mist.
      const float crest = SmoothStep(0.f, crestDepth, y + 0.5f - ridge[x]);
      const float below = (y + 0.5f - level[x]) / depth;
      const Color c = MixColor(r.color, r.mist, SmoothStep(0.1f, 1.f, below) * 0.85f);
      image.Blend(x, y, MixColor(lit, c, crest), cover);
    }
  }
}

// A castle on a crag, its windows lit.
void DrawCastle(Image& image, float cx, float groundY, float unit, Color color) {
  Canvas canvas(image, {unit / 1250, {cx, groundY}}, 4);  // design units: 1250 = the height
  Path body;
  std::vector<Vec2> crag = {{-95, 80}, {-70, 10}, {-52, -20}, {-30, -34}, {20, -36},
                            {44, -22}, {60, 0},   {80, 40},   {110, 80}};
  body.AddPolygon(crag);
  body.AddRect(-48, -150, 40, -30);  // the wall
  for (float x = -48; x < 40; x += 16)
    body.AddRect(x, -162, x + 9, -148);  // merlons
  struct Tower {
    float x, w, top, roof;
  };
  const Tower towers[] = {{-62, 26, -205, 70}, {-10, 34, -290, 110}, {34, 22, -220, 64}};
  for (const Tower& t : towers) {
    body.AddRect(t.x - t.w / 2, t.top, t.x + t.w / 2, -30);
    const Vec2 roof[] = {
        {t.x - t.w / 2 - 6, t.top + 2}, {t.x, t.top - t.roof}, {t.x + t.w / 2 + 6, t.top + 2}};
    body.AddPolygon(roof);
  }
  const Vec2 spire[] = {{-11, -400}, {-9, -400}, {-9, -390}, {-11, -390}};
  body.AddPolygon(spire);
  canvas.Fill(body, color);

  Path windows;
  const Vec2 lit[] = {{-62, -180}, {-10, -260}, {-10, -225}, {34, -195}, {-30, -110}, {10, -90}};
  for (Vec2 w : lit)
    windows.AddRoundRect(w.x - 3.5f, w.y - 8, w.x + 3.5f, w.y + 8, 3.5f);
  // A soft halo around each window, then the window itself.
  const Coverage mask = canvas.Mask(windows);
  const int pad = 12, step = 3;
  for (int y = std::max(0, mask.top - pad);
       y < std::min(image.Height(), mask.top + mask.height + pad); ++y)
    for (int x = std::max(0, mask.left - pad);
         x < std::min(image.Width(), mask.left + mask.width + pad); ++x) {
      float sum = 0;
      for (int dy = -pad; dy <= pad; dy += step)
        for (int dx = -pad; dx <= pad; dx += step)
          sum += mask.At(x + dx, y + dy);
      const float glow = sum / 81;
      if (glow > 0) image.Blend(x, y, Rgb(255, 140, 50), std::min(0.6f, glow * 2.2f));
    }
  canvas.Fill(windows, Rgb(255, 214, 140));
}

// A leafless tree: each branch forks into two shorter, thinner ones.
void Branch(Path& path, Rng& rng, Vec2 from, float angle, float length, float width, int depth) {
  std::vector<Vec2> pts = {from};
  Vec2 p = from;
  const int steps = 4;
  float a = angle;
  for (int i = 0; i < steps; ++i) {
    a += rng.Range(-0.18f, 0.18f);
    p = p + Vec2{std::cos(a), std::sin(a)} * (length / steps);
    pts.push_back(p);
  }
  // Taper: each piece a little thinner toward the tip.
  for (int i = 0; i < steps; ++i) {
    const Vec2 seg[] = {pts[i], pts[i + 1]};
    path.AddStroke(seg, width * (1 - 0.3f * i / steps));
  }
  if (depth == 0 || width < 1.2f) return;
  const int forks = depth > 5 ? 2 : 2 + (rng.Uniform() < 0.3f);
  for (int f = 0; f < forks; ++f) {
    const float spread = rng.Range(0.25f, 0.6f) * (f % 2 == 0 ? -1.f : 1.f);
    Branch(path, rng, p, a + spread, length * rng.Range(0.62f, 0.8f), width * 0.62f, depth - 1);
  }
}

void DrawTree(Image& image, Vec2 root, float height, uint32_t seed, Color color) {
  Rng rng(seed);
  Path tree;
  Branch(tree, rng, root, -kPi / 2 + 0.12f, height * 0.34f, height * 0.05f, 8);
  Canvas(image, {}, 4).Fill(tree, color);
}

// Crows: a few small wing strokes in the distance.
void DrawBirds(Image& image, Vec2 at, float span, uint32_t seed, Color color) {
  Rng rng(seed);
  Path birds;
  for (int i = 0; i < 5; ++i) {
    const Vec2 c = at + Vec2{rng.Range(-2.f, 2.f) * span * 2, rng.Range(-1.f, 1.f) * span * 1.5f};
    const float s = span * rng.Range(0.6f, 1.f);
    std::vector<Vec2> wing;
    wing.push_back(c + Vec2{-s, -s * 0.25f});
    AppendQuadratic(wing, wing.back(), c + Vec2{-s * 0.45f, -s * 0.45f}, c, 6);
    AppendQuadratic(wing, c, c + Vec2{s * 0.45f, -s * 0.45f}, c + Vec2{s, -s * 0.25f}, 6);
    birds.AddStroke(wing, s * 0.16f);
  }
  Canvas(image, {}, 4).Fill(birds, color);
}

}  // namespace

Image RenderBackground(int width, int height, uint32_t seed) {
  const float unit = static_cast<float>(height);
  const Vec2 light{0.16f * width / unit, 0.10f};  // in heights
  const int q = 4;
  Image image = Sky(width / q, height / q, light, seed).Resized(width, height);

  const float castleX = 0.525f * width;
  const Range ranges[] = {
      {0.62f, 0.26f, 0.32f, Rgb(150, 120, 132), Rgb(214, 168, 140), 0.16f},
      {0.70f, 0.17f, 0.24f, Rgb(98, 82, 102), Rgb(170, 128, 124), 0.18f},
      {0.80f, 0.10f, 0.20f, Rgb(56, 48, 64), Rgb(104, 82, 94), 0.20f, castleX / unit, 0.12f, 0.16f},
      {0.93f, 0.08f, 0.16f, Rgb(26, 23, 30), Rgb(40, 34, 42), 0.30f},
  };
  for (int i = 0; i < 4; ++i) {
    const std::vector<float> ridge = Ridge(ranges[i], width, unit, seed + 1000 + i);
    if (i == 2) {
      // The castle stands on the third range, between the edition list and the
      // right-hand panel, where the window shows it.
      DrawCastle(image, castleX, ridge[static_cast<int>(castleX)] + 0.01f * unit, unit,
                 Rgb(50, 42, 58));
      DrawBirds(image, {0.47f * width, 0.215f * unit}, 0.011f * unit, seed + 5, Rgb(60, 44, 52));
    }
    DrawRange(image, ranges[i], ridge);
  }
  DrawTree(image, {0.03f * width, 1.02f * unit}, 0.62f * unit, seed + 3, Rgb(16, 14, 18));

  // Darken toward the bottom and the right, away from the light.
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float d = Length(Vec2{x / unit, y / unit} - light);
      const float k = 1 - 0.45f * SmoothStep(0.9f, 2.0f, d);
      Rgba& p = image.At(x, y);
      p.r *= k, p.g *= k, p.b *= k;
    }
  }
  return image;
}

}  // namespace artgen
