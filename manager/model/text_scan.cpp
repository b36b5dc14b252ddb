// Lines, searches and numbers of the job text.
#include "manager/model/text_scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

namespace vyx {

namespace {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// 64 bytes per step where the processor has AVX2.
__attribute__((target("avx2"))) char* FindCaretOrZeroAvx2(char* p, char* limit) {
  const __m256i caret = _mm256_set1_epi8('^');
  const __m256i zero = _mm256_setzero_si256();
  for (; limit - p >= 64; p += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i hitA = _mm256_or_si256(_mm256_cmpeq_epi8(a, caret), _mm256_cmpeq_epi8(a, zero));
    const __m256i hitB = _mm256_or_si256(_mm256_cmpeq_epi8(b, caret), _mm256_cmpeq_epi8(b, zero));
    const std::uint64_t mask =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(hitA)) |
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(hitB))) << 32);
    if (mask != 0) return p + __builtin_ctzll(mask);
  }
  return p;  // fewer than 64 bytes left: the caller goes on from here
}
const bool kUseAvx2 = __builtin_cpu_supports("avx2");
#endif

// The first '^' or zero byte in [p, limit), in one pass; nullptr when there is neither.
inline char* FindCaretOrZero(char* p, char* limit) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  if (kUseAvx2) {
    p = FindCaretOrZeroAvx2(p, limit);
    if (p < limit && (*p == '^' || *p == '\0')) return p;
  }
#endif
#if defined(__SSE2__)
  const __m128i caret = _mm_set1_epi8('^');
  const __m128i zero = _mm_setzero_si128();
  for (; limit - p >= 32; p += 32) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    const __m128i hitA = _mm_or_si128(_mm_cmpeq_epi8(a, caret), _mm_cmpeq_epi8(a, zero));
    const __m128i hitB = _mm_or_si128(_mm_cmpeq_epi8(b, caret), _mm_cmpeq_epi8(b, zero));
    const unsigned mask =
        static_cast<unsigned>(_mm_movemask_epi8(hitA)) | (static_cast<unsigned>(_mm_movemask_epi8(hitB)) << 16);
    if (mask != 0) return p + __builtin_ctz(mask);
  }
#endif
  for (; p < limit; ++p)
    if (*p == '^' || *p == '\0') return p;
  return nullptr;
}

inline bool MatchAt(const char* p, const char* limit, std::string_view needle) {
  return static_cast<std::size_t>(limit - p) >= needle.size() && std::memcmp(p, needle.data(), needle.size()) == 0;
}

inline char* FindByte(char* p, char* limit, char c) {
  if (p >= limit) return nullptr;
  return static_cast<char*>(std::memchr(p, c, static_cast<std::size_t>(limit - p)));
}

// At q holds "^GFB,": returns the position after the payload, or nullptr when the search must fail.
char* SkipBinaryPayload(char* q, char* limit) {
  const char* after = nullptr;
  std::int32_t count = ReadInt(q + 5, limit, &after);
  char* p = const_cast<char*>(after);
  for (int i = 0; i < 3; ++i) {
    char* comma = FindByte(p, limit, ',');
    if (comma == nullptr) return nullptr;
    p = comma + 1;
  }
  if (count < 0) count = 0;
  if (static_cast<std::size_t>(count) > static_cast<std::size_t>(limit - p)) return nullptr;
  return p + count;
}

constexpr std::string_view kGfb = "^GFB,";

}  // namespace

bool IsCommand(const char* pos, const char* limit, std::string_view name) {
  if (pos == nullptr || pos >= limit || *pos != '^') return false;
  return static_cast<std::size_t>(limit - pos - 1) >= name.size() &&
         std::memcmp(pos + 1, name.data(), name.size()) == 0;
}

char* PlainSearch(char* pos, char* limit, std::string_view needle) {
  if (pos == nullptr || needle.empty() || pos >= limit) return nullptr;
  const std::size_t n = needle.size();
  char* p = pos;
  while (static_cast<std::size_t>(limit - p) >= n) {
    char* q = FindByte(p, limit - (n - 1), needle[0]);
    if (q == nullptr) return nullptr;
    if (std::memcmp(q, needle.data(), n) == 0) return q;
    p = q + 1;
  }
  return nullptr;
}

char* LineSearch(char* pos, char* limit, std::string_view needle) {
  if (pos == nullptr || needle.empty() || pos >= limit) return nullptr;
  const std::size_t caret = needle.find('^');
  char* p = pos;
  if (caret == std::string_view::npos) {
    // A needle without '^' (not used by the model's hot paths): byte by byte.
    for (; p < limit; ++p) {
      if (*p == '\0') return nullptr;
      if (*p == '^' && MatchAt(p, limit, kGfb)) {
        p = SkipBinaryPayload(p, limit);
        if (p == nullptr) return nullptr;
        --p;
        continue;
      }
      if (MatchAt(p, limit, needle)) return p;
    }
    return nullptr;
  }
  while (p < limit) {
    char* q = FindCaretOrZero(p, limit);
    // The scan stops at a zero byte outside a payload.
    if (q == nullptr || *q == '\0') return nullptr;
    if (caret > 0 && static_cast<std::size_t>(q - p) >= caret && MatchAt(q - caret, limit, needle)) return q - caret;
    if (MatchAt(q, limit, kGfb)) {
      p = SkipBinaryPayload(q, limit);
      if (p == nullptr) return nullptr;
      continue;
    }
    if (caret == 0 && MatchAt(q, limit, needle)) return q;
    p = q + 1;
  }
  return nullptr;
}

char* LineEnd(char* pos, char* limit) {
  char* e = PlainSearch(pos, limit, "\r\n");
  return e != nullptr ? e : limit;
}

std::int32_t ReadInt(const char* pos, const char* limit, const char** after) {
  const char* p = pos;
  if (p == nullptr) {
    if (after) *after = pos;
    return 0;
  }
  while (p < limit && (*p == ' ' || *p == '\t')) ++p;
  bool negative = false;
  if (p < limit && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  std::int64_t value = 0;
  const char* digits = p;
  while (p < limit && *p >= '0' && *p <= '9') {
    if (value <= 0x80000000LL) value = value * 10 + (*p - '0');
    ++p;
  }
  if (p == digits) {
    if (after) *after = pos;
    return 0;
  }
  if (after) *after = p;
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

int ReadValues(const char* pos, const char* lineEnd, const char* limit, std::int32_t* out, int maxCount) {
  if (maxCount <= 0 || pos == nullptr) return 0;
  if (lineEnd > limit) lineEnd = limit;
  const char* p = pos;
  out[0] = ReadInt(p, limit);
  int count = 1;
  while (count < maxCount) {
    if (p >= lineEnd) break;
    const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<std::size_t>(lineEnd - p)));
    if (comma == nullptr) break;
    p = comma + 1;
    out[count++] = ReadInt(p, limit);
  }
  return count;
}

}  // namespace vyx
