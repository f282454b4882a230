#include "gfx/dim_row.h"

#include "gfx/avx2.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rc {

namespace {

// Pairs of 8-bit channels held in the low bytes of two 16-bit lanes of a
// 32-bit word. `bias` carries the rounding term, plus the black layer's own
// alpha in the lane that holds alpha.
inline uint32_t DimLanes(uint32_t lanes, uint32_t bias) {
  const uint32_t t = lanes * 127 + bias;
  return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

constexpr uint32_t kRedBlueBias = 0x00800080u;
constexpr uint32_t kAlphaGreenBias = 0x80000080u;  // (128 * 255 + 128) << 16 | 128

inline Pixel DimPixel(Pixel p) {
  return DimLanes(p & 0x00FF00FFu, kRedBlueBias) | DimLanes((p >> 8) & 0x00FF00FFu, kAlphaGreenBias) << 8;
}

#if defined(__SSE2__)

// In 16-bit lanes of blue, green, red, alpha every step fits: at most
// 255 * 127 + 128 * 255 + 128 = 65153, plus 65153 >> 8 when rounding.
constexpr short kColourBias = 128;
constexpr short kAlphaBias = static_cast<short>(128 * 255 + 128);

inline __m128i DimLanes4(__m128i lanes, __m128i bias) {
  const __m128i t = _mm_add_epi16(_mm_mullo_epi16(lanes, _mm_set1_epi16(127)), bias);
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

int32_t DimFours(Pixel* to, const Pixel* from, int32_t count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bias = _mm_setr_epi16(kColourBias, kColourBias, kColourBias, kAlphaBias, kColourBias, kColourBias,
                                      kColourBias, kAlphaBias);
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    const __m128i low = DimLanes4(_mm_unpacklo_epi8(p, zero), bias);
    const __m128i high = DimLanes4(_mm_unpackhi_epi8(p, zero), bias);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(low, high));
  }
  return i;
}

#if defined(RC_HAVE_AVX2_PATH)

// The same lanes eight pixels at a time: unpacking and packing work on each
// 128-bit half alone, so the pixels come back in their places.
RC_AVX2 inline __m256i DimLanes8(__m256i lanes, __m256i bias) {
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(lanes, _mm256_set1_epi16(127)), bias);
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

RC_AVX2 int32_t DimEights(Pixel* to, const Pixel* from, int32_t count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i bias = _mm256_setr_epi16(kColourBias, kColourBias, kColourBias, kAlphaBias, kColourBias, kColourBias,
                                         kColourBias, kAlphaBias, kColourBias, kColourBias, kColourBias, kAlphaBias,
                                         kColourBias, kColourBias, kColourBias, kAlphaBias);
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
    const __m256i low = DimLanes8(_mm256_unpacklo_epi8(p, zero), bias);
    const __m256i high = DimLanes8(_mm256_unpackhi_epi8(p, zero), bias);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i), _mm256_packus_epi16(low, high));
  }
  return i;
}

#endif

// Eight at a time where AVX2 is there, then four.
int32_t DimVectors(Pixel* to, const Pixel* from, int32_t count) {
  int32_t done = 0;
#if defined(RC_HAVE_AVX2_PATH)
  if (HasAvx2()) done = DimEights(to, from, count);
#endif
  return done + DimFours(to + done, from + done, count - done);
}

#else

int32_t DimVectors(Pixel*, const Pixel*, int32_t) { return 0; }

#endif

}  // namespace

void DimRow(Pixel* to, const Pixel* from, int32_t count) {
  for (int32_t i = DimVectors(to, from, count); i < count; ++i) to[i] = DimPixel(from[i]);
}

}  // namespace rc
