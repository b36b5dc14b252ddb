// Measures of a bitmap field: hand-worked small fields, and the whole-byte versions against pixel-by-pixel
// reference walks on random fields of both formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "manager/model/colour_math.h"
#include "manager/model/field_measures.h"
#include "manager/model/job.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

using testing::Bitmap;

// A one-page job holding the given fields; the fields live as long as the job.
struct CFieldJob {
  CQzplJobData job;
  CFieldJob(const std::vector<Bitmap>& bitmaps, char format = 'A', int x = 0, int y = 0) {
    std::string text = testing::Header();
    unsigned ribbon = 0;
    for (const Bitmap& b : bitmaps) text += testing::Field(ribbon++, "R", x, y, b, format);
    text += testing::PageEnd(1, 1) + testing::Trailer();
    job.SetText(text.data(), text.size());
    job.ParseJob();
  }
  CGraphicField& Field(std::size_t i = 0) { return *job.pages.at(0)->graphicFields.at(i); }
};

// Rows of '.' and '#'.
Bitmap FromRows(const std::vector<std::string>& rows) {
  std::size_t width = 0;
  for (const auto& r : rows) width = std::max(width, r.size());
  return Bitmap::FromPredicate(static_cast<int>(width), static_cast<int>(rows.size()), [&](int x, int y) {
    const std::string& r = rows[static_cast<std::size_t>(y)];
    return static_cast<std::size_t>(x) < r.size() && r[static_cast<std::size_t>(x)] == '#';
  });
}

// ---- pixel-by-pixel references, written from the definitions with the pixel query ----

bool Set(const CGraphicField& f, std::int64_t x, std::int64_t y) {
  return f.PixelAt(x, y) == 1;
}

std::int64_t RefStrokes(const CGraphicField& f, std::int64_t n) {
  if (!f.HasInk()) return 0;
  const CDotRect b = f.inkBox;
  std::int64_t sum = 0, m = 0;
  bool prevHad = false;
  for (std::int64_t y = b.top; y < b.bottom; ++y) {
    std::int64_t c = 0;
    bool prev = false, any = false;
    for (std::int64_t x = b.left; x < b.right; ++x) {
      const bool s = Set(f, x, y);
      any = any || s;
      if (s != prev && ++c >= n) return c;
      prev = s;
    }
    if (prev && ++c >= n) return c;
    if (any) {
      m = std::max(m, c);
    } else if (prevHad) {
      sum += m;
      m = 0;
      if (sum >= n) return sum;
    }
    prevHad = any;
  }
  if (prevHad) sum += m;
  m = 0;
  prevHad = false;
  for (std::int64_t x = b.left; x < b.right; ++x) {
    std::int64_t c = 0;
    bool prev = false, any = false;
    for (std::int64_t y = b.top; y < b.bottom; ++y) {
      const bool s = Set(f, x, y);
      any = any || s;
      if (s != prev && ++c >= n) return c;
      prev = s;
    }
    if (prev && ++c >= n) return c;
    if (any) {
      m = std::max(m, c);
    } else if (prevHad) {
      sum += m;
      m = 0;
      if (sum >= n) return sum;
    }
    prevHad = any;
  }
  if (prevHad) sum += m;
  return sum;
}

double RefWindow(const CGraphicField& f, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
  if (l < f.extent.left || t < f.extent.top || r > f.extent.right || b > f.extent.bottom || r <= l || b <= t) return -1;
  std::int64_t n = 0;
  for (std::int64_t y = t; y < b; ++y)
    for (std::int64_t x = l; x < r; ++x) n += Set(f, x, y);
  return static_cast<double>(n) / static_cast<double>((r - l) * (b - t));
}

// The literal solid-block test over the pixel queries (taken once per pixel); `windows` counts the windows it
// looked at.
int RefSolidBlock(const CGraphicField& f, std::int64_t* windows = nullptr) {
  if (!f.HasInk()) return -2;
  const CDotRect e = f.extent;
  std::vector<char> px(static_cast<std::size_t>(e.Width() * e.Height()));
  for (std::int64_t y = e.top; y < e.bottom; ++y)
    for (std::int64_t x = e.left; x < e.right; ++x)
      px[static_cast<std::size_t>((y - e.top) * e.Width() + (x - e.left))] = Set(f, x, y);
  std::int64_t looked = 0;
  const auto window = [&](std::int64_t l, std::int64_t t) {
    if (windows != nullptr) *windows = ++looked;
    if (l < e.left || t < e.top || l + 6 > e.right || t + 6 > e.bottom) return -1.0;
    int n = 0;
    for (std::int64_t y = t; y < t + 6; ++y)
      for (std::int64_t x = l; x < l + 6; ++x)
        n += px[static_cast<std::size_t>((y - e.top) * e.Width() + (x - e.left))];
    return n / 36.0;
  };
  const std::int64_t w = f.inkBox.Width(), h = f.inkBox.Height();
  std::int64_t g = 2, s = 12, lim = 6;
  while (s < w && s < h) {
    const std::int64_t cw = w / g, ch = h / g;
    for (std::int64_t cy = 0; cy < g; ++cy)
      for (std::int64_t cx = 0; cx < g; ++cx) {
        const std::int64_t x = f.inkBox.left + cx * cw + (cw - 6) / 2, y = f.inkBox.top + cy * ch + (ch - 6) / 2;
        const double r = window(x, y);
        if (r > 0.83334) return 1;
        if (r >= 0.5) {
          const int moves[4][2] = {{-9, 0}, {0, -9}, {9, 0}, {0, 9}};
          for (auto& mv : moves)
            if (window(x + mv[0], y + mv[1]) > 0.83334) return 1;
          lim += 2;
        }
      }
    s += 6;
    g += 1;
    if (lim < g) break;
  }
  return -2;
}

int RefSquare(const CGraphicField& f, CDotRect* where) {
  int best = 0;
  *where = {};
  if (!f.HasInk()) return 0;
  for (std::int64_t y = f.inkBox.top; y < f.inkBox.bottom; ++y)
    for (std::int64_t x = f.inkBox.left; x < f.inkBox.right; ++x) {
      if (!Set(f, x, y)) continue;
      if (best < 1) {
        best = 1;
        *where = {int(x), int(y), int(x + 1), int(y + 1)};
      }
      for (int i = 1; i < 6; ++i) {
        bool ok = true;
        for (std::int64_t xx = x; xx <= x + i && ok; ++xx) ok = Set(f, xx, y + i);
        for (std::int64_t yy = y; yy < y + i && ok; ++yy) ok = Set(f, x + i, yy);
        if (!ok) break;
        if (i + 1 > best) {
          best = i + 1;
          *where = {int(x), int(y), int(x + i + 1), int(y + i + 1)};
        }
      }
      if (best >= 6) return best;
    }
  return best;
}

// ---- hand-worked fields ----

TEST(FieldMeasures, DensityAndWindowDensity) {
  CFieldJob j({FromRows({"##..", "#...", "...#"}), Bitmap::FromPredicate(16, 4, [](int, int) { return false; })});
  CGraphicField& f = j.Field(0);
  // Ink box 4 x 3 with 4 pixels.
  EXPECT_DOUBLE_EQ(4.0 / 12.0, Density(f));
  EXPECT_DOUBLE_EQ(3.0 / 4.0, WindowDensity(f, CDotRect{0, 0, 2, 2}));
  EXPECT_DOUBLE_EQ(0.0, WindowDensity(f, CDotRect{4, 0, 8, 3}));
  EXPECT_EQ(-1, WindowDensity(f, CDotRect{0, 0, 9, 2}));  // the extent is 8 wide
  EXPECT_EQ(-1, WindowDensity(f, CDotRect{-1, 0, 2, 2}));
  EXPECT_EQ(-1, WindowDensity(f, CDotRect{1, 1, 1, 3}));  // no area
  EXPECT_EQ(-1, Density(j.Field(1)));                     // no pixels: no ink box
}

// Rows 0..4: one run; empty; five runs; empty; one run of four.
const std::vector<std::string> kStrokeRows = {"#........", ".........", "#.#.#.#.#", ".........", "####....."};

TEST(FieldMeasures, StrokeCountWithLimitNineStopsAtTheFirstRowOfNineChanges) {
  CFieldJob j({FromRows(kStrokeRows)});
  CGraphicField& f = j.Field();
  // Band 1 adds 2; row 2 reaches 9 changes while it is counted.
  EXPECT_EQ(9, StrokeCount(f, 9));
  EXPECT_EQ(9, f.strokeLimit);
  // In full: rows 2 + 10 + 2 = 14; columns (c = 6,2,4,2,2 | - | 2 | - | 2): 6 + 2 + 2 = 10; total 24.
  EXPECT_EQ(24, StrokeCount(f, kStrokeLimitFull));
  EXPECT_EQ(kStrokeLimitFull, f.strokeLimit);
  EXPECT_EQ(24, StrokeCount(f, 9));  // a full count serves every lower limit
}

TEST(FieldMeasures, StrokeCountStopsWithTheSumWhenABandEnds) {
  // Three bands of c = 4 in the rows: 12 after the last row (no test there); the columns then start with
  // column 0 (c = 6), and the empty column 1 ends that band with 18, at or above 9.
  CFieldJob j({FromRows({"#.#", "...", "#.#", "...", "#.#"})});
  EXPECT_EQ(18, StrokeCount(j.Field(), 9));
  CFieldJob k({FromRows({"#.#", "...", "#.#"})});
  // Rows: 4 + 4 = 8; columns: c = 4, 0, 4 -> 8 + 4 ends at 12 in the empty column.
  EXPECT_EQ(12, StrokeCount(k.Field(), 9));
  // Without a limit: 8 + 4 + 4 = 16.
  EXPECT_EQ(16, StrokeCount(k.Field(), kStrokeLimitFull));
}

TEST(FieldMeasures, LineLikeFollowsStrokesPixelsAndSides) {
  CFieldJob line({Bitmap::FromPredicate(20, 1, [](int, int) { return true; })});
  CGraphicField& l = line.Field();
  // Rows: 2; columns: one band of c = 2; 4 strokes, W = 20 >= P = 20.
  EXPECT_EQ(4, StrokeCount(l, kStrokeLimitFull));
  EXPECT_TRUE(IsLineLike(l, 4));
  CFieldJob square({Bitmap::FromPredicate(5, 5, [](int, int) { return true; })});
  EXPECT_EQ(4, StrokeCount(square.Field(), 9));
  EXPECT_FALSE(IsLineLike(square.Field(), 4));  // 2 x 5 < 25
  // Exactly 8 strokes: 2W >= P decides; more than 8: never.
  CFieldJob l2({Bitmap::FromPredicate(10, 2, [](int, int) { return true; })});  // P = 20, W = 10
  EXPECT_TRUE(IsLineLike(l2.Field(), 8));
  EXPECT_TRUE(IsLineLike(l2.Field(), 7));  // below 8 the second rule still applies: 2W >= P
  EXPECT_FALSE(IsLineLike(l2.Field(), 9));
}

TEST(FieldMeasures, PatternTestTellsTintsFromSolidAndUneven) {
  // Every fourth column of every second row: 0.125 in any 32 x 32 window; ink 97 x 99, density 1250 / 9603.
  const auto tint = [](int x, int y) { return x % 4 == 0 && y % 2 == 0; };
  CFieldJob t({Bitmap::FromPredicate(100, 100, tint)});
  EXPECT_EQ(kPatternTint, PatternTest(t.Field()));
  CFieldJob solid({Bitmap::FromPredicate(40, 40, [](int, int) { return true; })});
  EXPECT_EQ(kPatternDense, PatternTest(solid.Field()));
  CFieldJob small({Bitmap::FromPredicate(32, 80, tint)});
  EXPECT_EQ(kPatternNeither, PatternTest(small.Field()));  // W = 29 <= 32
  // Columns 0 and 20..96 only: density 1000 / 9603; the centre window holds 0.125, the left one (x 2..33) only
  // 4 columns, 0.0625, below 0.1125.
  CFieldJob uneven({Bitmap::FromPredicate(100, 100, [&](int x, int y) { return tint(x, y) && (x >= 20 || x == 0); })});
  EXPECT_EQ(kPatternNeither, PatternTest(uneven.Field()));
}

TEST(FieldMeasures, SolidBlockFindsNearlySolidAreasOnly) {
  CFieldJob solid({Bitmap::FromPredicate(40, 40, [](int, int) { return true; })});
  EXPECT_EQ(kSolidBlockFound, SolidBlockTest(solid.Field()));
  CFieldJob empty({Bitmap::FromPredicate(40, 40, [](int, int) { return false; })});
  EXPECT_EQ(kSolidBlockNone, SolidBlockTest(empty.Field()));
  // A checkerboard half fills every window and never passes, however far the grid grows.
  CFieldJob board({Bitmap::FromPredicate(1216, 1200, [](int x, int y) { return (x + y) % 2 == 0; })});
  EXPECT_EQ(kSolidBlockNone, SolidBlockTest(board.Field()));
  // 5 of 6 rows full in a window: 30 / 36 is not above 0.83334; 31 / 36 is.
  CFieldJob thirty({Bitmap::FromPredicate(14, 14, [](int, int y) { return y % 6 != 5; })});
  EXPECT_EQ(kSolidBlockNone, SolidBlockTest(thirty.Field()));
}

TEST(FieldMeasures, LargestSolidSquareStopsAtSix) {
  CFieldJob j({FromRows({"..###.....", "..###.####", "..###.####", "......####", "......####"})});
  CGraphicField& f = j.Field();
  EXPECT_EQ(4, LargestSolidSquare(f));
  EXPECT_EQ((CDotRect{6, 1, 10, 5}), f.largestSolidSquare);
  CFieldJob big({Bitmap::FromPredicate(20, 20, [](int x, int y) { return x >= 3 && y >= 2 && x < 12 && y < 11; })});
  EXPECT_EQ(6, LargestSolidSquare(big.Field()));
  EXPECT_EQ((CDotRect{3, 2, 9, 8}), big.Field().largestSolidSquare);
  CFieldJob dots({FromRows({"#.#", "...", ".#."})});
  EXPECT_EQ(1, LargestSolidSquare(dots.Field()));
  CFieldJob none({Bitmap::FromPredicate(8, 3, [](int, int) { return false; })});
  EXPECT_EQ(0, LargestSolidSquare(none.Field()));
}

TEST(FieldMeasures, DegenerateFieldsGiveDefinedResults) {
  // No rows at all, a single pixel, and a field whose ^GF format cannot be read.
  std::string text = testing::Header() + "^RR1,A\r\n^FO0,0\r\n^GFA,0,0,4,\r\n" +
                     testing::Field(2, "B", 5, 5, Bitmap::FromPredicate(1, 1, [](int, int) { return true; })) +
                     "^RR3,C\r\n^FO0,0\r\n^GFC,4,4,2,zz\r\n" + testing::PageEnd(1, 1) + testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  job.ParseJob();
  for (CGraphicField* f : job.pages.at(0)->graphicFields) {
    const bool one = f->pixelCount == 1;
    EXPECT_EQ(one ? 1.0 : -1.0, Density(*f));
    EXPECT_EQ(one ? 4 : 0, StrokeCount(*f, kStrokeLimitFull));
    EXPECT_EQ(kPatternNeither, PatternTest(*f));
    EXPECT_EQ(kSolidBlockNone, SolidBlockTest(*f));
    EXPECT_EQ(one ? 1 : 0, LargestSolidSquare(*f));
  }
}

TEST(FieldMeasures, WholeTapeFieldsStayLinear) {
  // 1216 x 6000 dots of a 50 % screen: the solid-block grid would keep growing without its run check.
  const auto started = std::chrono::steady_clock::now();
  CFieldJob j({Bitmap::FromPredicate(1216, 6000, [](int x, int y) { return (x + y) % 2 == 0; })}, 'B');
  CGraphicField& f = j.Field();
  EXPECT_EQ(kSolidBlockNone, SolidBlockTest(f));
  EXPECT_EQ(kPatternDense, PatternTest(f));
  EXPECT_EQ(9, StrokeCount(f, 9));
  EXPECT_EQ(1, LargestSolidSquare(f));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

// ---- whole-byte walks against the references ----

class FieldMeasuresRandom : public ::testing::TestWithParam<char> {};

TEST_P(FieldMeasuresRandom, AgreeWithPixelWalks) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 60; ++round) {
    const int w = 1 + static_cast<int>(rng() % 70), h = 1 + static_cast<int>(rng() % 70);
    const int kind = round % 4;
    const unsigned per = 2 + rng() % 40;
    std::vector<char> cells(static_cast<std::size_t>(w * h));
    for (auto& c : cells) c = static_cast<char>(rng() % 100 < per);
    // Blocks of ink for the solid measures.
    if (kind >= 2)
      for (int b = 0; b < 3; ++b) {
        const int bx = static_cast<int>(rng() % w), by = static_cast<int>(rng() % h),
                  s = 3 + static_cast<int>(rng() % 8);
        for (int y = by; y < std::min(h, by + s); ++y)
          for (int x = bx; x < std::min(w, bx + s); ++x)
            cells[static_cast<std::size_t>(y * w + x)] = kind == 2 || (x + y) % 5;
      }
    const Bitmap bm =
        Bitmap::FromPredicate(w, h, [&](int x, int y) { return cells[static_cast<std::size_t>(y * w + x)] != 0; });
    const int ox = static_cast<int>(rng() % 20), oy = static_cast<int>(rng() % 20);
    CFieldJob j({bm}, GetParam(), ox, oy);
    CGraphicField& f = j.Field();
    SCOPED_TRACE("round " + std::to_string(round));
    for (std::int32_t limit : {1, 5, 9, 40, kStrokeLimitFull}) {
      f.strokeLimit = 0;
      EXPECT_EQ(RefStrokes(f, limit), StrokeCount(f, limit)) << "limit " << limit;
    }
    EXPECT_EQ(RefSolidBlock(f), SolidBlockTest(f));
    CDotRect where;
    EXPECT_EQ(RefSquare(f, &where), LargestSolidSquare(f));
    EXPECT_EQ(where, f.largestSolidSquare);
    for (int k = 0; k < 20; ++k) {
      const int l = ox - 3 + static_cast<int>(rng() % (w + 6)), t = oy - 3 + static_cast<int>(rng() % (h + 6));
      const int r = l + static_cast<int>(rng() % 40), b = t + static_cast<int>(rng() % 40);
      EXPECT_DOUBLE_EQ(RefWindow(f, l, t, r, b), WindowDensity(f, CDotRect{l, t, r, b}));
    }
  }
}

TEST_P(FieldMeasuresRandom, SolidBlockOnStripesWithBlobsAgreesWithTheFullGrid) {
  // Half-filled windows everywhere raise the grid limit until the run check decides or a blob is met.
  std::mt19937 rng(99);
  for (int round = 0; round < 8; ++round) {
    const bool vertical = round % 2 == 0;
    const int blobs = round / 2;
    std::vector<std::array<int, 3>> at;
    for (int b = 0; b < blobs; ++b) at.push_back({int(rng() % 190), int(rng() % 190), 6 + int(rng() % 6)});
    const Bitmap bm = Bitmap::FromPredicate(200, 200, [&](int x, int y) {
      for (const auto& b : at)
        if (x >= b[0] && y >= b[1] && x < b[0] + b[2] && y < b[1] + b[2]) return true;
      return vertical ? x % 2 == 0 : y % 2 == 0;
    });
    CFieldJob j({bm}, GetParam());
    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_EQ(RefSolidBlock(j.Field()), SolidBlockTest(j.Field()));
  }
}

TEST_P(FieldMeasuresRandom, SolidBlockFindsNearlySolidWindowsAtEveryColumnOffset) {
  // A screen that half fills every window keeps the grid growing past its first thousand windows. A solid or
  // nearly solid 6 x 6 block sits where a late grid looks, at every column offset within the field's 64-pixel
  // words, with its clear pixels anywhere or stacked in one of its first three columns (a clear column on a word
  // boundary leaves no run of three set pixels in the word where the block starts).
  std::mt19937 rng(2024);
  const int inkW = 110, inkH = 110;
  int foundLate = 0;
  for (int offset = 0; offset < 64; ++offset) {
    for (int style = 0; style < 4; ++style) {
      const int g = 12 + static_cast<int>(rng() % 6);
      const int cw = inkW / g, ch = inkH / g;
      const int cx = static_cast<int>(rng() % g), cy = static_cast<int>(rng() % g);
      const int wx = cx * cw + (cw - 6) / 2, wy = cy * ch + (ch - 6) / 2;
      const int lead = ((offset - wx) % 64 + 64) % 64;  // ink box's first column in the field
      std::vector<char> clear(36, 0);
      if (style == 0) {
        for (int k = static_cast<int>(rng() % 6); k > 0; --k) clear[rng() % 36] = 1;
      } else {
        // Five clear pixels in column style - 1, or three there and two elsewhere.
        const std::size_t col = static_cast<std::size_t>(style - 1);
        const int stacked = rng() % 2 == 0 ? 5 : 3;
        for (int r = 0; r < stacked; ++r) clear[static_cast<std::size_t>(r) * 6 + col] = 1;
        for (int k = stacked; k < 5; ++k) clear[rng() % 36] = 1;
      }
      const bool checker = rng() % 3 == 0;
      const Bitmap bm = Bitmap::FromPredicate(lead + inkW + static_cast<int>(rng() % 20), inkH, [&](int col, int y) {
        const int x = col - lead;
        if (x < 0 || x >= inkW) return false;
        if ((x == 0 && y == 0) || (x == inkW - 1 && y == inkH - 1)) return true;  // the ink box's corners
        if (x >= wx && x < wx + 6 && y >= wy && y < wy + 6)
          return clear[static_cast<std::size_t>((y - wy) * 6 + (x - wx))] == 0;
        // Columns in pairs, with the column left of the block and the two right of it clear.
        return checker ? (x + y) % 2 == 0 : (x - wx + 64) % 4 < 2;
      });
      CFieldJob j({bm}, GetParam(), static_cast<int>(rng() % 5), 0);
      std::int64_t windows = 0;
      const int expected = RefSolidBlock(j.Field(), &windows);
      EXPECT_EQ(expected, SolidBlockTest(j.Field()))
          << "window at column " << offset << " of a word (" << wx << "," << wy << " in the ink box, grid " << g
          << "), clear style " << style;
      if (expected == kSolidBlockFound && windows > 1024) ++foundLate;
    }
  }
  EXPECT_GT(foundLate, 128);  // most blocks are only met by the late grids
}

INSTANTIATE_TEST_SUITE_P(Formats, FieldMeasuresRandom, ::testing::Values('A', 'B'));

// ---- colours ----

TEST(ColourMath, PurifiedColourTakesOutTheGreyShare) {
  EXPECT_EQ(MakeRgb(255, 0, 0), PurifiedColour(MakeRgb(255, 0, 0)));
  // (128,128,128): k = 64, rest (64,64,64) scaled by min(2, 255/64) = 2.
  EXPECT_EQ(MakeRgb(128, 128, 128), PurifiedColour(MakeRgb(128, 128, 128)));
  // (200,100,50): k = trunc(25.49) = 25 -> (175,75,25), |in| = 229.13, |rest| = 192.03, scale 1.1932 ->
  // 208.81, 89.49, 29.83 -> 209, 89, 30.
  EXPECT_EQ(MakeRgb(209, 89, 30), PurifiedColour(MakeRgb(200, 100, 50)));
  // With 100 % every grey becomes black, which stays as it came.
  EXPECT_EQ(MakeRgb(90, 90, 90), PurifiedColour(MakeRgb(90, 90, 90), 100));
  EXPECT_EQ(0u, PurifiedColour(0));
  // Above 100 % the channels would turn negative; they are kept within 0..255.
  const ColorRef odd = PurifiedColour(MakeRgb(200, 100, 50), 400);
  EXPECT_LE(odd & 0xFF, 255u);
  EXPECT_EQ(0u, odd >> 24);
}

TEST(ColourMath, AngleTakesBlackAsWhite) {
  EXPECT_DOUBLE_EQ(0.0, ColourAngle(MakeRgb(10, 10, 10), MakeRgb(200, 200, 200)));
  EXPECT_NEAR(1.5707963, ColourAngle(MakeRgb(255, 0, 0), MakeRgb(0, 255, 0)), 1e-6);
  // Black against yellow is white against yellow: acos(2 / sqrt(6)).
  EXPECT_NEAR(0.6154797, ColourAngle(0, MakeRgb(255, 255, 0)), 1e-6);
  EXPECT_DOUBLE_EQ(0.0, ColourAngle(0, 0));
  EXPECT_DOUBLE_EQ(255.0, ColourDistance(MakeRgb(255, 255, 0), MakeRgb(255, 0, 0)));
}

}  // namespace
}  // namespace vyx
