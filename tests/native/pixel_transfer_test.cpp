// Pixel transfer against a pixel-by-pixel walk: random origins, formats, rectangles and truncated data.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "manager/model/bitmap_field.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

struct Text {
  explicit Text(std::string s) : buf(std::move(s)) { buf.append(2, '\0'); }
  char* begin() { return buf.data(); }
  char* end() { return buf.data() + buf.size() - 2; }
  std::string buf;
};

// The character and bit of pixel (x, y), or nullptr outside the extent or the data.
char* PixelChar(CGraphicField& f, std::int64_t x, std::int64_t y, unsigned& bit) {
  if (x < f.extent.left || x >= f.extent.right || y < f.extent.top || y >= f.extent.bottom) return nullptr;
  const std::int64_t col = x - f.extent.left;
  char* p = f.data + (y - f.extent.top) * f.charsPerRow + col / f.pixelsPerChar;
  if (p >= f.dataEnd) return nullptr;
  bit = (f.format == 'A' ? 8u : 128u) >> (col % f.pixelsPerChar);
  return p;
}

unsigned Value(char c, bool hex) {
  if (!hex) return static_cast<unsigned char>(c);
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return 0;
}

char Store(unsigned v, bool hex) {
  return hex ? "0123456789ABCDEF"[v & 15] : static_cast<char>(v);
}

// Row by row, pixel by pixel; stops at the first pixel whose character lies beyond either field's data.
std::int64_t ReferenceTransfer(CGraphicField& src, CGraphicField& dst, int mode, const CDotRect& rect) {
  const CDotRect r = IntersectRect(IntersectRect(rect, src.extent), dst.extent);
  if (r.IsEmpty()) return 0;
  const bool hex = dst.format == 'A';
  std::int64_t n = 0;
  for (std::int64_t y = r.top; y < r.bottom; ++y) {
    for (std::int64_t x = r.left; x < r.right; ++x) {
      unsigned sb = 0, db = 0;
      char* sp = PixelChar(src, x, y, sb);
      char* dp = PixelChar(dst, x, y, db);
      if (sp == nullptr || dp == nullptr) return n;
      if ((Value(*sp, hex) & sb) == 0) continue;
      const unsigned dv = Value(*dp, hex);
      if (mode == kTransferKnockOut) {
        if (dv & db) {
          *dp = Store(dv & ~db, hex);
          ++n;
        }
      } else {
        *dp = Store(dv | db, hex);
        ++n;
      }
    }
  }
  return n;
}

std::string RandomField(std::mt19937& rng, char format, int x, int y, int bytesPerRow, int rows, int cutChars) {
  testing::Bitmap bm = testing::Bitmap::FromPredicate(bytesPerRow * 8, rows, [&](int, int) { return rng() % 3 == 0; });
  std::string s = testing::Field(1, "K", x, y, bm, format);
  if (format == 'A' && rng() % 2 == 0) {
    // Characters that read as 0 (lower case, zero bytes, neighbours of the digit ranges, bytes above 127) stay
    // as they are unless a pixel of theirs changes.
    static const char foreign[] = {'a', 'f', '\0', '/', ':', '@', 'G', '`', '\xB0', '\xC1', '\xFF'};
    const std::size_t data = s.find(',', s.find(',', s.find(',', s.find(',', s.find("^GF")) + 1) + 1) + 1) + 1;
    for (std::size_t i = data; i + 2 < s.size(); ++i)
      if (rng() % 6 == 0) s[i] = foreign[rng() % sizeof foreign];
  }
  if (cutChars > 0) s.resize(s.size() - 2 - static_cast<std::size_t>(cutChars));  // data shorter than declared
  return s;
}

TEST(PixelTransfer, MatchesAPixelByPixelWalk) {
  std::mt19937 rng(777);
  for (int round = 0; round < 1500; ++round) {
    const char format = round % 2 == 0 ? 'A' : 'B';
    // Widths up to 40 bytes, so that aligned rows also go eight characters at a time.
    const int bprS = 1 + static_cast<int>(rng() % 40), rowsS = 1 + static_cast<int>(rng() % 9);
    const int bprD = 1 + static_cast<int>(rng() % 40), rowsD = 1 + static_cast<int>(rng() % 9);
    const int xs = static_cast<int>(rng() % 40) - 20, ys = static_cast<int>(rng() % 8) - 4;
    const int xd = round % 3 == 0 ? xs + 8 * (static_cast<int>(rng() % 5) - 2) : static_cast<int>(rng() % 40) - 20;
    const int yd = static_cast<int>(rng() % 8) - 4;
    const int cutS = round % 5 == 0 ? static_cast<int>(rng() % 7) : 0;
    const int cutD = round % 7 == 0 ? static_cast<int>(rng() % 7) : 0;
    // The source text is last so that a short source really ends at the buffer's end.
    const std::string dstText = RandomField(rng, format, xd, yd, bprD, rowsD, 0);
    const std::string srcText = RandomField(rng, format, xs, ys, bprS, rowsS, cutS);
    std::string both = dstText + srcText;
    if (cutD > 0) both = dstText.substr(0, dstText.size() - 2 - static_cast<std::size_t>(cutD));
    const int mode = rng() % 2 == 0 ? kTransferKnockOut : kTransferCopy;
    const CDotRect rect{static_cast<std::int32_t>(rng() % 80) - 40, static_cast<std::int32_t>(rng() % 12) - 6,
                        static_cast<std::int32_t>(rng() % 400) - 20, static_cast<std::int32_t>(rng() % 16) - 2};
    Text fast(both), slow(both);
    CGraphicField fd, fs, sd, ss;
    char* next = fd.Parse(fast.begin(), fast.end());
    char* next2 = sd.Parse(slow.begin(), slow.end());
    CGraphicField* fsrc = &fd;
    CGraphicField* ssrc = &sd;
    if (cutD == 0) {
      ASSERT_NE(nullptr, next);
      fs.Parse(next, fast.end());
      ss.Parse(next2, slow.end());
      fsrc = &fs;
      ssrc = &ss;
    }
    const std::int64_t got = TransferPixels(*fsrc, fd, mode, rect);
    const std::int64_t want = ReferenceTransfer(*ssrc, sd, mode, rect);
    ASSERT_EQ(want, got) << "round " << round;
    ASSERT_EQ(slow.buf, fast.buf) << "round " << round;
  }
}

}  // namespace
}  // namespace vyx
