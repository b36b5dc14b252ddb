// Row kernels: every length and alignment against a plain per-character count, with junk bytes in hex rows.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "manager/model/bitmap_rows.h"

namespace vyx {
namespace {

CRowScan Reference(const std::string& row, bool hex) {
  CRowScan scan;
  for (std::size_t i = 0; i < row.size(); ++i) {
    unsigned v = static_cast<unsigned char>(row[i]);
    if (hex) {
      const char c = row[i];
      v = (c >= '0' && c <= '9')   ? static_cast<unsigned>(c - '0')
          : (c >= 'A' && c <= 'F') ? static_cast<unsigned>(c - 'A' + 10)
                                   : 0;
    }
    if (v == 0) continue;
    scan.pixels += __builtin_popcount(v);
    if (scan.first < 0) scan.first = static_cast<std::int64_t>(i);
    scan.last = static_cast<std::int64_t>(i);
  }
  return scan;
}

void ExpectSame(const CRowScan& want, const CRowScan& got, const std::string& what) {
  EXPECT_EQ(want.pixels, got.pixels) << what;
  EXPECT_EQ(want.first, got.first) << what;
  EXPECT_EQ(want.last, got.last) << what;
}

TEST(RowKernels, MatchAPlainCountForEveryLengthAndOffset) {
  std::mt19937 rng(12345);
  const std::string alphabet = "0123456789ABCDEFabcdef^\r\n,G\x80\xff";
  for (int density : {0, 2, 50, 100}) {
    for (std::size_t n = 0; n <= 200; ++n) {
      std::string hex(n + 7, '0'), bin(n + 7, '\0');
      for (std::size_t i = 0; i < hex.size(); ++i) {
        if (static_cast<int>(rng() % 100) < density) {
          hex[i] = alphabet[rng() % alphabet.size()];
          bin[i] = static_cast<char>(rng());
        }
      }
      for (std::size_t offset : {std::size_t{0}, std::size_t{3}, std::size_t{7}}) {
        const std::string h = hex.substr(offset, n), b = bin.substr(offset, n);
        const std::string what =
            "n=" + std::to_string(n) + " offset=" + std::to_string(offset) + " density=" + std::to_string(density);
        ExpectSame(Reference(h, true), ScanHexRow(h.data(), n), "hex " + what);
        ExpectSame(Reference(h, true), ScanHexRowPortable(h.data(), n), "hex portable " + what);
        ExpectSame(Reference(b, false), ScanBinaryRow(b.data(), n), "binary " + what);
        ExpectSame(Reference(b, false), ScanBinaryRowPortable(b.data(), n), "binary portable " + what);
      }
    }
  }
}

TEST(RowKernels, LongFullRowsCountEveryBit) {
  const std::string hex(100000, 'F'), bin(100000, '\xff');
  EXPECT_EQ(400000, ScanHexRow(hex.data(), hex.size()).pixels);
  EXPECT_EQ(800000, ScanBinaryRow(bin.data(), bin.size()).pixels);
  EXPECT_EQ(99999, ScanBinaryRow(bin.data(), bin.size()).last);
  const std::string lower(1000, 'f');
  EXPECT_EQ(0, ScanHexRow(lower.data(), lower.size()).pixels);
  EXPECT_EQ(-1, ScanHexRow(lower.data(), lower.size()).first);
}

}  // namespace
}  // namespace vyx
