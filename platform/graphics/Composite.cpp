#include "platform/graphics/Composite.h"

namespace vark {

void CompositeRow(uint32_t* dst, const uint32_t* src, int n, uint32_t opacity, uint32_t orBits) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i m = _mm_set1_epi16(static_cast<int16_t>(opacity));
  const bool scaled = opacity != 255;
  const __m128i bits = _mm_set1_epi32(static_cast<int>(orBits));
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= n; i += 4) {
    const __m128i s =
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), bits);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) continue;  // nothing to lay down
    __m128i* d = reinterpret_cast<__m128i*>(dst + i);
    if (!scaled &&
        _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask)) == 0xFFFF) {
      _mm_storeu_si128(d, s);  // opaque: covers what lay there
      continue;
    }
    const __m128i under = _mm_loadu_si128(d);
    const __m128i low = Over2(_mm_unpacklo_epi8(s, zero), under, m, scaled);
    const __m128i high = Over2(_mm_unpackhi_epi8(s, zero), _mm_srli_si128(under, 8), m, scaled);
    _mm_storeu_si128(d, _mm_packus_epi16(low, high));
  }
#endif
  for (; i < n; ++i) {
    uint32_t s = src[i] | orBits;
    if (s == 0) continue;
    if (opacity != 255) s = ScalePixel(s, opacity);
    dst[i] = (s >> 24) == 255 ? s : Over(s, dst[i]);
  }
}

}  // namespace vark
