// Row loops compiled for AVX2 beside the SSE2 every x86-64 build assumes,
// chosen at run time, so that one binary runs on any x86-64 processor and
// uses eight-pixel vectors where it can.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#define RC_HAVE_AVX2_PATH 1
#define RC_AVX2 __attribute__((target("avx2")))

namespace rc {

// Whether this processor runs the AVX2 code.
inline bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace rc

#endif
