// Source-over of premultiplied 0xAARRGGBB pixels, with an overall opacity:
// the last step of drawing a picture, after it has been resampled.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vark {

inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

// Every channel of a premultiplied pixel times m / 255.
inline uint32_t ScalePixel(uint32_t p, uint32_t m) {
  return Div255((p & 0xFF) * m) | Div255(((p >> 8) & 0xFF) * m) << 8 |
         Div255(((p >> 16) & 0xFF) * m) << 16 | Div255((p >> 24) * m) << 24;
}

// Source-over of one premultiplied pixel.
inline uint32_t Over(uint32_t s, uint32_t d) {
  const uint32_t inv = 255 - (s >> 24);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t channel = ((s >> shift) & 0xFF) + Div255(((d >> shift) & 0xFF) * inv);
    out |= channel << shift;
  }
  return out;
}

#if defined(__SSE2__)
// Div255 on eight 16-bit lanes holding products of two bytes.
inline __m128i Div255x8(__m128i v) {
  v = _mm_add_epi16(v, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
}

// Each pixel's alpha in all four of its 16-bit lanes.
inline __m128i SpreadAlpha(__m128i v) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)),
                             _MM_SHUFFLE(3, 3, 3, 3));
}

// Two pixels of source, as 16-bit channels, over two pixels of destination
// (bytes); the source first scaled by the opacity in every lane of m when
// scaled. Returns the two pixels as 16-bit channels.
inline __m128i Over2(__m128i s, __m128i d, __m128i m, bool scaled) {
  if (scaled) s = Div255x8(_mm_mullo_epi16(s, m));
  const __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), SpreadAlpha(s));
  return _mm_add_epi16(s,
                       Div255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(d, _mm_setzero_si128()), inv)));
}
#endif

// Premultiplied source-over of a row of n pixels at opacity / 255; orBits is
// set in every source pixel (the alpha of an opaque source read in place).
void CompositeRow(uint32_t* dst, const uint32_t* src, int n, uint32_t opacity, uint32_t orBits);

}  // namespace vark
