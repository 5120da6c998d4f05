// A picture being painted: premultiplied RGBA in floats, so blends and blurs
// keep their precision until the one conversion to 8 bits at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Geometry.h"
#include "Path.h"
#include "Rasterizer.h"

namespace artgen {

// A straight (not premultiplied) colour, channels 0..1.
struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};
inline Color Rgb(int r, int g, int b, float a = 1) {
  return {r / 255.f, g / 255.f, b / 255.f, a};
}
inline Color MixColor(Color x, Color y, float t) {
  return {Mix(x.r, y.r, t), Mix(x.g, y.g, t), Mix(x.b, y.b, t), Mix(x.a, y.a, t)};
}
inline Color Scaled(Color c, float k) {
  return {c.r * k, c.g * k, c.b * k, c.a};
}
inline Color WithAlpha(Color c, float a) {
  return {c.r, c.g, c.b, a};
}

// Premultiplied pixel.
struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

// A colour for every point of a shape, given in the units the shape was drawn in.
using Paint = std::function<Color(Vec2)>;

class Image {
 public:
  Image(int width, int height) : width_(width), height_(height), pixels_(Size()) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Rgba& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  // Source-over of a straight colour with the given coverage.
  void Blend(int x, int y, Color c, float coverage);
  // Adds light: brightens without changing alpha where the picture is opaque.
  void AddLight(int x, int y, Color c, float amount);
  // Source-over of another picture placed at (dx, dy).
  void Composite(const Image& src, int dx, int dy, float opacity = 1);

  // Pixels outside the picture wrap to the nearest edge.
  Rgba Sample(float x, float y) const;         // bilinear, pixel centres at +0.5
  Image Resized(int width, int height) const;  // area average down, bilinear up
  // Approximates a Gaussian with three box blurs of the given radius.
  Image Blurred(int radius) const;

  // Straight RGBA bytes, row by row. Dithering hides banding in smooth gradients.
  std::vector<uint8_t> ToRgba8(bool dither) const;

 private:
  size_t Size() const { return static_cast<size_t>(width_) * height_; }
  int width_, height_;
  std::vector<Rgba> pixels_;
};

// Draws a design made in its own units onto an image through a transform.
class Canvas {
 public:
  Canvas(Image& image, Transform transform, int subsamples = 6)
      : image_(image), transform_(transform), subsamples_(subsamples) {}

  Coverage Mask(const Path& design) const;
  // Fills the shape, optionally only where `clip` covers (e.g. shading inside
  // a shape drawn before).
  void Fill(const Path& design, const Paint& paint, const Coverage* clip = nullptr);
  void Fill(const Path& design, Color color, const Coverage* clip = nullptr);
  void Glow(const Path& design, Color color, const Coverage* clip = nullptr);

  const Transform& GetTransform() const { return transform_; }
  Image& Target() { return image_; }

 private:
  template <typename Fn>
  void ForEachCovered(const Path& design, const Coverage* clip, Fn fn);

  Image& image_;
  Transform transform_;
  int subsamples_;
};

// Linear gradient between two design points.
Paint LinearGradient(Vec2 from, Vec2 to, Color a, Color b);
// Radial gradient from a centre colour to an edge colour at `radius`.
Paint RadialGradient(Vec2 centre, float radius, Color inner, Color outer);

}  // namespace artgen
