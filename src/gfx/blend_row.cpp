#include "gfx/blend_row.h"

#include <cstring>

#include "gfx/blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define RC_BLEND_AVX2 1
#endif

namespace rc {

#if defined(__SSE2__)

namespace {

// Each 16-bit lane holds one channel times an alpha, at most 255 * 255;
// divided by 255 with Div255's rounding: (t + 128 + ((t + 128) >> 8)) >> 8.
inline __m128i Div255Lanes(__m128i t) {
  t = _mm_add_epi16(t, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Every lane of a pixel gets that pixel's alpha lane (the fourth).
inline __m128i SpreadAlpha(__m128i lanes) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(lanes, 0xFF), 0xFF);
}

// Two pixels in 16-bit lanes: the source scaled by a / 255, laid over d.
inline __m128i OverLanes(__m128i d, __m128i s, __m128i a) {
  const __m128i scaled = Div255Lanes(_mm_mullo_epi16(s, a));
  const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(255), SpreadAlpha(scaled));
  return _mm_add_epi16(scaled, Div255Lanes(_mm_mullo_epi16(d, keep)));
}

// Two pixels in 16-bit lanes: s * a / 255 + d * (255 - a) / 255, rounded once.
inline __m128i ConstantLanes(__m128i d, __m128i s, __m128i a) {
  const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(255), a);
  return Div255Lanes(_mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, keep)));
}

// With per-pixel alpha, four transparent source pixels leave the
// destination exactly as it is (d * 255 / 255 rounds to d), and at full
// constant alpha four opaque ones replace it: shape pieces and artwork are
// mostly one or the other, and skipping the arithmetic there gives the
// very pixels it would.
inline bool AllTransparent(__m128i s) {
  return _mm_movemask_epi8(_mm_cmpeq_epi32(s, _mm_setzero_si128())) == 0xFFFF;
}

inline bool AllOpaque(__m128i s) {
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alpha), alpha)) == 0xFFFF;
}

template <bool kPerPixel>
int32_t BlendFours(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_set1_epi16(constantAlpha);
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    if constexpr (kPerPixel) {
      if (AllTransparent(s)) continue;
      if (constantAlpha == 255 && AllOpaque(s)) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), s);
        continue;
      }
    }
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
    const __m128i dLow = _mm_unpacklo_epi8(d, zero), dHigh = _mm_unpackhi_epi8(d, zero);
    const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
    __m128i low, high;
    if constexpr (kPerPixel) {
      low = OverLanes(dLow, sLow, a);
      high = OverLanes(dHigh, sHigh, a);
    } else {
      low = ConstantLanes(dLow, sLow, a);
      high = ConstantLanes(dHigh, sHigh, a);
    }
    // Sums over 255 (an over of a source brighter than its alpha) clamp,
    // as the scalar formula clamps them.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(low, high));
  }
  return i;
}

#if defined(RC_BLEND_AVX2)

// The same lanes eight pixels at a time, where the processor has AVX2:
// every 256-bit operation below works on two independent 128-bit halves,
// exactly as the SSE2 code does on one.
#define RC_AVX2 __attribute__((target("avx2")))

RC_AVX2 inline __m256i Div255Lanes8(__m256i t) {
  t = _mm256_add_epi16(t, _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

RC_AVX2 inline __m256i OverLanes8(__m256i d, __m256i s, __m256i a) {
  const __m256i scaled = Div255Lanes8(_mm256_mullo_epi16(s, a));
  const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(scaled, 0xFF), 0xFF);
  const __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
  return _mm256_add_epi16(scaled, Div255Lanes8(_mm256_mullo_epi16(d, keep)));
}

RC_AVX2 inline __m256i ConstantLanes8(__m256i d, __m256i s, __m256i a) {
  const __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
  return Div255Lanes8(_mm256_add_epi16(_mm256_mullo_epi16(s, a), _mm256_mullo_epi16(d, keep)));
}

template <bool kPerPixel>
RC_AVX2 int32_t BlendEights(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i a = _mm256_set1_epi16(constantAlpha);
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
    if constexpr (kPerPixel) {
      if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(s, zero)) == -1) continue;
      if (constantAlpha == 255 &&
          _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(s, alphaMask), alphaMask)) == -1) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i), s);
        continue;
      }
    }
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(to + i));
    const __m256i dLow = _mm256_unpacklo_epi8(d, zero), dHigh = _mm256_unpackhi_epi8(d, zero);
    const __m256i sLow = _mm256_unpacklo_epi8(s, zero), sHigh = _mm256_unpackhi_epi8(s, zero);
    __m256i low, high;
    if constexpr (kPerPixel) {
      low = OverLanes8(dLow, sLow, a);
      high = OverLanes8(dHigh, sHigh, a);
    } else {
      low = ConstantLanes8(dLow, sLow, a);
      high = ConstantLanes8(dHigh, sHigh, a);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i), _mm256_packus_epi16(low, high));
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif

// Eight at a time where AVX2 is there, then four, then one by one.
template <bool kPerPixel>
int32_t BlendVectors(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha) {
  int32_t done = 0;
#if defined(RC_BLEND_AVX2)
  if (HasAvx2()) done = BlendEights<kPerPixel>(to, from, count, constantAlpha);
#endif
  return done + BlendFours<kPerPixel>(to + done, from + done, count - done, constantAlpha);
}

}  // namespace

void BlendRow(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha, bool perPixelAlpha) {
  if (!perPixelAlpha && constantAlpha == 255) {
    std::memmove(to, from, static_cast<size_t>(count) * sizeof(Pixel));
    return;
  }
  const int32_t done = perPixelAlpha ? BlendVectors<true>(to, from, count, constantAlpha)
                                     : BlendVectors<false>(to, from, count, constantAlpha);
  for (int32_t i = done; i < count; ++i) to[i] = BlendPixel(to[i], from[i], constantAlpha, perPixelAlpha);
}

#else

void BlendRow(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha, bool perPixelAlpha) {
  for (int32_t i = 0; i < count; ++i) to[i] = BlendPixel(to[i], from[i], constantAlpha, perPixelAlpha);
}

#endif

}  // namespace rc
