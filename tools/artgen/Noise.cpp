#include "Noise.h"

#include <cmath>

namespace artgen {
namespace {

uint32_t Mix(uint32_t h) {
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  return Mix(static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
             seed * 0xCB1AB31Fu);
}

float Fade(float t) {
  return t * t * t * (t * (t * 6 - 15) + 10);
}

// One of sixteen unit gradients, dotted with the offset from the lattice point.
float Grad(int32_t x, int32_t y, uint32_t seed, float dx, float dy) {
  static const float kCos[16] = {1.f,      .92388f,  .70711f, .38268f,  0.f,      -.38268f,
                                 -.70711f, -.92388f, -1.f,    -.92388f, -.70711f, -.38268f,
                                 0.f,      .38268f,  .70711f, .92388f};
  const uint32_t i = Hash(x & 255, y & 255, seed) & 15;
  return kCos[i] * dx + kCos[(i + 12) & 15] * dy;  // sin(a) = cos(a - 90°)
}

}  // namespace

uint32_t Rng::Next() {
  // PCG-XSH-RR: small state, good statistics, and the same numbers everywhere.
  const uint64_t old = state_;
  state_ = old * 6364136223846793005ull + 1442695040888963407ull;
  const uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
  const uint32_t rot = static_cast<uint32_t>(old >> 59u);
  return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

float Hash01(int32_t x, int32_t y, uint32_t seed) {
  return (Hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float Noise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  const float dx = x - fx, dy = y - fy;
  const float u = Fade(dx), v = Fade(dy);
  const float a = Grad(ix, iy, seed, dx, dy);
  const float b = Grad(ix + 1, iy, seed, dx - 1, dy);
  const float c = Grad(ix, iy + 1, seed, dx, dy - 1);
  const float d = Grad(ix + 1, iy + 1, seed, dx - 1, dy - 1);
  // Gradient noise peaks near ±0.7; scale it to about ±1.
  return 1.41f * (a + (b - a) * u + (c - a) * v + (a - b - c + d) * u * v);
}

float Noise1(float x, uint32_t seed) {
  return Noise(x, 0.5f, seed);
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, weight = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * Noise(x, y, seed + i * 101u);
    total += weight;
    x *= 2.03f;
    y *= 2.03f;
    weight *= 0.5f;
  }
  return sum / total;
}

float Fbm1(float x, int octaves, uint32_t seed) {
  return Fbm(x, 0.5f, octaves, seed);
}

float Ridged1(float x, int octaves, uint32_t seed) {
  float sum = 0, weight = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    const float n = 1 - std::fabs(Noise1(x, seed + i * 131u));
    sum += weight * n * n;
    total += weight;
    x *= 2.1f;
    weight *= 0.5f;
  }
  return sum / total;
}

}  // namespace artgen
