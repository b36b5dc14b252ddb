// Row kernels: SSE2 where the compiler offers it, plain table loops elsewhere and for the tails.
#include "manager/model/bitmap_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VYX_HAVE_AVX2_KERNEL 1
#endif

namespace vyx {

namespace {

constexpr const CByteTables& kTables = kByteTables;

template <bool Hex>
inline unsigned Value(const char* p) {
  const unsigned char c = static_cast<unsigned char>(*p);
  return Hex ? kTables.hex[c] : c;
}

// The scalar walk over [from, n), merged into `scan`.
template <bool Hex>
void ScanTail(const char* row, std::size_t from, std::size_t n, CRowScan& scan) {
  for (std::size_t i = from; i < n; ++i) {
    const unsigned v = Value<Hex>(row + i);
    if (v == 0) continue;
    scan.pixels += kTables.bits[v];
    if (scan.first < 0) scan.first = static_cast<std::int64_t>(i);
    scan.last = static_cast<std::int64_t>(i);
  }
}

#if defined(__SSE2__)
// Per byte: the value of an upper-case hexadecimal digit, 0 for every other byte.
inline __m128i HexValues(__m128i v) {
  const __m128i isDigit =
      _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)));
  const __m128i isUpper =
      _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('F' + 1)));
  return _mm_or_si128(_mm_and_si128(isDigit, _mm_sub_epi8(v, _mm_set1_epi8('0'))),
                      _mm_and_si128(isUpper, _mm_sub_epi8(v, _mm_set1_epi8('A' - 10))));
}

// Per byte: its set bits (the classic halving sum, with 16-bit shifts masked back to bytes).
inline __m128i ByteBits(__m128i x) {
  const __m128i m1 = _mm_set1_epi8(0x55), m2 = _mm_set1_epi8(0x33), m4 = _mm_set1_epi8(0x0F);
  x = _mm_sub_epi8(x, _mm_and_si128(_mm_srli_epi16(x, 1), m1));
  x = _mm_add_epi8(_mm_and_si128(x, m2), _mm_and_si128(_mm_srli_epi16(x, 2), m2));
  return _mm_and_si128(_mm_add_epi8(x, _mm_srli_epi16(x, 4)), m4);
}

template <bool Hex>
CRowScan ScanRow(const char* row, std::size_t n) {
  CRowScan scan;
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero;
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    if (Hex) v = HexValues(v);
    const int nonZero = ~_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)) & 0xFFFF;
    if (nonZero == 0) continue;
    sums = _mm_add_epi64(sums, _mm_sad_epu8(ByteBits(v), zero));
    if (scan.first < 0) scan.first = static_cast<std::int64_t>(i) + __builtin_ctz(static_cast<unsigned>(nonZero));
    scan.last = static_cast<std::int64_t>(i) + 31 - __builtin_clz(static_cast<unsigned>(nonZero));
  }
  alignas(16) std::uint64_t halves[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(halves), sums);
  scan.pixels = static_cast<std::int64_t>(halves[0] + halves[1]);
  ScanTail<Hex>(row, i, n, scan);
  return scan;
}
#else
template <bool Hex>
CRowScan ScanRow(const char* row, std::size_t n) {
  CRowScan scan;
  ScanTail<Hex>(row, 0, n, scan);
  return scan;
}
#endif

#if defined(VYX_HAVE_AVX2_KERNEL)
// 32 characters at a time: nibble lookups count the bits, per-byte counts are summed every 31 blocks.
template <bool Hex>
__attribute__((target("avx2"))) CRowScan ScanRowAvx2(const char* row, std::size_t n) {
  CRowScan scan;
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low4 = _mm256_set1_epi8(0x0F);
  const __m256i lut =
      _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
  const __m256i below0 = _mm256_set1_epi8('0' - 1), above9 = _mm256_set1_epi8('9' + 1);
  const __m256i belowA = _mm256_set1_epi8('A' - 1), aboveF = _mm256_set1_epi8('F' + 1);
  const __m256i digit0 = _mm256_set1_epi8('0'), letterA = _mm256_set1_epi8('A' - 10);
  __m256i counts = zero;
  __m256i sums = zero;
  int pending = 0;
  // Bytes 32..63 are 0xFF: a load at kWindow + k keeps only the last k bytes of a block.
  alignas(64) static const unsigned char kWindow[64] = {
      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  std::size_t i = 0;
  const std::size_t whole = n & ~static_cast<std::size_t>(31);
  // The tail of a row longer than one block is read as the row's last 32 bytes with the ones already counted
  // masked off, so rows of any length stay on the vector path.
  const bool overlapTail = n > whole && n >= 32;
  const std::size_t blocks = overlapTail ? whole + 32 : whole;
  for (; i < blocks; i += 32) {
    const bool tail = i >= whole;
    const std::size_t at = tail ? n - 32 : i;
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + at));
    if (tail) v = _mm256_and_si256(v, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kWindow + (n - whole))));
    __m256i c;
    if (Hex) {
      const __m256i isDigit = _mm256_and_si256(_mm256_cmpgt_epi8(v, below0), _mm256_cmpgt_epi8(above9, v));
      const __m256i isUpper = _mm256_and_si256(_mm256_cmpgt_epi8(v, belowA), _mm256_cmpgt_epi8(aboveF, v));
      v = _mm256_or_si256(_mm256_and_si256(isDigit, _mm256_sub_epi8(v, digit0)),
                          _mm256_and_si256(isUpper, _mm256_sub_epi8(v, letterA)));
      c = _mm256_shuffle_epi8(lut, v);
    } else {
      c = _mm256_add_epi8(_mm256_shuffle_epi8(lut, _mm256_and_si256(v, low4)),
                          _mm256_shuffle_epi8(lut, _mm256_and_si256(_mm256_srli_epi16(v, 4), low4)));
    }
    counts = _mm256_add_epi8(counts, c);
    if (++pending == 31) {
      sums = _mm256_add_epi64(sums, _mm256_sad_epu8(counts, zero));
      counts = zero;
      pending = 0;
    }
    const unsigned nonZero = ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, zero)));
    if (nonZero != 0) {
      if (scan.first < 0) scan.first = static_cast<std::int64_t>(at) + __builtin_ctz(nonZero);
      scan.last = static_cast<std::int64_t>(at) + 31 - __builtin_clz(nonZero);
    }
  }
  if (i > n) i = n;
  sums = _mm256_add_epi64(sums, _mm256_sad_epu8(counts, zero));
  alignas(32) std::uint64_t quarters[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(quarters), sums);
  scan.pixels = static_cast<std::int64_t>(quarters[0] + quarters[1] + quarters[2] + quarters[3]);
  ScanTail<Hex>(row, i, n, scan);
  return scan;
}

const bool kUseAvx2 = __builtin_cpu_supports("avx2");
#endif

}  // namespace

CRowScan ScanHexRow(const char* row, std::size_t n) {
#if defined(VYX_HAVE_AVX2_KERNEL)
  if (kUseAvx2) return ScanRowAvx2<true>(row, n);
#endif
  return ScanRow<true>(row, n);
}

CRowScan ScanBinaryRow(const char* row, std::size_t n) {
#if defined(VYX_HAVE_AVX2_KERNEL)
  if (kUseAvx2) return ScanRowAvx2<false>(row, n);
#endif
  return ScanRow<false>(row, n);
}

CRowScan ScanHexRowPortable(const char* row, std::size_t n) {
  return ScanRow<true>(row, n);
}
CRowScan ScanBinaryRowPortable(const char* row, std::size_t n) {
  return ScanRow<false>(row, n);
}

}  // namespace vyx
