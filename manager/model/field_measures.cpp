// Field measures of the colour consolidation, computed on whole bytes of the bitmap (eight pixels at a time) with
// empty rows and zero characters skipped.
#include "manager/model/field_measures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "manager/model/field_bits.h"

namespace vyx {

namespace {

// The ink box clipped to the field extent, in 64-bit coordinates; empty when the field has no ink.
struct CSpan {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

CSpan InkInsideExtent(const CGraphicField& f) {
  CSpan s;
  if (!f.HasInk()) return s;
  s.left = std::max<std::int64_t>(f.inkBox.left, f.extent.left);
  s.top = std::max<std::int64_t>(f.inkBox.top, f.extent.top);
  s.right = std::min<std::int64_t>(f.inkBox.right, f.extent.right);
  s.bottom = std::min<std::int64_t>(f.inkBox.bottom, f.extent.bottom);
  return s;
}

// Byte columns of [left, right) and the masks that keep only those pixels in the first and last byte.
struct CByteRange {
  std::int64_t first = 0, last = -1;
  unsigned firstMask = 0, lastMask = 0;
  unsigned Mask(std::int64_t j, unsigned b) const {
    if (j == first) b &= firstMask;
    if (j == last) b &= lastMask;
    return b;
  }
};

CByteRange BytesOf(const CGraphicField& f, std::int64_t left, std::int64_t right) {
  CByteRange r;
  if (right <= left) return r;
  const std::int64_t c0 = left - f.extent.left;
  const std::int64_t c1 = right - f.extent.left;  // exclusive
  r.first = CFieldBits::FloorDiv8(c0);
  r.last = CFieldBits::FloorDiv8(c1 - 1);
  r.firstMask = 0xFFu >> (c0 - 8 * r.first);
  r.lastMask = (0xFFu << (8 * (r.last + 1) - c1)) & 0xFFu;
  return r;
}

// Set bits of a byte value, by table (no library call on processors without a popcount instruction).
inline int Popcount(unsigned v) {
  return kByteTables.bits[v & 0xFFu];
}

// Set pixels of the rectangle (which must lie inside the extent).
std::int64_t CountRect(const CFieldBits& bits,
                       std::int64_t left,
                       std::int64_t top,
                       std::int64_t right,
                       std::int64_t bottom) {
  const CByteRange br = BytesOf(bits.Field(), left, right);
  std::int64_t n = 0;
  for (std::int64_t y = top; y < bottom; ++y)
    for (std::int64_t j = br.first; j <= br.last; ++j) n += Popcount(br.Mask(j, bits.Byte(y, j)));
  return n;
}

double WindowDensityWith(const CFieldBits& bits,
                         std::int64_t left,
                         std::int64_t top,
                         std::int64_t right,
                         std::int64_t bottom) {
  const CGraphicField& f = bits.Field();
  if (left < f.extent.left || top < f.extent.top || right > f.extent.right || bottom > f.extent.bottom) return -1;
  if (right <= left || bottom <= top) return -1;
  const double area = static_cast<double>(right - left) * static_cast<double>(bottom - top);
  return static_cast<double>(CountRect(bits, left, top, right, bottom)) / area;
}

// Whether a 6 x 6 window with more than 30 set pixels may exist with its rows in [top, bottom) and its columns in
// [left, right): such a window has at least four rows with five or more of its six pixels set (six rows of which k
// hold at least 5 give at most 6k + 4(6 - k), which reaches 31 only from k = 4). False settles that no window of the
// solid-block test can pass. Rows are taken as 64-bit words (leftmost pixel in the highest bit) from the byte that
// holds `left`; pixels outside the extent read as clear, which only windows that the test never counts can meet.
bool MayHoldDenseWindow(const CFieldBits& bits,
                        std::int64_t top,
                        std::int64_t bottom,
                        std::int64_t left,
                        std::int64_t right) {
  const CGraphicField& f = bits.Field();
  if (right <= left || bottom <= top) return false;
  const std::int64_t j0 = CFieldBits::FloorDiv8(left - f.extent.left);
  const std::int64_t j1 = CFieldBits::FloorDiv8(right - 1 - f.extent.left);
  const std::size_t words = static_cast<std::size_t>((j1 - j0 + 8) / 8) + 1;  // one clear word past the right edge
  std::vector<std::uint64_t> row(words);
  std::vector<std::uint64_t> five(6 * words);  // ring of the last six rows: positions with at most one clear pixel
  bool flagged[6] = {};
  for (std::int64_t y = top; y < bottom; ++y) {
    for (std::size_t w = 0; w + 1 < words; ++w) row[w] = bits.Word(y, j0 + static_cast<std::int64_t>(8 * w));
    row[words - 1] = 0;
    const std::size_t slot = static_cast<std::size_t>((y - top) % 6);
    std::uint64_t* out = &five[slot * words];
    bool any = false;
    for (std::size_t w = 0; w + 1 < words; ++w) {
      const std::uint64_t r0 = row[w], r1 = row[w + 1];
      // Windows that start in this word reach five pixels into the next one: without a set pixel here, only the
      // last of them can hold five set pixels, and only when those five are set.
      if (r0 == 0 && (r1 >> 59) != 0x1F) {
        out[w] = 0;
        continue;
      }
      // Clear pixels of x .. x + 5 for every x of the word: `two` marks positions with at least two.
      const std::uint64_t c0 = ~r0, c1 = ~r1;
      std::uint64_t one = c0, two = 0;
      for (int k = 1; k < 6; ++k) {
        const std::uint64_t ck = (c0 << k) | (c1 >> (64 - k));
        two |= one & ck;
        one |= ck;
      }
      out[w] = ~two;
      any = any || out[w] != 0;
    }
    out[words - 1] = 0;
    flagged[slot] = any;
    if (y - top < 5) continue;
    int rows = 0;
    for (bool b : flagged) rows += b;
    if (rows < 4) continue;
    for (std::size_t w = 0; w + 1 < words; ++w) {
      std::uint64_t l1 = 0, l2 = 0, l3 = 0, l4 = 0;
      for (std::size_t r = 0; r < 6; ++r) {
        const std::uint64_t v = five[r * words + w];
        l4 |= l3 & v;
        l3 |= l2 & v;
        l2 |= l1 & v;
        l1 |= v;
      }
      if (l4 != 0) return true;
    }
  }
  return false;
}

// One pass of the stroke count over a sequence of lines (rows or columns) given as their run counts.
class CStrokeSum {
 public:
  explicit CStrokeSum(std::int64_t limit) : m_limit(limit) {}
  // Feeds the next line; true when the count stopped (Result() holds the stop value).
  bool Line(std::int64_t runs) {
    const std::int64_t c = 2 * runs;  // clear before the first pixel, +1 when the last one is set
    if (c >= m_limit) {
      m_result = m_limit;
      return true;
    }
    if (runs > 0) {
      m_max = std::max(m_max, c);
      m_inBand = true;
      return false;
    }
    if (m_inBand) {
      m_sum += m_max;
      m_max = 0;
      m_inBand = false;
      if (m_sum >= m_limit) {
        m_result = m_sum;
        return true;
      }
    }
    return false;
  }
  // After the last line of a pass: the open band counts; the next pass starts a new band.
  void EndPass() {
    if (m_inBand) m_sum += m_max;
    m_max = 0;
    m_inBand = false;
  }
  std::int64_t Sum() const { return m_sum; }
  std::int64_t Result() const { return m_result; }

 private:
  std::int64_t m_limit;
  std::int64_t m_sum = 0;
  std::int64_t m_max = 0;
  bool m_inBand = false;
  std::int64_t m_result = 0;
};

std::int64_t CountStrokes(const CGraphicField& f, std::int64_t limit) {
  const CFieldBits bits(f);
  const CSpan ink = InkInsideExtent(f);
  if (!bits.Valid() || ink.Empty()) return 0;
  const CByteRange br = BytesOf(f, ink.left, ink.right);
  CStrokeSum sum(limit);

  // Rows pass: runs of a row are its bits whose left neighbour is clear.
  for (std::int64_t y = ink.top; y < ink.bottom; ++y) {
    std::int64_t runs = 0;
    std::int64_t prevJ = br.first - 2;
    unsigned prevLow = 0;
    bits.ForEachByte(y, br.first, br.last, [&](std::int64_t j, unsigned b) {
      b = br.Mask(j, b);
      const unsigned left = (b >> 1) | ((j == prevJ + 1 ? prevLow : 0u) << 7);
      runs += Popcount(b & ~left & 0xFFu);
      prevLow = b & 1u;
      prevJ = j;
    });
    if (sum.Line(runs)) return sum.Result();
  }
  sum.EndPass();

  // Columns pass: run starts of every column, gathered row by row (pixel above clear), then fed left to right.
  // A column's count is final before the next column is looked at, so gathering them first stops identically.
  std::vector<std::int64_t> runs(static_cast<std::size_t>(ink.right - ink.left), 0);
  const std::int64_t base = f.extent.left - ink.left;
  for (std::int64_t y = ink.top; y < ink.bottom; ++y) {
    bits.ForEachByte(y, br.first, br.last, [&](std::int64_t j, unsigned b) {
      b = br.Mask(j, b);
      const unsigned above = y > ink.top ? br.Mask(j, bits.Byte(y - 1, j)) : 0u;
      unsigned starts = b & ~above & 0xFFu;
      while (starts != 0) {
        const int p = __builtin_clz(starts) - 24;  // 0 = leftmost pixel of the byte
        ++runs[static_cast<std::size_t>(base + 8 * j + p)];
        starts &= ~(0x80u >> p);
      }
    });
  }
  for (std::int64_t r : runs)
    if (sum.Line(r)) return sum.Result();
  sum.EndPass();
  return sum.Sum();
}

}  // namespace

double Density(const CGraphicField& f) {
  const std::int64_t area = f.HasInk() ? f.inkBox.Area() : 0;
  if (area <= 0) return -1;
  return static_cast<double>(f.pixelCount) / static_cast<double>(area);
}

double WindowDensity(const CGraphicField& f,
                     std::int64_t left,
                     std::int64_t top,
                     std::int64_t right,
                     std::int64_t bottom) {
  return WindowDensityWith(CFieldBits(f), left, top, right, bottom);
}

double WindowDensity(const CGraphicField& f, const CDotRect& r) {
  return WindowDensity(f, r.left, r.top, r.right, r.bottom);
}

std::int32_t StrokeCount(CGraphicField& f, std::int32_t limit) {
  if (limit < 1) limit = 1;
  if (f.strokeLimit != 0 && f.strokeLimit >= limit) return f.strokeCount;
  const std::int64_t n = CountStrokes(f, limit);
  f.strokeCount = static_cast<std::int32_t>(std::min<std::int64_t>(n, INT32_MAX));
  f.strokeLimit = limit;
  return f.strokeCount;
}

bool IsLineLike(const CGraphicField& f, std::int32_t strokes) {
  const std::int64_t w = f.HasInk() ? std::max<std::int64_t>(f.inkBox.Width(), 0) : 0;
  const std::int64_t h = f.HasInk() ? std::max<std::int64_t>(f.inkBox.Height(), 0) : 0;
  const std::int64_t p = f.pixelCount;
  if (strokes < 8 && (w >= p || h >= p)) return true;
  if (strokes > 8) return false;
  return 2 * w >= p || 2 * h >= p;
}

int PatternTest(const CGraphicField& f) {
  if (!f.HasInk()) return kPatternNeither;
  const std::int64_t w = f.inkBox.Width();
  const std::int64_t h = f.inkBox.Height();
  if (w <= 32 || h <= 32) return kPatternNeither;
  const double d = Density(f);
  if (d < 0.09) return kPatternNeither;
  if (d > 0.26) return kPatternDense;
  const double a = static_cast<double>(w) / static_cast<double>(h);
  const std::int64_t x = (static_cast<std::int64_t>(f.inkBox.left) + f.inkBox.right - 32) / 2;
  const std::int64_t y = (static_cast<std::int64_t>(f.inkBox.top) + f.inkBox.bottom - 32) / 2;
  const std::int64_t moves[5][2] = {{0, 0},
                                    {static_cast<std::int64_t>(std::trunc(0.5 - 32 * a)), 0},
                                    {0, static_cast<std::int64_t>(std::trunc(0.5 - 32 / a))},
                                    {static_cast<std::int64_t>(std::trunc(32 * a + 0.5)), 0},
                                    {0, static_cast<std::int64_t>(std::trunc(32 / a + 0.5))}};
  const CFieldBits bits(f);
  double r[5];
  for (int i = 0; i < 5; ++i) {
    const std::int64_t wx = x + moves[i][0];
    const std::int64_t wy = y + moves[i][1];
    r[i] = WindowDensityWith(bits, wx, wy, wx + 32, wy + 32);
    if (r[i] < 0.1125) return kPatternNeither;
    if (r[i] > 0.26) return kPatternDense;
  }
  const double m = (r[0] + r[1] + r[2] + r[3] + r[4]) / 5;
  for (double v : r)
    if ((v - m) * (v - m) > 0.00055) return kPatternNeither;
  return kPatternTint;
}

int SolidBlockTest(const CGraphicField& f) {
  if (!f.HasInk()) return kSolidBlockNone;
  const CFieldBits bits(f);
  const std::int64_t left = f.inkBox.left, top = f.inkBox.top;
  const std::int64_t w = f.inkBox.Width(), h = f.inkBox.Height();
  // Fields with many half-filled windows (text, screens, stripes) keep raising the grid limit, and the grid grows
  // with the field's smaller side cubed; past this many windows one pass over the rows settles the common case of
  // no nearly solid window anywhere.
  constexpr std::int64_t kWindowsBeforeRunCheck = 1024;
  std::int64_t windows = 0;
  bool runChecked = false;
  auto dense = [&](std::int64_t x, std::int64_t y) {
    ++windows;
    return WindowDensityWith(bits, x, y, x + 6, y + 6);
  };
  std::int64_t g = 2, s = 12, limit = 6;
  while (s < w && s < h) {
    if (!runChecked && windows + g * g > kWindowsBeforeRunCheck) {
      runChecked = true;
      // Every window lies within 12 dots left and above the ink box and 15 right and below it.
      if (!MayHoldDenseWindow(bits, std::max<std::int64_t>(top - 16, f.extent.top),
                              std::min<std::int64_t>(top + h + 16, f.extent.bottom),
                              std::max<std::int64_t>(left - 16, f.extent.left),
                              std::min<std::int64_t>(left + w + 16, f.extent.right)))
        return kSolidBlockNone;
    }
    const std::int64_t cw = w / g, ch = h / g;
    for (std::int64_t cy = 0; cy < g; ++cy) {
      for (std::int64_t cx = 0; cx < g; ++cx) {
        const std::int64_t x = left + cx * cw + (cw - 6) / 2;
        const std::int64_t y = top + cy * ch + (ch - 6) / 2;
        const double r = dense(x, y);
        if (r > 0.83334) return kSolidBlockFound;
        if (r >= 0.5) {
          if (dense(x - 9, y) > 0.83334 || dense(x, y - 9) > 0.83334 || dense(x + 9, y) > 0.83334 ||
              dense(x, y + 9) > 0.83334)
            return kSolidBlockFound;
          limit += 2;
        }
      }
    }
    s += 6;
    g += 1;
    if (limit < g) break;
  }
  return kSolidBlockNone;
}

int LargestSolidSquare(CGraphicField& f) {
  constexpr int kEnough = 6;
  f.largestSolidSquare = CDotRect{};
  const CFieldBits bits(f);
  const CSpan ink = InkInsideExtent(f);
  if (!bits.Valid() || ink.Empty()) return 0;
  const CByteRange br = BytesOf(f, ink.left, ink.right);
  int best = 0;
  auto store = [&](std::int64_t x, std::int64_t y, int side) {
    best = side;
    f.largestSolidSquare = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                            static_cast<std::int32_t>(x + side), static_cast<std::int32_t>(y + side)};
  };
  // Grows the square at (x, y) one step at a time: the new bottom row, then the new right column.
  auto grow = [&](std::int64_t x, std::int64_t y) {
    int side = 1;
    while (side < kEnough) {
      const int i = side;
      const std::uint32_t all = (1u << (i + 1)) - 1;
      if (bits.Bits(y + i, x, i + 1) != all) break;
      bool full = true;
      for (std::int64_t yy = y; yy < y + i && full; ++yy) full = bits.Bits(yy, x + i, 1) == 1;
      if (!full) break;
      side = i + 1;
      if (side > best) store(x, y, side);
    }
  };
  // Starts of byte j of row y whose k x k square is all set: growing reaches side k exactly from those, so only
  // they can beat the best so far.
  auto squareStarts = [&](std::int64_t y, std::int64_t j, int k) {
    unsigned cand = 0xFFu;
    for (int dy = 0; dy < k && cand != 0; ++dy) {
      const unsigned v = (bits.Byte(y + dy, j) << 8) | bits.Byte(y + dy, j + 1);
      unsigned run = v;
      for (int t = 1; t < k; ++t) run &= v << t;
      cand &= (run >> 8) & 0xFFu;
    }
    return cand;
  };
  for (std::int64_t y = ink.top; y < ink.bottom && best < kEnough; ++y) {
    bits.ForEachByte(y, br.first, br.last, [&](std::int64_t j, unsigned b) {
      b = br.Mask(j, b);
      while (b != 0 && best < kEnough) {
        const unsigned cand = b & squareStarts(y, j, best + 1);
        if (cand == 0) break;
        const int p = __builtin_clz(cand) - 24;  // 0 = leftmost pixel of the byte
        b &= (0x80u >> p) - 1;                   // later starts lie to the right
        const std::int64_t x = f.extent.left + 8 * j + p;
        if (best < 1) store(x, y, 1);
        grow(x, y);
      }
    });
  }
  return best;
}

}  // namespace vyx
