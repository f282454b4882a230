#include "gfx/blend_row.h"

#include <cstring>

#include "gfx/avx2.h"
#include "gfx/blend_pixel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rc {

namespace {

// The rows of a box lie a canvas's width apart, each on cache lines and
// often a page of its own, which the last frame's work has long left: a
// narrow box waits on memory far longer than it blends. Asking a few rows
// ahead for them overlaps that wait with the blending of the rows before.
// A wide row is long enough for the processor to see its stream itself.
constexpr int32_t kRowsAhead = 3;
constexpr int32_t kPixelsPerLine = 16;
constexpr int32_t kWidestFetched = 256;

inline bool FetchesAhead(int32_t count, int32_t rows) { return count <= kWidestFetched && rows > kRowsAhead; }

inline void FetchRow(Pixel* to, const Pixel* from, int32_t count) {
  for (int32_t i = 0; i < count; i += kPixelsPerLine) {
    __builtin_prefetch(to + i, 1);
    __builtin_prefetch(from + i, 0);
  }
  __builtin_prefetch(to + count - 1, 1);
  __builtin_prefetch(from + count - 1, 0);
}

// Calls rowOp(to, from) for each row, fetching ahead where that pays.
template <typename RowOp>
inline void EachRow(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows,
                    RowOp rowOp) {
  const bool ahead = FetchesAhead(count, rows);
  for (int32_t r = 0; r < rows; ++r, to += toStride, from += fromStride) {
    if (ahead && r + kRowsAhead < rows) FetchRow(to + kRowsAhead * toStride, from + kRowsAhead * fromStride, count);
    rowOp(to, from);
  }
}

// Fewer than eight pixels, loaded before any is stored, as memmove does;
// fixed-size copies the compiler keeps inline, where a call to memmove
// would cost more than the pixels of a thin box's rows.
void CopyFew(Pixel* to, const Pixel* from, int32_t count) {
  if (count >= 4) {
    unsigned char head[16], tail[16];
    std::memcpy(head, from, sizeof head);
    std::memcpy(tail, from + count - 4, sizeof tail);
    std::memcpy(to, head, sizeof head);
    std::memcpy(to + count - 4, tail, sizeof tail);
  } else if (count >= 2) {
    unsigned char head[8], tail[8];
    std::memcpy(head, from, sizeof head);
    std::memcpy(tail, from + count - 2, sizeof tail);
    std::memcpy(to, head, sizeof head);
    std::memcpy(to + count - 2, tail, sizeof tail);
  } else if (count == 1) {
    *to = *from;
  }
}

void CopyRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows) {
  EachRow(to, toStride, from, fromStride, count, rows, [count](Pixel* t, const Pixel* f) {
    if (count < 8) CopyFew(t, f, count);
    else std::memmove(t, f, static_cast<size_t>(count) * sizeof(Pixel));
  });
}

#if defined(__SSE2__)

inline __m128i Load4(const Pixel* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store4(Pixel* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Load2(const Pixel* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
inline void Store2(Pixel* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }

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

// Four pixels. Sums over 255 (an over of a source brighter than its alpha)
// clamp, as the scalar formula clamps them.
template <bool kPerPixel>
inline __m128i BlendFour(__m128i d, __m128i s, __m128i a) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i dLow = _mm_unpacklo_epi8(d, zero), dHigh = _mm_unpackhi_epi8(d, zero);
  const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
  if constexpr (kPerPixel) return _mm_packus_epi16(OverLanes(dLow, sLow, a), OverLanes(dHigh, sHigh, a));
  return _mm_packus_epi16(ConstantLanes(dLow, sLow, a), ConstantLanes(dHigh, sHigh, a));
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
inline void BlendFourAt(Pixel* to, const Pixel* from, __m128i a, bool opaqueReplaces) {
  const __m128i s = Load4(from);
  if constexpr (kPerPixel) {
    if (AllTransparent(s)) return;
    if (opaqueReplaces && AllOpaque(s)) {
      Store4(to, s);
      return;
    }
  }
  Store4(to, BlendFour<kPerPixel>(Load4(to), s, a));
}

// A row too short for whole vectors goes as vectors that overlap: its
// first and last pairs or fours, both blended from the pixels that lay
// there before, so that a pixel they share comes out the same twice. A
// longer row's last four are blended in the same way before the rest of
// the row is written, and stored after it.
template <bool kPerPixel>
inline void BlendFewRow(Pixel* to, const Pixel* from, int32_t count, __m128i a, uint8_t constantAlpha) {
  if (count < 2) {
    if (count == 1) *to = blend_pixel::Blend(*to, *from, constantAlpha, kPerPixel);
    return;
  }
  const int32_t last = count - 2;
  const __m128i d = _mm_unpacklo_epi64(Load2(to), Load2(to + last));
  const __m128i out = BlendFour<kPerPixel>(d, _mm_unpacklo_epi64(Load2(from), Load2(from + last)), a);
  Store2(to, out);
  Store2(to + last, _mm_unpackhi_epi64(out, out));
}

// A row four pixels at a time.
template <bool kPerPixel>
inline void BlendFoursRow(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha) {
  const __m128i a = _mm_set1_epi16(constantAlpha);
  if (count < 4) {
    BlendFewRow<kPerPixel>(to, from, count, a, constantAlpha);
    return;
  }
  const int32_t last = count - 4;
  const bool ragged = count % 4 != 0;
  const __m128i tail = ragged ? BlendFour<kPerPixel>(Load4(to + last), Load4(from + last), a) : a;
  for (int32_t i = 0; i + 4 <= count; i += 4) BlendFourAt<kPerPixel>(to + i, from + i, a, constantAlpha == 255);
  if (ragged) Store4(to + last, tail);
}

template <bool kPerPixel>
void BlendFoursRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows,
                    uint8_t constantAlpha) {
  EachRow(to, toStride, from, fromStride, count, rows,
          [&](Pixel* t, const Pixel* f) { BlendFoursRow<kPerPixel>(t, f, count, constantAlpha); });
}

#if defined(RC_HAVE_AVX2_PATH)

// The same lanes eight pixels at a time, where the processor has AVX2:
// every 256-bit operation below works on two independent 128-bit halves,
// exactly as the SSE2 code does on one.

RC_AVX2 inline __m256i Load8(const Pixel* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
RC_AVX2 inline void Store8(Pixel* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

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
RC_AVX2 inline __m256i BlendEight(__m256i d, __m256i s, __m256i a) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i dLow = _mm256_unpacklo_epi8(d, zero), dHigh = _mm256_unpackhi_epi8(d, zero);
  const __m256i sLow = _mm256_unpacklo_epi8(s, zero), sHigh = _mm256_unpackhi_epi8(s, zero);
  if constexpr (kPerPixel) return _mm256_packus_epi16(OverLanes8(dLow, sLow, a), OverLanes8(dHigh, sHigh, a));
  return _mm256_packus_epi16(ConstantLanes8(dLow, sLow, a), ConstantLanes8(dHigh, sHigh, a));
}

template <bool kPerPixel>
RC_AVX2 inline void BlendEightAt(Pixel* to, const Pixel* from, __m256i a, bool opaqueReplaces) {
  const __m256i s = Load8(from);
  if constexpr (kPerPixel) {
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(s, _mm256_setzero_si256())) == -1) return;
    const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    if (opaqueReplaces && _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(s, alphaMask), alphaMask)) == -1) {
      Store8(to, s);
      return;
    }
  }
  Store8(to, BlendEight<kPerPixel>(Load8(to), s, a));
}

// Four to seven pixels as one vector holding the row's first four and its
// last four.
template <bool kPerPixel>
RC_AVX2 inline void BlendFourToSeven(Pixel* to, const Pixel* from, int32_t count, __m256i a) {
  const int32_t last = count - 4;
  const __m256i d = _mm256_inserti128_si256(_mm256_castsi128_si256(Load4(to)), Load4(to + last), 1);
  const __m256i s = _mm256_inserti128_si256(_mm256_castsi128_si256(Load4(from)), Load4(from + last), 1);
  const __m256i out = BlendEight<kPerPixel>(d, s, a);
  Store4(to, _mm256_castsi256_si128(out));
  Store4(to + last, _mm256_extracti128_si256(out, 1));
}

// A row of at least eight; its last eight as the last four of BlendFoursRow.
template <bool kPerPixel>
RC_AVX2 inline void BlendEightsRow(Pixel* to, const Pixel* from, int32_t count, __m256i a, bool opaqueReplaces) {
  const int32_t last = count - 8;
  const bool ragged = count % 8 != 0;
  const __m256i tail = ragged ? BlendEight<kPerPixel>(Load8(to + last), Load8(from + last), a) : a;
  for (int32_t i = 0; i + 8 <= count; i += 8) BlendEightAt<kPerPixel>(to + i, from + i, a, opaqueReplaces);
  if (ragged) Store8(to + last, tail);
}

template <bool kPerPixel>
RC_AVX2 void BlendEightsRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count,
                             int32_t rows, uint8_t constantAlpha) {
  const __m256i a = _mm256_set1_epi16(constantAlpha);
  const __m128i a4 = _mm_set1_epi16(constantAlpha);
  // EachRow's loop written out: a function of the processor's default
  // instructions cannot take in one for AVX2.
  const bool ahead = FetchesAhead(count, rows);
  for (int32_t r = 0; r < rows; ++r, to += toStride, from += fromStride) {
    if (ahead && r + kRowsAhead < rows) FetchRow(to + kRowsAhead * toStride, from + kRowsAhead * fromStride, count);
    if (count >= 8) BlendEightsRow<kPerPixel>(to, from, count, a, constantAlpha == 255);
    else if (count >= 4) BlendFourToSeven<kPerPixel>(to, from, count, a);
    else BlendFewRow<kPerPixel>(to, from, count, a4, constantAlpha);
  }
}

#endif

// Eight at a time where AVX2 is there, else four.
template <bool kPerPixel>
void BlendVectorRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows,
                     uint8_t constantAlpha) {
#if defined(RC_HAVE_AVX2_PATH)
  if (HasAvx2()) {
    BlendEightsRows<kPerPixel>(to, toStride, from, fromStride, count, rows, constantAlpha);
    return;
  }
#endif
  BlendFoursRows<kPerPixel>(to, toStride, from, fromStride, count, rows, constantAlpha);
}

#endif

}  // namespace

void BlendRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows,
               uint8_t constantAlpha, bool perPixelAlpha) {
  if (count <= 0 || rows <= 0) return;
  if (!perPixelAlpha && constantAlpha == 255) {
    CopyRows(to, toStride, from, fromStride, count, rows);
    return;
  }
#if defined(__SSE2__)
  if (perPixelAlpha) BlendVectorRows<true>(to, toStride, from, fromStride, count, rows, constantAlpha);
  else BlendVectorRows<false>(to, toStride, from, fromStride, count, rows, constantAlpha);
#else
  for (int32_t r = 0; r < rows; ++r, to += toStride, from += fromStride) {
    for (int32_t i = 0; i < count; ++i) to[i] = blend_pixel::Blend(to[i], from[i], constantAlpha, perPixelAlpha);
  }
#endif
}

void BlendRow(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha, bool perPixelAlpha) {
  BlendRows(to, 0, from, 0, count, 1, constantAlpha, perPixelAlpha);
}

}  // namespace rc
