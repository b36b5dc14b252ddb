// Recognised shapes: the side and arc tests, collecting a BarTender rectangle (sharp and rounded) and ellipse,
// the centre line and radius, the generated rounded rectangle commands and their drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "manager/model/bartender_ellipsis.h"
#include "manager/model/bartender_rect.h"
#include "manager/model/rounded_rect.h"

namespace vyx {
namespace {

// Paths with their own texts, kept alive for the whole test.
class CPaths {
 public:
  // A path through the given points (quarter dots): a pen-up move to the first, then pen-down moves.
  CCutObj* Make(const std::vector<CQuarterPoint>& points, const std::string& extra = "") {
    std::string text = "^RPU\r\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
      text += "^RPM" + std::to_string(points[i].x) + "," + std::to_string(points[i].y) + "\r\n";
      if (i == 0) text += "^RPD\r\n" + extra;
    }
    text += "^RPU\r\n";
    m_texts.push_back(std::make_unique<std::string>(text + std::string(2, '\0')));
    std::string& kept = *m_texts.back();
    auto* path = new CCutObj;
    path->Parse(kept.data(), kept.data() + text.size());
    return path;
  }
  // A closed 5-point bar (quarter dots) from (x0, y0) to (x1, y1).
  CCutObj* Bar(int x0, int y0, int x1, int y1) { return Make({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}}); }
  // A closed path of `count` points (count odd) inside the quarter-dot box, touching two opposite corners.
  CCutObj* Closed(int count, int x0, int y0, int x1, int y1) {
    std::vector<CQuarterPoint> points{{x0, y0}};
    for (int i = 1; i < count - 1; ++i) points.push_back(i % 2 != 0 ? CQuarterPoint{x1, y1} : CQuarterPoint{x0, y1});
    points.push_back({x0, y0});
    return Make(points);
  }

 private:
  std::vector<std::unique_ptr<std::string>> m_texts;
};

// Owns a path for tests that only look at it.
struct COwned {
  explicit COwned(CCutObj* p) : path(p) {}
  std::unique_ptr<CCutObj> path;
  const CCutObj& operator*() const { return *path; }
};

// Records the size of every write; can refuse them.
class CBlockChannel : public COutputChannel {
 public:
  bool StartDocument(unsigned) override { return true; }
  bool Write(const void* data, std::size_t size) override {
    sizes.push_back(size);
    bytes.append(static_cast<const char*>(data), size);
    return !refuse;
  }
  bool EndDocument() override { return true; }
  std::vector<std::size_t> sizes;
  std::string bytes;
  bool refuse = false;
};

int CountOf(const std::string& text, const std::string& needle) {
  int n = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

// ---- Side test ----

TEST(SideTest, FivePointBarsNeedLengthOrCaps) {
  CPaths paths;
  // 2 dots wide (quarter x 0..4), 100 dots high (quarter y 0..396).
  COwned tall(paths.Bar(0, 0, 4, 396));
  ASSERT_EQ(5, tall.path->pointCount);
  ASSERT_EQ((CDotRect{0, 0, 2, 100}), tall.path->inkBox);
  EXPECT_TRUE(IsBarTenderSide(*tall));
  // The same bar 50 dots high: a 5-point path cannot carry caps at both ends.
  COwned shorter(paths.Bar(0, 0, 4, 196));
  ASSERT_EQ(50, shorter.path->inkBox.Height());
  EXPECT_FALSE(IsBarTenderSide(*shorter));
  // Lying down: 100 dots wide, 2 high.
  COwned flat(paths.Bar(0, 0, 396, 4));
  EXPECT_TRUE(IsBarTenderSide(*flat));
  // 59 dots is long enough, 58 is not (quarter 232 -> dot 58, height 59).
  COwned just(paths.Bar(0, 0, 4, 232));
  ASSERT_EQ(59, just.path->inkBox.Height());
  EXPECT_TRUE(IsBarTenderSide(*just));
  COwned notQuite(paths.Bar(0, 0, 4, 228));
  ASSERT_EQ(58, notQuite.path->inkBox.Height());
  EXPECT_FALSE(IsBarTenderSide(*notQuite));
  // 4 dots wide is no bar (quarter 12 -> dot 3, width 4).
  COwned wide(paths.Bar(0, 0, 12, 396));
  ASSERT_EQ(4, wide.path->inkBox.Width());
  EXPECT_FALSE(IsBarTenderSide(*wide));
}

TEST(SideTest, SevenPointBarsWithOppositeCaps) {
  CPaths paths;
  // Top cap pointing up at (4,0), bottom cap pointing down at (4,200): 3 dots wide, 51 high.
  COwned capped(paths.Make({{0, 4}, {4, 0}, {8, 4}, {8, 196}, {4, 200}, {0, 196}, {0, 4}}));
  ASSERT_EQ(7, capped.path->pointCount);
  ASSERT_EQ((CDotRect{0, 0, 3, 51}), capped.path->inkBox);
  EXPECT_TRUE(HasCapShape(*capped, true));
  EXPECT_TRUE(IsBarTenderSide(*capped));
  // Both caps pointing up: the same direction is no bar end pair.
  COwned sameWay(paths.Make({{0, 4}, {4, 0}, {8, 4}, {8, 196}, {4, 192}, {0, 196}, {0, 4}}));
  EXPECT_FALSE(HasCapShape(*sameWay, true));
  EXPECT_FALSE(IsBarTenderSide(*sameWay));
  // A cap tip 1 quarter dot off the middle of its end.
  COwned offMiddle(paths.Make({{0, 4}, {5, 0}, {8, 4}, {8, 196}, {4, 200}, {0, 196}, {0, 4}}));
  EXPECT_FALSE(IsBarTenderSide(*offMiddle));
  // The same shape lying down: caps at the left and right ends.
  COwned lying(paths.Make({{4, 0}, {0, 4}, {4, 8}, {196, 8}, {200, 4}, {196, 0}, {4, 0}}));
  ASSERT_EQ((CDotRect{0, 0, 51, 3}), lying.path->inkBox);
  EXPECT_TRUE(HasCapShape(*lying, false));
  EXPECT_TRUE(IsBarTenderSide(*lying));
  EXPECT_FALSE(HasCapShape(*lying, true));
}

TEST(SideTest, CapValueRules) {
  // Tip within the spread: +1 above, -1 below; at or beyond the spread: 0.
  EXPECT_EQ(1, CapValue({0, 4}, {4, 0}, {8, 4}, true));
  EXPECT_EQ(-1, CapValue({0, 4}, {4, 8}, {8, 4}, true));
  EXPECT_EQ(0, CapValue({0, 10}, {4, 2}, {8, 10}, true));   // rise 8 is not below the spread 8
  EXPECT_EQ(0, CapValue({0, 10}, {4, 18}, {8, 10}, true));  // drop 8 likewise
  EXPECT_EQ(0, CapValue({0, 4}, {4, 4}, {8, 4}, true));     // no rise
  EXPECT_EQ(0, CapValue({0, 4}, {0, 0}, {0, 8}, true));     // no spread
  // An odd spread puts the middle on a half: 0.5 off is allowed, 1.5 is not.
  EXPECT_EQ(1, CapValue({0, 4}, {3, 0}, {7, 4}, true));
  EXPECT_EQ(0, CapValue({0, 4}, {2, 0}, {7, 4}, true));
  // Right to left works the same.
  EXPECT_EQ(1, CapValue({8, 4}, {4, 0}, {0, 4}, true));
}

TEST(SideTest, NinePointRule) {
  CPaths paths;
  // 9 points, 10 dots wide (quarter 0..36) and 45 high (quarter 0..176): 4 x 10 < 45.
  COwned narrow(paths.Closed(9, 0, 0, 36, 176));
  ASSERT_EQ(9, narrow.path->pointCount);
  ASSERT_EQ((CDotRect{0, 0, 10, 45}), narrow.path->inkBox);
  EXPECT_TRUE(IsBarTenderSide(*narrow));
  // 12 wide (quarter 0..44): 48 is not below 45.
  COwned wider(paths.Closed(9, 0, 0, 44, 176));
  ASSERT_EQ(12, wider.path->inkBox.Width());
  EXPECT_FALSE(IsBarTenderSide(*wider));
  // Lying down.
  COwned lying(paths.Closed(9, 0, 0, 176, 36));
  EXPECT_TRUE(IsBarTenderSide(*lying));
  // 29 points still count, 31 do not.
  EXPECT_TRUE(IsBarTenderSide(*COwned(paths.Closed(29, 0, 0, 36, 176))));
  EXPECT_FALSE(IsBarTenderSide(*COwned(paths.Closed(31, 0, 0, 36, 176))));
  // 15 dots wide is too wide even when very long.
  EXPECT_FALSE(IsBarTenderSide(*COwned(paths.Closed(9, 0, 0, 56, 4000))));
}

TEST(SideTest, OpenEvenOrCurvedPathsAreNoSides) {
  CPaths paths;
  // Open: the last point misses the first.
  COwned open(paths.Make({{0, 0}, {4, 0}, {4, 396}, {0, 396}, {0, 4}}));
  EXPECT_FALSE(IsBarTenderSide(*open));
  // Closed with 6 points.
  COwned even(paths.Make({{0, 0}, {4, 0}, {4, 200}, {4, 396}, {0, 396}, {0, 0}}));
  ASSERT_EQ(6, even.path->pointCount);
  EXPECT_FALSE(IsBarTenderSide(*even));
  // A Bezier line in the path.
  COwned curved(paths.Make({{0, 0}, {4, 0}, {4, 396}, {0, 396}, {0, 0}}, "^RPB1,1,2,2,3,3\r\n"));
  ASSERT_EQ(1, curved.path->bezierCount);
  EXPECT_FALSE(IsBarTenderSide(*curved));
}

TEST(ArcTest, ClosedOddPathsAboveTwentyFivePoints) {
  CPaths paths;
  EXPECT_TRUE(IsBarTenderArc(*COwned(paths.Closed(27, 0, 0, 400, 400))));
  EXPECT_FALSE(IsBarTenderArc(*COwned(paths.Closed(25, 0, 0, 400, 400))));
  std::vector<CQuarterPoint> even{{0, 0}};
  for (int i = 0; i < 24; ++i) even.push_back({i % 2 != 0 ? 400 : 0, 400});
  even.push_back({0, 0});
  COwned evenPath(paths.Make(even));
  ASSERT_EQ(26, evenPath.path->pointCount);
  EXPECT_FALSE(IsBarTenderArc(*evenPath));
  std::vector<CQuarterPoint> open{{0, 0}};
  for (int i = 0; i < 26; ++i) open.push_back({i % 2 != 0 ? 400 : 0, 400});
  COwned openPath(paths.Make(open));
  ASSERT_EQ(27, openPath.path->pointCount);
  EXPECT_FALSE(IsBarTenderArc(*openPath));
}

// ---- BarTender rectangle ----

// The sides of the box 0..200 x 0..100 dots, 2 dots thick, each shortened by `shortBy` dots (half at each end).
struct CSides {
  CCutObj* top;
  CCutObj* right;
  CCutObj* bottom;
  CCutObj* left;
};
CSides MakeSides(CPaths& paths, int shortBy) {
  const int s = 4 * (shortBy / 2);
  return {paths.Bar(s, 0, 796 - s, 4), paths.Bar(792, s, 796, 396 - s), paths.Bar(s, 392, 796 - s, 396),
          paths.Bar(0, s, 4, 396 - s)};
}

TEST(BarTenderRect, FourFullSidesGiveASharpRectangle) {
  CPaths paths;
  const CSides sides = MakeSides(paths, 0);
  ASSERT_EQ((CDotRect{0, 0, 200, 2}), sides.top->inkBox);
  ASSERT_EQ((CDotRect{198, 0, 200, 100}), sides.right->inkBox);
  ASSERT_EQ((CDotRect{0, 98, 200, 100}), sides.bottom->inkBox);
  ASSERT_EQ((CDotRect{0, 0, 2, 100}), sides.left->inkBox);
  CBarTenderRect rect;
  EXPECT_EQ(kSideCollecting, rect.AddSide(sides.top));
  EXPECT_EQ(kSideCollecting, rect.AddSide(sides.right));
  EXPECT_EQ(kSideCollecting, rect.AddSide(sides.bottom));
  EXPECT_EQ(kSideFinished, rect.AddSide(sides.left));
  EXPECT_TRUE(rect.IsComplete());
  EXPECT_EQ(4, rect.sideCount);
  EXPECT_EQ(0, rect.pendingCorners);
  EXPECT_EQ(0, rect.radius);
  // The middle of each 2-dot bar: (0 + 2) / 2 = 1 and (200 + 198) / 2 = 199.
  EXPECT_EQ((CDotRect{1, 1, 199, 99}), rect.inkBox);
  EXPECT_EQ((CQuarterPoint{796, 395}), rect.firstPoint);
  EXPECT_EQ(rect.firstPoint, rect.lastPoint);
  EXPECT_EQ(1, rect.closed);
  EXPECT_EQ(4u, rect.Pieces().size());
  EXPECT_EQ(kTypeBarTenderRect, rect.GetType());

  CBlockChannel out;
  EXPECT_TRUE(rect.Write(out));
  EXPECT_EQ("^RPU\r\n^RPM792,392\r\n^RPD\r\n^RPM792,4\r\n^RPM4,4\r\n^RPM4,392\r\n^RPM792,392\r\n^RPU\r\n", out.bytes);
}

TEST(BarTenderRect, ShortenedSidesGiveRadiusSixteenAndAbsorbFourCorners) {
  CPaths paths;
  const CSides sides = MakeSides(paths, 8);
  ASSERT_EQ((CDotRect{4, 0, 196, 2}), sides.top->inkBox);
  ASSERT_EQ((CDotRect{198, 4, 200, 96}), sides.right->inkBox);
  CBarTenderRect rect;
  EXPECT_EQ(kSideCollecting, rect.AddSide(sides.top));
  EXPECT_EQ(kSideCollecting, rect.AddSide(sides.right));
  EXPECT_EQ(kSideCollecting, rect.AddSide(sides.bottom));
  // Shortfalls 8 + 8 + 8 + 8: radius (32 + 1) / 2 = 16.
  EXPECT_EQ(kSideCorners, rect.AddSide(sides.left));
  EXPECT_EQ(16, rect.radius);
  EXPECT_EQ(4, rect.pendingCorners);
  EXPECT_FALSE(rect.IsComplete());
  EXPECT_EQ((CDotRect{1, 1, 199, 99}), rect.inkBox);
  EXPECT_EQ((CQuarterPoint{796, 396 - 16 - 1}), rect.firstPoint);
  // Corner pieces are taken whatever they look like, and do not move the box.
  EXPECT_EQ(kSideCorners, rect.AddSide(paths.Bar(0, 0, 16, 16)));
  EXPECT_EQ(kSideCorners, rect.AddSide(paths.Bar(780, 0, 796, 16)));
  EXPECT_EQ(kSideCorners, rect.AddSide(paths.Bar(0, 380, 16, 396)));
  EXPECT_EQ(kSideFinished, rect.AddSide(paths.Bar(780, 380, 796, 396)));
  EXPECT_TRUE(rect.IsComplete());
  EXPECT_EQ(8u, rect.Pieces().size());
  EXPECT_EQ((CDotRect{1, 1, 199, 99}), rect.inkBox);
  EXPECT_EQ(4, rect.sideCount);
}

TEST(BarTenderRect, SideInTheMiddleFailsTheCentreLine) {
  CPaths paths;
  CBarTenderRect rect;
  EXPECT_EQ(kSideCollecting, rect.AddSide(paths.Bar(0, 0, 796, 4)));      // top
  EXPECT_EQ(kSideCollecting, rect.AddSide(paths.Bar(0, 392, 796, 396)));  // bottom
  EXPECT_EQ(kSideCollecting, rect.AddSide(paths.Bar(0, 0, 4, 396)));      // left
  // A bar across the middle (dots 49..50) is none of the four sides of the box 0..200 x 0..100.
  EXPECT_EQ(kSideFinished, rect.AddSide(paths.Bar(0, 196, 796, 200)));
  EXPECT_TRUE(rect.centreLineFailed);
  EXPECT_FALSE(rect.IsComplete());
  EXPECT_EQ(0, rect.pendingCorners);
  // The pieces go back to the caller unchanged, in the order they came.
  std::vector<CCutObj*> pieces = rect.TakePieces();
  ASSERT_EQ(4u, pieces.size());
  EXPECT_EQ((CDotRect{0, 49, 200, 51}), pieces[3]->inkBox);
  EXPECT_TRUE(rect.Pieces().empty());
  for (CCutObj* p : pieces) delete p;
}

// ---- BarTender ellipse ----

// Four 27-point arcs, one in each quarter of the box 0..w x 0..h dots.
void AddQuarterArcs(CPaths& paths, CBarTenderEllipsis& ellipse, int w, int h, std::vector<int>* results = nullptr) {
  const int hx = 4 * (w / 2), hy = 4 * (h / 2), fx = 4 * (w - 1), fy = 4 * (h - 1);
  const int boxes[4][4] = {{hx, 0, fx, hy - 4}, {0, 0, hx - 4, hy - 4}, {0, hy, hx - 4, fy}, {hx, hy, fx, fy}};
  for (const auto& b : boxes) {
    const int r = ellipse.AddArc(paths.Closed(27, b[0], b[1], b[2], b[3]));
    if (results != nullptr) results->push_back(r);
  }
}

TEST(BarTenderEllipse, FourHundredDotsWithSixtyThreeSegments) {
  CPaths paths;
  CBarTenderEllipsis ellipse;
  std::vector<int> results;
  AddQuarterArcs(paths, ellipse, 400, 400, &results);
  EXPECT_EQ((std::vector<int>{kArcCollecting, kArcCollecting, kArcCollecting, kArcComplete}), results);
  ASSERT_EQ((CDotRect{0, 0, 400, 400}), ellipse.inkBox);
  // Radii are half the box in quarter dots.
  EXPECT_DOUBLE_EQ(800.0, ellipse.horizontalRadius);
  EXPECT_DOUBLE_EQ(800.0, ellipse.verticalRadius);
  // d = 400, s = sqrt(400) = 20, n = floor(pi x 400 / 20 + 0.5) = 63.
  EXPECT_EQ(63, ellipse.SegmentCount());
  ASSERT_TRUE(ellipse.Build());
  EXPECT_EQ(17u * 63 + 37, ellipse.Capacity());
  const std::string text(ellipse.textStart, ellipse.textEnd);
  EXPECT_EQ(64, CountOf(text, "^RPM"));
  EXPECT_EQ(64, ellipse.pointCount);
  // Centre (800, 800); the start at angle 0 is (1600, 800).
  EXPECT_EQ(0u, text.find("^RPU\r\n^RPM1600,800\r\n^RPD\r\n"));
  // Step 2 pi / 63 = 0.099733: cos x 800 = 796.02, sin x 800 = 79.65 -> (1596, 800 - 80).
  EXPECT_NE(std::string::npos, text.find("^RPD\r\n^RPM1596,720\r\n"));
  // The 16th point, just past the top: cos x 800 = -19.94 -> -20, sin x 800 = 799.75 -> 800.
  EXPECT_NE(std::string::npos, text.find("^RPM780,0\r\n"));
  // The 63rd point comes back to the start.
  EXPECT_EQ(text.size() - 20, text.rfind("^RPM1600,800\r\n^RPU\r\n"));
  EXPECT_EQ((CQuarterPoint{1600, 800}), ellipse.firstPoint);
  EXPECT_EQ(ellipse.firstPoint, ellipse.lastPoint);
  EXPECT_EQ(1, ellipse.closed);
  // Every move line fits the 17 bytes the buffer allows for it.
  for (std::size_t at = text.find("^RPM"); at != std::string::npos; at = text.find("^RPM", at + 1)) {
    EXPECT_LE(text.find("\r\n", at) + 2 - at, 17u);
  }
  CBlockChannel out;
  EXPECT_TRUE(ellipse.Write(out));
  EXPECT_EQ(text, out.bytes);
}

TEST(BarTenderEllipse, OneDotEllipseIsNotBuilt) {
  CPaths paths;
  CBarTenderEllipsis ellipse;
  // Quarter coordinates 0 and 1 both round to dot 0: the box is one dot.
  for (int i = 0; i < 4; ++i) ellipse.AddArc(paths.Closed(27, 0, 0, 1, 1));
  ASSERT_EQ((CDotRect{0, 0, 1, 1}), ellipse.inkBox);
  EXPECT_EQ(0, ellipse.SegmentCount());
  EXPECT_FALSE(ellipse.Build());
  EXPECT_EQ(nullptr, ellipse.textStart);
  // The arcs are handed back whole.
  std::vector<CCutObj*> arcs = ellipse.TakeArcs();
  EXPECT_EQ(4u, arcs.size());
  EXPECT_TRUE(ellipse.Arcs().empty());
  for (CCutObj* arc : arcs) delete arc;
}

TEST(BarTenderEllipse, HugeBoxGetsRoomForWideLines) {
  CPaths paths;
  CBarTenderEllipsis ellipse;
  // A box of about 500,000,000 dots: move lines far beyond 17 bytes.
  for (int i = 0; i < 4; ++i) ellipse.AddArc(paths.Closed(27, -2000000000, -2000000000, 2000000000, 2000000000));
  const std::int64_t n = ellipse.SegmentCount();
  ASSERT_GT(n, 1000);
  ASSERT_LT(n, 200000);
  ASSERT_TRUE(ellipse.Build());
  const std::string text(ellipse.textStart, ellipse.textEnd);
  EXPECT_EQ(n + 1, CountOf(text, "^RPM"));
  EXPECT_EQ(text.size() - 6, text.rfind("^RPU\r\n"));
  EXPECT_LE(text.size(), ellipse.Capacity());
}

// ---- Rounded rectangle ----

TEST(RoundedRect, RadiusZeroIsWrittenAsFiveMoves) {
  CRoundedRect rect(0, 10, 20, 110, 70);
  EXPECT_EQ(kTypeRoundedRect, rect.GetType());
  EXPECT_EQ((CDotRect{10, 20, 110, 70}), rect.inkBox);
  // (4 x 110, 4 x 70 - 0 - 1).
  EXPECT_EQ((CQuarterPoint{440, 279}), rect.firstPoint);
  EXPECT_EQ(rect.firstPoint, rect.lastPoint);
  EXPECT_EQ(1, rect.closed);
  EXPECT_EQ(0, rect.pointCount);
  EXPECT_EQ(nullptr, rect.textStart);
  CBlockChannel out;
  ASSERT_TRUE(rect.Write(out));
  // L = 40, T = 80, R = 440, B = 280: start (R - 4, B - 4), then (R - 4, T), (L, T), (L, B - 4), (R - 4, B - 4).
  EXPECT_EQ("^RPU\r\n^RPM436,276\r\n^RPD\r\n^RPM436,80\r\n^RPM40,80\r\n^RPM40,276\r\n^RPM436,276\r\n^RPU\r\n",
            out.bytes);
  EXPECT_EQ(1u, out.sizes.size());
}

TEST(RoundedRect, RadiusSixteenHasTwoArcPointsPerCorner) {
  // k = floor(16 x pi / 2 / max(sqrt(64), 16) + 0.5) = floor(2.07) = 2, step pi / 4.
  const CCornerArcs arcs = ComputeCornerArcs(16);
  EXPECT_EQ(2, arcs.pointsPerCorner);
  EXPECT_NEAR(0.785398163, arcs.angleStep, 1e-9);
  EXPECT_EQ(0, ComputeCornerArcs(15).pointsPerCorner);
  EXPECT_EQ(0, ComputeCornerArcs(-5).pointsPerCorner);
  // a = 400: sqrt(1600) = 40, k = floor(400 x 1.5708 / 40 + 0.5) = floor(16.21) = 16.
  EXPECT_EQ(16, ComputeCornerArcs(400).pointsPerCorner);

  // L = 4, T = 4, R = 796, B = 396, a = 16: corner centres TR (776, 20), TL (20, 20), BL (20, 376), BR (776, 376);
  // 16 x cos(pi / 4) = 11.31 rounds to 11.
  CRoundedRect rect(16, 1, 1, 199, 99);
  CBlockChannel out;
  ASSERT_TRUE(rect.Write(out));
  EXPECT_EQ(
      "^RPU\r\n^RPM792,376\r\n^RPD\r\n"
      "^RPM792,20\r\n^RPM787,9\r\n^RPM776,4\r\n"
      "^RPM20,4\r\n^RPM9,9\r\n^RPM4,20\r\n"
      "^RPM4,376\r\n^RPM9,387\r\n^RPM20,392\r\n"
      "^RPM776,392\r\n^RPM787,387\r\n^RPM792,376\r\n^RPU\r\n",
      out.bytes);
}

TEST(RoundedRect, WritesInBlocksOfAtMost1024Bytes) {
  // a = 40000: k = floor(40000 x 1.5708 / 400 + 0.5) = 157 points per corner, far more than one block.
  CRoundedRect rect(40000, 0, 0, 30000, 30000);
  CBlockChannel out;
  ASSERT_TRUE(rect.Write(out));
  ASSERT_GT(out.sizes.size(), 3u);
  for (std::size_t i = 0; i < out.sizes.size(); ++i) {
    EXPECT_LE(out.sizes[i], kRoundedRectBlockBytes);
    if (i + 1 < out.sizes.size()) {
      EXPECT_GT(out.sizes[i], kRoundedRectFlushAt);
    }
  }
  EXPECT_EQ(1 + 4 * (157 + 1), CountOf(out.bytes, "^RPM"));
  EXPECT_EQ(0u, out.bytes.find("^RPU\r\n^RPM"));
  EXPECT_EQ(out.bytes.size() - 6, out.bytes.rfind("^RPU\r\n"));

  CBlockChannel refusing;
  refusing.refuse = true;
  EXPECT_FALSE(rect.Write(refusing));
}

TEST(RoundedRect, RadiusBeyondTheBoxAndHugeCoordinatesStayDefined) {
  CRoundedRect tiny(2000000000, 0, 0, 1, 1);
  CBlockChannel out;
  EXPECT_TRUE(tiny.Write(out));
  EXPECT_EQ(out.bytes.size() - 6, out.bytes.rfind("^RPU\r\n"));
  CRoundedRect far(100, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ((CQuarterPoint{INT32_MAX, INT32_MAX}), far.firstPoint);  // saturated, not wrapped
  CBlockChannel outFar;
  EXPECT_TRUE(far.Write(outFar));
  CRasterCanvas dc(20, 20);
  far.Draw(dc, 0, 0, CDotRect{0, 0, 20, 20}, 0, 0, 0, 0, MakeRgb(0, 0, 0));
  EXPECT_EQ(4 * (ComputeCornerArcs(100).pointsPerCorner + 1), far.pointCount);
}

TEST(RoundedRect, DrawPaintsTheOutline) {
  // Dots 2..11 x 2..9: quarter L = 8, T = 8, R = 48, B = 40; points (44, 36), (44, 8), (8, 8), (8, 36) in quarter
  // dots are dots (11, 9), (11, 2), (2, 2), (2, 9).
  CRoundedRect rect(0, 2, 2, 12, 10);
  CRasterCanvas dc(16, 16);
  const ColorRef ink = MakeRgb(255, 0, 0);
  rect.Draw(dc, 0, 0, CDotRect{0, 0, 16, 16}, 0, 0, 0, 0, ink);
  EXPECT_EQ(4, rect.pointCount);
  EXPECT_EQ(ink, dc.GetPixel(11, 5));
  EXPECT_EQ(ink, dc.GetPixel(6, 2));
  EXPECT_EQ(ink, dc.GetPixel(2, 5));
  EXPECT_EQ(ink, dc.GetPixel(6, 9));
  EXPECT_NE(ink, dc.GetPixel(6, 5));
  EXPECT_NE(ink, dc.GetPixel(12, 5));
  // Moved by position and both offsets: x 1 + 2 + 3 = 6 further right.
  CRasterCanvas moved(32, 16);
  rect.Draw(moved, 1, 0, CDotRect{0, 0, 32, 16}, 2, 0, 3, 0, ink);
  EXPECT_EQ(ink, moved.GetPixel(17, 5));
  EXPECT_NE(ink, moved.GetPixel(11, 5));
  // Outside the clip nothing is drawn.
  CRasterCanvas clipped(16, 16);
  rect.Draw(clipped, 0, 0, CDotRect{20, 20, 40, 40}, 0, 0, 0, 0, ink);
  EXPECT_EQ(0u, clipped.CountInk());
}

}  // namespace
}  // namespace vyx
