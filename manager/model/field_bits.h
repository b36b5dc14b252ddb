// Whole-byte read access to a bitmap field: eight pixels at a time (most significant bit leftmost) for both
// formats, zero outside the extent or the data, and a walk over the non-zero bytes of a row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "manager/model/bitmap_field.h"
#include "manager/model/bitmap_rows.h"

namespace vyx {

class CFieldBits {
 public:
  explicit CFieldBits(const CGraphicField& f)
      : m_field(f),
        m_hex(f.format == 'A'),
        m_valid((f.format == 'A' || f.format == 'B') && f.data != nullptr && f.charsPerRow > 0 && f.bytesPerRow > 0 &&
                f.dataEnd > f.data),
        m_avail(m_valid ? f.dataEnd - f.data : 0) {}

  bool Valid() const { return m_valid; }
  const CGraphicField& Field() const { return m_field; }

  // Byte j of row y (absolute dot row): pixels extent.left + 8j .. +7. Zero outside the extent or the data.
  unsigned Byte(std::int64_t y, std::int64_t j) const {
    if (!m_valid || y < m_field.extent.top || y >= m_field.extent.bottom || j < 0 || j >= m_field.bytesPerRow) return 0;
    const std::int64_t off = (y - m_field.extent.top) * static_cast<std::int64_t>(m_field.charsPerRow);
    return ByteAtOffset(off, j);
  }

  // The 10 pixels of row y around byte j (columns 8j - 1 .. 8j + 8 from the extent's left), leftmost in bit 9.
  // Outside the ink box nothing is set, so the data is not read there.
  unsigned Around(std::int64_t y, std::int64_t j) const {
    if (!m_valid || y < m_field.extent.top || y >= m_field.extent.bottom || j < -1 || j > m_field.bytesPerRow) return 0;
    const CDotRect& ink = m_field.inkBox;
    const std::int64_t x0 = m_field.extent.left + 8 * j;
    if (!m_field.HasInk() || y < ink.top || y >= ink.bottom || x0 + 9 <= ink.left || x0 - 1 >= ink.right) return 0;
    const std::int64_t off = (y - m_field.extent.top) * static_cast<std::int64_t>(m_field.charsPerRow);
    const unsigned before = j > 0 ? ByteAtOffset(off, j - 1) & 1u : 0u;
    const unsigned mid = j >= 0 && j < m_field.bytesPerRow ? ByteAtOffset(off, j) : 0u;
    const unsigned after = j + 1 < m_field.bytesPerRow ? ByteAtOffset(off, j + 1) >> 7 : 0u;
    return (before << 9) | (mid << 1) | after;
  }

  // Bytes j0 .. j0 + 7 of row y as one word, byte j0 in the highest byte (pixel 8 j0 in bit 63); zero outside.
  std::uint64_t Word(std::int64_t y, std::int64_t j0) const {
    if (!m_valid || y < m_field.extent.top || y >= m_field.extent.bottom) return 0;
    const std::int64_t off = (y - m_field.extent.top) * static_cast<std::int64_t>(m_field.charsPerRow);
    const std::int64_t cpb = m_hex ? 2 : 1;
    if (j0 >= 0 && j0 + 8 <= m_field.bytesPerRow && off + (j0 + 8) * cpb <= m_avail) {
      const char* p = m_field.data + off + j0 * cpb;
      std::uint64_t w;
      if (!m_hex) {
        __builtin_memcpy(&w, p, 8);
        return __builtin_bswap64(w);
      }
      std::uint64_t a, b;
      __builtin_memcpy(&a, p, 8);
      __builtin_memcpy(&b, p + 8, 8);
      if (a == 0x3030303030303030ull && b == 0x3030303030303030ull) return 0;  // "0000000000000000"
      w = 0;
      for (int i = 0; i < 16; ++i) w = (w << 4) | kByteTables.hex[static_cast<unsigned char>(p[i])];
      return w;
    }
    std::uint64_t w = 0;
    for (std::int64_t j = j0; j < j0 + 8; ++j) {
      const bool inside = j >= 0 && j < m_field.bytesPerRow && off + j * cpb < m_avail;
      w = (w << 8) | (inside ? ByteAtOffset(off, j) : 0u);
    }
    return w;
  }

  // n (1..25) pixels starting at column x of row y, leftmost pixel in the highest of the n bits.
  std::uint32_t Bits(std::int64_t y, std::int64_t x, int n) const {
    const std::int64_t col = x - m_field.extent.left;
    const std::int64_t j0 = FloorDiv8(col);
    const std::int64_t j1 = FloorDiv8(col + n - 1);
    std::uint64_t acc = 0;
    for (std::int64_t j = j0; j <= j1; ++j) acc = (acc << 8) | Byte(y, j);
    const std::int64_t trailing = 8 * (j1 + 1) - (col + n);
    return static_cast<std::uint32_t>((acc >> trailing) & ((std::uint64_t{1} << n) - 1));
  }

  // Calls f(j, bits) for every non-zero byte j in [j0, j1] of row y, left to right. Rows without any set pixel
  // are skipped by the vector row kernel, runs of zero characters eight at a time.
  template <class F>
  void ForEachByte(std::int64_t y, std::int64_t j0, std::int64_t j1, F&& f) const {
    if (!m_valid || y < m_field.extent.top || y >= m_field.extent.bottom) return;
    if (j0 < 0) j0 = 0;
    if (j1 >= m_field.bytesPerRow) j1 = m_field.bytesPerRow - 1;
    if (j1 < j0) return;
    const std::int64_t rowOff = (y - m_field.extent.top) * static_cast<std::int64_t>(m_field.charsPerRow);
    const std::int64_t cpb = m_hex ? 2 : 1;
    std::int64_t c0 = rowOff + j0 * cpb;
    std::int64_t c1 = rowOff + (j1 + 1) * cpb;  // exclusive
    if (c0 >= m_avail) return;
    if (c1 > m_avail) c1 = m_avail;
    const char* base = m_field.data + c0;
    const std::size_t n = static_cast<std::size_t>(c1 - c0);
    const CRowScan scan = m_hex ? ScanHexRow(base, n) : ScanBinaryRow(base, n);
    if (scan.first < 0) return;
    std::int64_t j = j0 + scan.first / cpb;
    const std::int64_t jLast = j0 + scan.last / cpb;
    const std::uint64_t zeroWord = m_hex ? 0x3030303030303030ull : 0;
    while (j <= jLast) {
      const std::int64_t off = rowOff + j * cpb;
      // Skip eight zero characters at once while they lie inside the row's walk.
      if (j + 8 / cpb <= jLast && off + 8 <= m_avail) {
        std::uint64_t w;
        __builtin_memcpy(&w, m_field.data + off, 8);
        if (w == zeroWord) {
          j += 8 / cpb;
          continue;
        }
      }
      const unsigned b = ByteAtOffset(rowOff, j);
      if (b != 0) f(j, b);
      ++j;
    }
  }

  static std::int64_t FloorDiv8(std::int64_t v) { return v >= 0 ? v / 8 : -((-v + 7) / 8); }

 private:
  unsigned ByteAtOffset(std::int64_t rowOff, std::int64_t j) const {
    if (m_hex) {
      const std::int64_t c = rowOff + 2 * j;
      const unsigned hi = c < m_avail ? kByteTables.hex[static_cast<unsigned char>(m_field.data[c])] : 0;
      const unsigned lo = c + 1 < m_avail ? kByteTables.hex[static_cast<unsigned char>(m_field.data[c + 1])] : 0;
      return (hi << 4) | lo;
    }
    const std::int64_t c = rowOff + j;
    return c < m_avail ? static_cast<unsigned char>(m_field.data[c]) : 0u;
  }

  const CGraphicField& m_field;
  bool m_hex;
  bool m_valid;
  std::int64_t m_avail;  // readable data characters
};

}  // namespace vyx
