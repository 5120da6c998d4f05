// Points and the one transform the artwork needs: a uniform scale followed by a
// translation, enough to draw a design made in its own units at any pixel size.
#pragma once

#include <cmath>

namespace artgen {

struct Vec2 {
  float x = 0;
  float y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
  return {a.x * s, a.y * s};
}
inline float Dot(Vec2 a, Vec2 b) {
  return a.x * b.x + a.y * b.y;
}
inline float Length(Vec2 a) {
  return std::sqrt(Dot(a, a));
}
inline Vec2 Lerp(Vec2 a, Vec2 b, float t) {
  return a + (b - a) * t;
}
inline Vec2 Rotate(Vec2 p, Vec2 centre, float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  const Vec2 d = p - centre;
  return {centre.x + d.x * c - d.y * s, centre.y + d.x * s + d.y * c};
}

constexpr float kPi = 3.14159265358979f;

// Maps design units to pixels: pixel = design * scale + offset.
struct Transform {
  float scale = 1;
  Vec2 offset;

  Vec2 Apply(Vec2 p) const { return {p.x * scale + offset.x, p.y * scale + offset.y}; }
  Vec2 Invert(Vec2 p) const { return {(p.x - offset.x) / scale, (p.y - offset.y) / scale}; }
};

inline float Clamp01(float v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline float Mix(float a, float b, float t) {
  return a + (b - a) * t;
}
inline float SmoothStep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

}  // namespace artgen
