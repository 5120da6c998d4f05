// Seeded randomness that gives the same pictures on every machine: a small
// generator of our own (the standard distributions differ between libraries)
// and gradient noise with its fractal sums.
#pragma once

#include <cstdint>

namespace artgen {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint32_t Next();
  float Uniform() { return (Next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1)
  float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

 private:
  uint64_t state_;
};

// Gradient noise in about [-1, 1], smooth, with a period of 256 cells.
float Noise(float x, float y, uint32_t seed);
float Noise1(float x, uint32_t seed);
// Fractal sums of octaves, each twice the frequency and half the weight of the
// last, normalised to about [-1, 1].
float Fbm(float x, float y, int octaves, uint32_t seed);
float Fbm1(float x, int octaves, uint32_t seed);
// Ridged variant for mountain crests: sharp peaks, rounded valleys, in [0, 1].
float Ridged1(float x, int octaves, uint32_t seed);
// A well mixed hash of integer coordinates, in [0, 1).
float Hash01(int32_t x, int32_t y, uint32_t seed);

}  // namespace artgen
