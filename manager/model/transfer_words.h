// Many characters at a time for the pixel transfer of aligned rows: hexadecimal characters decoded to and encoded
// from nibble values in one 64-bit word (or an SSE2 register of sixteen), and the knock-out and copy of a word.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyx {

inline constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t LoadWord(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

inline void StoreWord(char* p, std::uint64_t w) {
  std::memcpy(p, &w, 8);
}

// 0xFF in every byte whose high bit is set in `high` (only high bits may be set).
inline std::uint64_t ByteMask(std::uint64_t high) {
  return (high >> 7) * 0xFF;
}

// The value of each of eight characters: '0'-'9' and 'A'-'F' give 0-15, every other byte 0 (as the byte table).
inline std::uint64_t HexValues(std::uint64_t x) {
  const std::uint64_t t = x & ~kHighBits;
  // t + (0x80 - k) carries into the high bit exactly when t >= k; no byte overflows since t < 0x80.
  const auto atLeast = [t](unsigned k) { return (t + (0x80 - k) * kEachByte) & kHighBits; };
  const std::uint64_t ascii = ~x & kHighBits;
  const std::uint64_t digit = atLeast('0') & ~atLeast('9' + 1) & ascii;
  const std::uint64_t upper = atLeast('A') & ~atLeast('F' + 1) & ascii;
  return ((x & 0x0F * kEachByte) & ByteMask(digit | upper)) + (ByteMask(upper) & 9 * kEachByte);
}

// Upper-case hexadecimal digits for eight values 0-15.
inline std::uint64_t HexChars(std::uint64_t v) {
  const std::uint64_t above9 = ((v + (0x80 - 10) * kEachByte) & kHighBits) >> 7;
  return v + '0' * kEachByte + above9 * 7;
}

// Knock-out of eight target characters by eight source characters at the same columns: the target's pixels set in
// the source are cleared, and only characters that lose a pixel are rewritten. Returns the pixels cleared.
template <bool Hex>
inline int KnockOutWord(const char* s, char* d) {
  const std::uint64_t sw = LoadWord(s), dw = LoadWord(d);
  const std::uint64_t sv = Hex ? HexValues(sw) : sw;
  const std::uint64_t dv = Hex ? HexValues(dw) : dw;
  const std::uint64_t hit = dv & sv;
  if (hit == 0) return 0;
  if (Hex) {
    const std::uint64_t changed = ByteMask((hit + 0x7F * kEachByte) & kHighBits);
    StoreWord(d, (HexChars(dv & ~sv) & changed) | (dw & ~changed));
  } else {
    StoreWord(d, dw & ~sv);
  }
  return std::popcount(hit);
}

// Copy of eight source characters into the target at the same columns: characters with a set source pixel are
// rewritten with the union. Adds the source pixels to `copied` and the pixels newly set in the target to `added`.
template <bool Hex>
inline void CopyWord(const char* s, char* d, std::int64_t& copied, std::int64_t& added) {
  const std::uint64_t sw = LoadWord(s);
  const std::uint64_t sv = Hex ? HexValues(sw) : sw;
  if (sv == 0) return;
  const std::uint64_t dw = LoadWord(d);
  const std::uint64_t dv = Hex ? HexValues(dw) : dw;
  copied += std::popcount(sv);
  added += std::popcount(sv & ~dv);
  if (Hex) {
    const std::uint64_t changed = ByteMask((sv + 0x7F * kEachByte) & kHighBits);
    StoreWord(d, (HexChars(dv | sv) & changed) | (dw & ~changed));
  } else {
    StoreWord(d, dw | sv);
  }
}

#if defined(__SSE2__)
// The same for sixteen characters in one SSE2 register.
namespace sse2 {

inline __m128i Load(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void Store(char* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

inline int PopCount(__m128i v) {
  std::uint64_t half[2];
  std::memcpy(half, &v, sizeof half);
  return std::popcount(half[0]) + std::popcount(half[1]);
}

inline bool IsZero(__m128i v) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF;
}

// Bytes from 0x80 up compare as negative, so they are neither digits nor letters.
inline __m128i HexValues(__m128i x) {
  const __m128i digit =
      _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(x, _mm_set1_epi8('9' + 1)));
  const __m128i upper =
      _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(x, _mm_set1_epi8('F' + 1)));
  const __m128i low = _mm_and_si128(x, _mm_set1_epi8(0x0F));
  return _mm_add_epi8(_mm_and_si128(low, _mm_or_si128(digit, upper)), _mm_and_si128(upper, _mm_set1_epi8(9)));
}

inline __m128i HexChars(__m128i v) {
  const __m128i above9 = _mm_cmpgt_epi8(v, _mm_set1_epi8(9));
  return _mm_add_epi8(_mm_add_epi8(v, _mm_set1_epi8('0')), _mm_and_si128(above9, _mm_set1_epi8(7)));
}

// Sixteen characters of KnockOutWord.
template <bool Hex>
inline int KnockOut(const char* s, char* d) {
  const __m128i sw = Load(s), dw = Load(d);
  const __m128i sv = Hex ? HexValues(sw) : sw;
  const __m128i dv = Hex ? HexValues(dw) : dw;
  const __m128i hit = _mm_and_si128(dv, sv);
  if (IsZero(hit)) return 0;
  if (Hex) {
    const __m128i kept = _mm_cmpeq_epi8(hit, _mm_setzero_si128());
    Store(d, _mm_or_si128(_mm_and_si128(kept, dw), _mm_andnot_si128(kept, HexChars(_mm_andnot_si128(sv, dv)))));
  } else {
    Store(d, _mm_andnot_si128(sv, dw));
  }
  return PopCount(hit);
}

// Sixteen characters of CopyWord.
template <bool Hex>
inline void Copy(const char* s, char* d, std::int64_t& copied, std::int64_t& added) {
  const __m128i sw = Load(s);
  const __m128i sv = Hex ? HexValues(sw) : sw;
  if (IsZero(sv)) return;
  const __m128i dw = Load(d);
  const __m128i dv = Hex ? HexValues(dw) : dw;
  copied += PopCount(sv);
  added += PopCount(_mm_andnot_si128(dv, sv));
  if (Hex) {
    const __m128i kept = _mm_cmpeq_epi8(sv, _mm_setzero_si128());
    Store(d, _mm_or_si128(_mm_and_si128(kept, dw), _mm_andnot_si128(kept, HexChars(_mm_or_si128(dv, sv)))));
  } else {
    Store(d, _mm_or_si128(dw, sv));
  }
}

}  // namespace sse2
#endif

}  // namespace vyx
