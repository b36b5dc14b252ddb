// Bitmap fields: reading, pixel access, transfer, merging, writing and drawing.
#include "manager/model/bitmap_field.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "manager/model/bitmap_rows.h"
#include "manager/model/field_bits.h"
#include "manager/model/text_scan.h"
#include "manager/model/transfer_words.h"

namespace vyx {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

inline unsigned CharValue(const char* p, bool hex) {
  const unsigned char c = static_cast<unsigned char>(*p);
  return hex ? kByteTables.hex[c] : c;
}

inline void StoreValue(char* p, unsigned v, bool hex) {
  *p = hex ? kHexDigits[v & 15] : static_cast<char>(static_cast<unsigned char>(v));
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

inline bool FitsInt32(std::int64_t v) {
  return v >= INT32_MIN && v <= INT32_MAX;
}

inline int ClampToInt(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int>(v);
}

std::size_t g_maxBitmapBytes = std::size_t{1} << 30;

}  // namespace

// ---- CGraphicField ----

char* CGraphicField::Parse(char* pos, char* limit, char* dataLimit) {
  textStart = pos;
  textEnd = nullptr;
  textLength = 0;
  data = dataEnd = nullptr;
  format = 0;
  pixelCount = 0;
  inkBox = CDotRect::Unset();
  if (pos == nullptr || pos >= limit) return pos;

  bool haveRR = false, haveFO = false, haveGF = false;
  std::int32_t x = 0, y = 0;
  char* gfData = nullptr;
  std::int32_t gfTotal = 0, gfPerRow = 0;
  char gfFormat = 0;
  char* result = nullptr;
  char* line = pos;

  while (true) {
    int kind = 0;
    if (IsCommand(line, limit, "RR"))
      kind = 1;
    else if (IsCommand(line, limit, "FO"))
      kind = 2;
    else if (IsCommand(line, limit, "GF"))
      kind = 3;
    if (kind == 0 || (kind == 1 && haveRR) || (kind == 2 && haveFO) || (kind == 3 && haveGF)) {
      SetSpan(pos, line);
      result = line;
      break;
    }
    char* next = LineSearch(line, limit, "\r\n^");
    char* eol = next != nullptr ? next : limit;
    if (kind == 1) {
      haveRR = true;
      const char* after = nullptr;
      ribbonIndex = static_cast<std::uint32_t>(ReadInt(line + 3, eol, &after));
      const char* comma = static_cast<const char*>(std::memchr(after, ',', static_cast<std::size_t>(eol - after)));
      if (comma != nullptr) {
        std::size_t n = 0;
        for (const char* p = comma + 1; p < eol && *p != '\r' && n < sizeof ribbonName - 1; ++p) ribbonName[n++] = *p;
        ribbonName[n] = '\0';
      }
    } else if (kind == 2) {
      std::int32_t v[2] = {0, 0};
      if (ReadValues(line + 3, eol, limit, v, 2) == 2) {
        haveFO = true;
        x = v[0];
        y = v[1];
      }
    } else {
      const char f = line + 3 < limit ? line[3] : '\0';
      if (f != 'A' && f != 'B') {
        // Compressed or unknown format: the field stops at once, without pixels and without a span end.
        format = f;
        return nullptr;
      }
      char* commas[4] = {};
      char* p = line + 4;
      int found = 0;
      for (; found < 4; ++found) {
        char* c = p < eol ? static_cast<char*>(std::memchr(p, ',', static_cast<std::size_t>(eol - p))) : nullptr;
        if (c == nullptr) break;
        commas[found] = c;
        p = c + 1;
      }
      if (found == 4) {
        haveGF = true;
        gfFormat = f;
        gfTotal = ReadInt(commas[1] + 1, limit);
        gfPerRow = ReadInt(commas[2] + 1, limit);
        gfData = commas[3] + 1;
      }
    }
    if (next == nullptr) {
      result = line;  // span end stays unset
      break;
    }
    line = next + 2;
  }

  extent = {x, y, x, y};
  if (haveGF) {
    const std::int64_t rows = (gfPerRow > 0 && gfTotal > 0) ? gfTotal / gfPerRow : 0;
    const std::int64_t right = static_cast<std::int64_t>(x) + 8 * static_cast<std::int64_t>(std::max(gfPerRow, 0));
    const std::int64_t bottom = static_cast<std::int64_t>(y) + rows;
    format = gfFormat;
    charsPerByte = gfFormat == 'A' ? 2 : 1;
    pixelsPerChar = 8 / charsPerByte;
    totalBytes = gfTotal;
    bytesPerRow = gfPerRow;
    if (!FitsInt32(right) || !FitsInt32(bottom) || !FitsInt32(static_cast<std::int64_t>(gfPerRow) * charsPerByte)) {
      // A damaged field whose extent does not fit 32-bit dots is treated like an unknown format.
      textEnd = nullptr;
      textLength = 0;
      return nullptr;
    }
    charsPerRow = gfPerRow > 0 ? gfPerRow * charsPerByte : 0;
    extent = {x, y, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
    data = gfData;
    const std::int64_t want = rows * charsPerRow;
    const std::int64_t avail = std::min(dataLimit, limit) - gfData;
    dataEnd = gfData + std::max<std::int64_t>(0, std::min(want, avail));
    DecodeBitmap();
  }
  return result;
}

void CGraphicField::DecodeBitmap() {
  pixelCount = 0;
  inkBox = CDotRect::Unset();
  if (data == nullptr || charsPerRow <= 0) return;
  const bool hex = format == 'A';
  const int ppc = pixelsPerChar;
  const std::int32_t rows = RowCount();
  std::int64_t count = 0;
  // The ink box from the first and last set pixel of every row, set once at the end.
  std::int64_t left = INT64_MAX, right = INT64_MIN, top = -1, bottom = -1;
  for (std::int32_t row = 0; row < rows; ++row) {
    const char* rowPtr = data + static_cast<std::int64_t>(row) * charsPerRow;
    if (rowPtr >= dataEnd) break;
    const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(charsPerRow, dataEnd - rowPtr));
    const CRowScan scan = hex ? ScanHexRow(rowPtr, n) : ScanBinaryRow(rowPtr, n);
    if (scan.first < 0) continue;
    count += scan.pixels;
    // Most significant bit is the leftmost pixel.
    const int firstBit = __builtin_clz(CharValue(rowPtr + scan.first, hex)) - (32 - ppc);
    const int lastBit = ppc - 1 - __builtin_ctz(CharValue(rowPtr + scan.last, hex));
    left = std::min<std::int64_t>(left, scan.first * ppc + firstBit);
    right = std::max<std::int64_t>(right, scan.last * ppc + lastBit);
    if (top < 0) top = row;
    bottom = row;
  }
  if (top >= 0) {
    inkBox = {static_cast<std::int32_t>(extent.left + left), static_cast<std::int32_t>(extent.top + top),
              static_cast<std::int32_t>(extent.left + right + 1), static_cast<std::int32_t>(extent.top + bottom + 1)};
  }
  pixelCount = count;
}

bool CGraphicField::Write(COutputChannel& out) {
  if (textStart == nullptr || textEnd == nullptr || textEnd <= textStart) return false;
  char* fo = LineSearch(textStart, textEnd, "^FO");
  if (fo == nullptr || fo >= textEnd) return false;
  return out.Write(fo, static_cast<std::size_t>(textEnd - fo));
}

bool CGraphicField::WriteRibbonSelect(COutputChannel& out, unsigned ribbonIndex, const char* ribbonName) {
  char line[64];
  int n = std::snprintf(line, sizeof line, "^RR%u,%.31s\r\n", ribbonIndex, ribbonName != nullptr ? ribbonName : "");
  if (n < 0) return false;
  if (n >= static_cast<int>(sizeof line)) n = sizeof line - 1;
  return out.Write(line, static_cast<std::size_t>(n));
}

int CGraphicField::PixelAt(std::int64_t x, std::int64_t y) const {
  if (format != 'A' && format != 'B') return -2;
  if (data == nullptr || x < extent.left || x >= extent.right || y < extent.top || y >= extent.bottom) return -1;
  const std::int64_t col = x - extent.left;
  const char* p = data + (y - extent.top) * static_cast<std::int64_t>(charsPerRow) + col / pixelsPerChar;
  if (p < data || p >= dataEnd) return -1;
  const unsigned bit = (format == 'A' ? 8u : 128u) >> (col % pixelsPerChar);
  return (CharValue(p, format == 'A') & bit) != 0 ? 1 : 0;
}

int CGraphicField::NeighbourCount(std::int64_t x, std::int64_t y) const {
  int n = 0;
  for (std::int64_t dy = -1; dy <= 1; ++dy)
    for (std::int64_t dx = -1; dx <= 1; ++dx) n += PixelAt(x + dx, y + dy) == 1;
  return n;
}

bool CGraphicField::SetPixel(std::int64_t x, std::int64_t y) {
  if (format != 'A' && format != 'B') return false;
  if (data == nullptr || x < extent.left || x >= extent.right || y < extent.top || y >= extent.bottom) return false;
  const std::int64_t col = x - extent.left;
  char* p = data + (y - extent.top) * static_cast<std::int64_t>(charsPerRow) + col / pixelsPerChar;
  if (p < data || p >= dataEnd) return false;
  const bool hex = format == 'A';
  const unsigned bit = (hex ? 8u : 128u) >> (col % pixelsPerChar);
  StoreValue(p, CharValue(p, hex) | bit, hex);
  ++pixelCount;
  ExtendInkBox(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  return true;
}

void CGraphicField::Draw(CDrawCanvas& dc,
                         int x,
                         int y,
                         const CDotRect& clip,
                         int ox1,
                         int oy1,
                         int ox2,
                         int oy2,
                         ColorRef colour) {
  if (!HasInk() || data == nullptr || (format != 'A' && format != 'B')) return;
  const std::int64_t dx = static_cast<std::int64_t>(x) + ox1 + ox2;
  const std::int64_t dy = static_cast<std::int64_t>(y) + oy1 + oy2;
  const CDotRect moved{ClampToInt(inkBox.left + dx), ClampToInt(inkBox.top + dy), ClampToInt(inkBox.right + dx),
                       ClampToInt(inkBox.bottom + dy)};
  if (IntersectRect(moved, clip).IsEmpty()) return;
  const CFieldBits bits(*this);
  if (!bits.Valid()) return;
  // Only the part of the ink box inside the field and inside the clip is read: a repaint costs what it shows.
  const std::int64_t rowFirst = std::max({std::int64_t{inkBox.top}, std::int64_t{extent.top}, clip.top - dy});
  const std::int64_t rowLast = std::min({std::int64_t{inkBox.bottom}, std::int64_t{extent.bottom}, clip.bottom - dy});
  const std::int64_t colFirst = std::max({std::int64_t{inkBox.left}, std::int64_t{extent.left}, clip.left - dx});
  const std::int64_t colLast = std::min({std::int64_t{inkBox.right}, std::int64_t{extent.right}, clip.right - dx});
  if (colFirst >= colLast) return;
  const std::int64_t j0 = (colFirst - extent.left) / 8;
  const std::int64_t j1 = (colLast - 1 - extent.left) / 8;
  const bool hex = format == 'A';
  for (std::int64_t py = rowFirst; py < rowLast; ++py) {
    const int paintedY = ClampToInt(py + dy);
    // Binary rows are drawn as runs of set pixels with the caller's pen; a run may go on into the next byte.
    std::int64_t runStart = 0, runEnd = -1;
    auto flush = [&] {
      if (runEnd <= runStart) return;
      dc.MoveTo(ClampToInt(runStart + dx), paintedY);
      dc.LineTo(ClampToInt(runEnd + dx), paintedY);
    };
    bits.ForEachByte(py, j0, j1, [&](std::int64_t j, unsigned byte) {
      const std::int64_t x0 = extent.left + 8 * j;
      if (x0 < colFirst) byte &= 0xFFu >> (colFirst - x0);
      if (x0 + 8 > colLast) byte &= (0xFFu << (x0 + 8 - colLast)) & 0xFFu;
      while (byte != 0) {
        const int k = std::countl_zero(static_cast<std::uint8_t>(byte));
        const int n = std::countl_one(static_cast<std::uint8_t>(byte << k));
        const std::int64_t start = x0 + k;
        if (hex) {
          for (int i = 0; i < n; ++i) dc.SetPixel(ClampToInt(start + i + dx), paintedY, colour);
        } else if (start == runEnd) {
          runEnd += n;
        } else {
          flush();
          runStart = start;
          runEnd = start + n;
        }
        byte = k + n >= 8 ? 0u : byte & (0xFFu >> (k + n));
      }
    });
    if (!hex) flush();
  }
}

// ---- pixel transfer and merging ----

namespace {

// The transfer of one target character whose bits may be partly outside the rectangle, the source row or the
// data: the general case at the ends of rows and in the last rows. Returns false when the walk must stop.
bool TransferEdgeChar(const CGraphicField& source,
                      CGraphicField& target,
                      int mode,
                      const CDotRect& r,
                      const char* sRow,
                      char* dRow,
                      std::int64_t di,
                      std::int64_t& count,
                      std::int64_t& added) {
  const bool hex = target.format == 'A';
  const int ppc = target.pixelsPerChar;
  const unsigned full = (1u << ppc) - 1;
  const std::int64_t charX0 = target.extent.left + di * ppc;
  const std::int64_t lo = std::max<std::int64_t>(r.left, charX0);
  const std::int64_t hi = std::min<std::int64_t>(r.right, charX0 + ppc);
  // Bit for position k (0 = leftmost) is 1 << (ppc - 1 - k).
  unsigned mask = (full >> (lo - charX0)) & ~(full >> (hi - charX0)) & full;
  char* dPtr = dRow + di;
  if (dPtr >= target.dataEnd) return false;
  const std::int64_t scol0 = charX0 - source.extent.left;
  const std::int64_t idx0 = FloorDiv(scol0, ppc);
  const int off = static_cast<int>(scol0 - idx0 * ppc);
  const char* s0 = sRow + idx0;
  const char* s1 = s0 + 1;
  const bool in0 = idx0 >= 0 && idx0 < source.charsPerRow;
  const bool in1 = idx0 + 1 >= 0 && idx0 + 1 < source.charsPerRow;
  // Positions whose source character lies beyond the data end stop the walk after the valid ones.
  unsigned valid = full;
  if (in0 && s0 >= source.dataEnd)
    valid = 0;
  else if (off > 0 && in1 && s1 >= source.dataEnd)
    valid = full & ~(full >> (ppc - off));
  bool stop = false;
  if ((mask & ~valid) != 0) {
    mask &= valid;
    stop = true;
  }
  const unsigned v0 = (in0 && s0 < source.dataEnd) ? CharValue(s0, hex) : 0;
  const unsigned v1 = (off > 0 && in1 && s1 < source.dataEnd) ? CharValue(s1, hex) : 0;
  const unsigned bits = off == 0 ? v0 : ((((v0 << ppc) | v1) >> (ppc - off)) & full);
  const unsigned sv = bits & mask;
  if (sv != 0) {
    const unsigned dv = CharValue(dPtr, hex);
    if (mode == kTransferKnockOut) {
      const unsigned hit = dv & sv;
      if (hit != 0) {
        count += kByteTables.bits[hit];
        StoreValue(dPtr, dv & ~sv, hex);
      }
    } else if (mode == kTransferCopy) {
      count += kByteTables.bits[sv];
      added += kByteTables.bits[sv & ~dv];
      StoreValue(dPtr, dv | sv, hex);
    }
  }
  return !stop;
}

// Whole target characters [a, b] of one row, all inside the rectangle, the rows and the data: source
// character di + shift (and the next one when the columns are offset by `off` bits) feeds target character di.
// Aligned rows (off 0) go sixteen or eight characters at a time unless the source lies just before the target in
// memory, where the character-wise walk reads what it wrote a few characters earlier.
template <bool Hex, int Mode>
std::int64_t TransferInterior(const char* sRow,
                              char* dRow,
                              std::int64_t a,
                              std::int64_t b,
                              std::int64_t shift,
                              int off,
                              std::int64_t& added) {
  constexpr int ppc = Hex ? 4 : 8;
  constexpr unsigned full = (1u << ppc) - 1;
  std::int64_t count = 0;
  const char* s = sRow + shift;
  std::int64_t di = a;
  const auto sAt = reinterpret_cast<std::uintptr_t>(s), dAt = reinterpret_cast<std::uintptr_t>(dRow);
  if (off == 0 && (sAt >= dAt || sAt + 16 <= dAt)) {
#if defined(__SSE2__)
    for (; di + 16 <= b + 1; di += 16) {
      if (Mode == kTransferKnockOut)
        count += sse2::KnockOut<Hex>(s + di, dRow + di);
      else
        sse2::Copy<Hex>(s + di, dRow + di, count, added);
    }
#endif
    for (; di + 8 <= b + 1; di += 8) {
      if (Mode == kTransferKnockOut)
        count += KnockOutWord<Hex>(s + di, dRow + di);
      else
        CopyWord<Hex>(s + di, dRow + di, count, added);
    }
  }
  for (; di <= b; ++di) {
    const unsigned v0 = Hex ? kByteTables.hex[static_cast<unsigned char>(s[di])] : static_cast<unsigned char>(s[di]);
    unsigned bits = v0;
    if (off != 0) {
      const unsigned v1 =
          Hex ? kByteTables.hex[static_cast<unsigned char>(s[di + 1])] : static_cast<unsigned char>(s[di + 1]);
      bits = (((v0 << ppc) | v1) >> (ppc - off)) & full;
    }
    if (bits == 0) continue;
    char* d = dRow + di;
    const unsigned dv = Hex ? kByteTables.hex[static_cast<unsigned char>(*d)] : static_cast<unsigned char>(*d);
    if (Mode == kTransferKnockOut) {
      const unsigned hit = dv & bits;
      if (hit == 0) continue;
      count += kByteTables.bits[hit];
      StoreValue(d, dv & ~bits, Hex);
    } else {
      count += kByteTables.bits[bits];
      added += kByteTables.bits[bits & ~dv];
      StoreValue(d, dv | bits, Hex);
    }
  }
  return count;
}

template <bool Hex, int Mode>
std::int64_t TransferRows(const CGraphicField& source, CGraphicField& target, const CDotRect& r, std::int64_t& added) {
  constexpr int ppc = Hex ? 4 : 8;
  const int mode = Mode;
  const std::int64_t d = static_cast<std::int64_t>(target.extent.left) - source.extent.left;
  const std::int64_t shift = FloorDiv(d, ppc);
  const int off = static_cast<int>(d - shift * ppc);
  const std::int64_t tl = target.extent.left;
  const std::int64_t diFirst = (r.left - tl) / ppc;
  const std::int64_t diLast = (r.right - 1 - tl) / ppc;
  // Characters wholly inside the rectangle's columns.
  const std::int64_t a = std::max<std::int64_t>(diFirst, (r.left - tl + ppc - 1) / ppc);
  const std::int64_t b = std::min<std::int64_t>(diLast, (r.right - tl) / ppc - 1);
  const std::int64_t sDataLen = source.dataEnd - source.data;
  const std::int64_t dDataLen = target.dataEnd - target.data;
  std::int64_t count = 0;
  for (std::int64_t y = r.top; y < r.bottom; ++y) {
    const std::int64_t sOff = (y - source.extent.top) * static_cast<std::int64_t>(source.charsPerRow);
    const std::int64_t dOff = (y - target.extent.top) * static_cast<std::int64_t>(target.charsPerRow);
    const char* sRow = source.data + sOff;
    char* dRow = target.data + dOff;
    const bool interior = a <= b && dOff + b < dDataLen && sOff + b + shift + (off != 0 ? 1 : 0) < sDataLen;
    if (!interior) {
      for (std::int64_t di = diFirst; di <= diLast; ++di)
        if (!TransferEdgeChar(source, target, mode, r, sRow, dRow, di, count, added)) return count;
      continue;
    }
    for (std::int64_t di = diFirst; di < a; ++di)
      if (!TransferEdgeChar(source, target, mode, r, sRow, dRow, di, count, added)) return count;
    count += TransferInterior<Hex, Mode>(sRow, dRow, a, b, shift, off, added);
    for (std::int64_t di = b + 1; di <= diLast; ++di)
      if (!TransferEdgeChar(source, target, mode, r, sRow, dRow, di, count, added)) return count;
  }
  return count;
}

}  // namespace

std::int64_t TransferPixels(const CGraphicField& source,
                            CGraphicField& target,
                            int mode,
                            const CDotRect& rect,
                            std::int64_t* added) {
  std::int64_t newlySet = 0;
  if (added != nullptr) *added = 0;
  if (source.format != target.format || (target.format != 'A' && target.format != 'B')) return 0;
  if (source.data == nullptr || target.data == nullptr || source.charsPerRow <= 0 || target.charsPerRow <= 0) return 0;
  if (source.pixelsPerChar != target.pixelsPerChar) return 0;
  if (mode != kTransferKnockOut && mode != kTransferCopy) return 0;
  const CDotRect r = IntersectRect(IntersectRect(rect, source.extent), target.extent);
  if (r.IsEmpty()) return 0;
  const bool hex = target.format == 'A';
  std::int64_t count;
  if (mode == kTransferKnockOut)
    count = hex ? TransferRows<true, kTransferKnockOut>(source, target, r, newlySet)
                : TransferRows<false, kTransferKnockOut>(source, target, r, newlySet);
  else
    count = hex ? TransferRows<true, kTransferCopy>(source, target, r, newlySet)
                : TransferRows<false, kTransferCopy>(source, target, r, newlySet);
  if (added != nullptr) *added = newlySet;
  return count;
}

bool IsMergeable(const CGraphicField& a, const CGraphicField& b, std::int64_t packetWeight) {
  if (a.ribbonIndex != b.ribbonIndex || a.consolidationMark != 0 || b.consolidationMark != 0) return false;
  // A field without pixels has no ink box; only when neither has one is the union empty.
  const CDotRect u = UnionRect(a.inkBox, b.inkBox);
  if (u.IsEmpty()) return false;
  // Areas saturate at INT64_MAX, and so does their sum.
  std::int64_t sum = a.extent.Area();
  for (std::int64_t add : {b.extent.Area(), packetWeight})
    sum = (add > 0 && sum > INT64_MAX - add) ? INT64_MAX : sum + add;
  return sum >= u.Area();
}

// ---- CSyntheticGraphicField ----

std::size_t CSyntheticGraphicField::MaxBitmapBytes() {
  return g_maxBitmapBytes;
}
void CSyntheticGraphicField::SetMaxBitmapBytes(std::size_t bytes) {
  g_maxBitmapBytes = bytes;
}

CSyntheticGraphicField::~CSyntheticGraphicField() {
  if (budget != nullptr) budget->Give(m_budgeted);
  if (sourceOwnership == 0) {
    for (CGraphicField* s : sources) delete s;
  }
}

namespace {

// The text of an empty bitmap: the header and the sizes behind it; `size` 0 when no such bitmap may be built.
struct CEmptyBitmapText {
  char header[160];
  int headerLength = 0;
  std::int64_t bytesPerRow = 0;
  std::int64_t totalBytes = 0;
  std::int64_t dataBytes = 0;
  std::size_t size = 0;
};

CEmptyBitmapText DescribeEmptyBitmap(const CDotRect& extent,
                                     std::int32_t charsPerByte,
                                     std::uint32_t ribbonIndex,
                                     const char* ribbonName) {
  CEmptyBitmapText t;
  const std::int64_t width = extent.Width();
  const std::int64_t height = extent.Height();
  if (width <= 0 || height <= 0) return t;
  if (charsPerByte != 1 && charsPerByte != 2) return t;
  const std::int64_t bpr = (width + 7) / 8;
  const std::int64_t total = height * bpr;
  if (bpr > INT32_MAX / 2 || total > INT32_MAX) return t;
  const std::int64_t dataBytes = total * charsPerByte;
  if (static_cast<std::uint64_t>(dataBytes) > g_maxBitmapBytes) return t;
  const char f = charsPerByte == 2 ? 'A' : 'B';
  const int hlen = std::snprintf(t.header, sizeof t.header, "^RR%u,%.31s\r\n^FO%d,%d\r\n^GF%c,%u,%u,%u,", ribbonIndex,
                                 ribbonName, extent.left, extent.top, f, static_cast<unsigned>(total),
                                 static_cast<unsigned>(total), static_cast<unsigned>(bpr));
  if (hlen < 0 || hlen >= static_cast<int>(sizeof t.header)) return t;
  t.headerLength = hlen;
  t.bytesPerRow = bpr;
  t.totalBytes = total;
  t.dataBytes = dataBytes;
  t.size = static_cast<std::size_t>(hlen) + static_cast<std::size_t>(dataBytes) + 2;
  return t;
}

}  // namespace

std::size_t CSyntheticGraphicField::EmptyBitmapSize(const CDotRect& extent,
                                                    std::int32_t charsPerByte,
                                                    std::uint32_t ribbonIndex,
                                                    const char* ribbonName) {
  return DescribeEmptyBitmap(extent, charsPerByte, ribbonIndex, ribbonName).size;
}

void CSyntheticGraphicField::ReleaseBudget() {
  if (budget != nullptr) budget->Give(m_budgeted);
  m_budgeted = 0;
}

bool CSyntheticGraphicField::BuildEmptyBitmap() {
  const CEmptyBitmapText t = DescribeEmptyBitmap(extent, charsPerByte, ribbonIndex, ribbonName);
  if (t.size == 0) return false;
  const std::size_t size = t.size;
  if (budget != nullptr && size != m_budgeted) {
    // A bitmap built again replaces the earlier one (or takes what was set aside for it).
    if (size > budget->Left() + m_budgeted) return false;
    budget->Give(m_budgeted);
    budget->Take(size);
    m_budgeted = size;
  }
  bytesPerRow = static_cast<std::int32_t>(t.bytesPerRow);
  charsPerRow = static_cast<std::int32_t>(charsPerByte * t.bytesPerRow);
  totalBytes = static_cast<std::int32_t>(t.totalBytes);
  pixelsPerChar = 8 / charsPerByte;
  pixelCount = 0;
  format = charsPerByte == 2 ? 'A' : 'B';
  m_buffer.reset(new char[size]);
  m_bufferSize = size;
  std::memcpy(m_buffer.get(), t.header, static_cast<std::size_t>(t.headerLength));
  std::memset(m_buffer.get() + t.headerLength, 0, static_cast<std::size_t>(t.dataBytes));
  m_buffer[size - 2] = '\r';
  m_buffer[size - 1] = '\n';
  ownsBuffer = 1;
  data = m_buffer.get() + t.headerLength;
  dataEnd = data + t.dataBytes;
  SetSpan(m_buffer.get(), m_buffer.get() + size);
  return true;
}

bool CanMergeFields(const CGraphicField& first, const CGraphicField& second, bool sameRibbon) {
  if (UnionRect(first.inkBox, second.inkBox).IsEmpty()) return false;
  if (first.charsPerByte != second.charsPerByte || (second.format != 'A' && second.format != 'B')) return false;
  if (first.format != second.format) return false;
  return !sameRibbon || first.ribbonIndex == second.ribbonIndex;
}

void SetMergedLooks(CGraphicField& merged, const CGraphicField& first, const CGraphicField& second) {
  // merged may be first itself (a running merge): the union is taken before anything is overwritten.
  const CDotRect u = UnionRect(first.inkBox, second.inkBox);
  merged.inkBox = u;
  merged.extent = u;
  merged.charsPerByte = second.charsPerByte;
  merged.pixelsPerChar = second.pixelsPerChar;
  merged.format = second.format;
  merged.ribbonIndex = second.ribbonIndex;
  merged.ribbonColour = second.ribbonColour;
  // The purified colour derives from the ribbon colour alone, so the second source's value is the merged one's.
  merged.purifiedColour = second.purifiedColour;
  if (&merged != &second) std::memcpy(merged.ribbonName, second.ribbonName, sizeof merged.ribbonName);
  merged.ribbonName[sizeof merged.ribbonName - 1] = '\0';
  merged.consolidationMark = 0;
}

void CSyntheticGraphicField::TakeSourcesOf(CGraphicField& first, CGraphicField& second, bool sameRibbon) {
  for (CGraphicField* src : {&second, &first}) {
    const int t = src->GetType();
    if (sameRibbon && (t == kTypeSyntheticGraphicField || t == kTypeGraphicFieldClone)) {
      auto* syn = static_cast<CSyntheticGraphicField*>(src);
      sources.insert(sources.end(), syn->sources.begin(), syn->sources.end());
      syn->sources.clear();
    } else {
      sources.push_back(src);
    }
  }
}

CSyntheticGraphicField* CSyntheticGraphicField::Merge(CGraphicField& first,
                                                      CGraphicField& second,
                                                      bool sameRibbon,
                                                      CBitmapBudget* budget) {
  if (!CanMergeFields(first, second, sameRibbon)) return nullptr;
  auto merged = std::make_unique<CSyntheticGraphicField>();
  SetMergedLooks(*merged, first, second);
  merged->budget = budget;
  if (!merged->BuildEmptyBitmap()) return nullptr;
  merged->pixelCount = TransferPixels(first, *merged, kTransferCopy, first.inkBox) +
                       TransferPixels(second, *merged, kTransferCopy, second.inkBox);
  merged->TakeSourcesOf(first, second, sameRibbon);
  return merged.release();
}

// ---- CGraphicFieldClone ----

CGraphicFieldClone* CGraphicFieldClone::CopyOf(CGraphicField& field) {
  auto* clone = new CGraphicFieldClone();
  static_cast<CGraphicField&>(*clone) = field;
  clone->sourceOwnership = 0;
  clone->ownsBuffer = 0;
  clone->contactScore = -1;
  clone->sources.push_back(&field);
  return clone;
}

}  // namespace vyx
