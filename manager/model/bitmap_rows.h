// Row kernels of the bitmap fields: set-pixel counts and the first and last non-zero character of a row, for
// hexadecimal (upper-case digits only, every other byte reads as 0) and binary rows, 16 characters at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx {

// hex: values of hexadecimal characters, '0'-'9' and upper-case 'A'-'F'; every other byte reads as 0.
// bits: set bits of each byte value.
struct CByteTables {
  unsigned char hex[256] = {};
  unsigned char bits[256] = {};
};

constexpr CByteTables MakeByteTables() {
  CByteTables t;
  for (int c = '0'; c <= '9'; ++c) t.hex[c] = static_cast<unsigned char>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) t.hex[c] = static_cast<unsigned char>(c - 'A' + 10);
  for (int v = 0; v < 256; ++v) {
    int n = 0;
    for (int b = v; b != 0; b >>= 1) n += b & 1;
    t.bits[v] = static_cast<unsigned char>(n);
  }
  return t;
}

inline constexpr CByteTables kByteTables = MakeByteTables();

struct CRowScan {
  std::int64_t pixels = 0;  // set pixels of the row
  std::int64_t first = -1;  // index of the first character with a set pixel, -1 when none
  std::int64_t last = -1;   // index of the last such character
};

// Pick the widest kernel the processor has (AVX2, else SSE2, else plain loops).
CRowScan ScanHexRow(const char* row, std::size_t n);
CRowScan ScanBinaryRow(const char* row, std::size_t n);
// The SSE2 (or plain) kernels alone, so that tests compare both on processors with AVX2.
CRowScan ScanHexRowPortable(const char* row, std::size_t n);
CRowScan ScanBinaryRowPortable(const char* row, std::size_t n);

}  // namespace vyx
