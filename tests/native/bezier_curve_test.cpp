// Flattening of cubic segments and the rewritten path of CBezierCurve: point counts, placement, merging of
// collinear moves and the bounded buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/bezier_curve.h"
#include "tests/support/job_text.h"

namespace vyx {
namespace {

using testing::CJobText;

std::vector<CQuarterPoint> Flatten(CQuarterPoint p0,
                                   CQuarterPoint p1,
                                   CQuarterPoint p2,
                                   CQuarterPoint p3,
                                   int maxPoints = kMaxBezierPoints,
                                   CDebugOutput* debug = nullptr) {
  const CQuarterPoint controls[3] = {p1, p2, p3};
  CQuarterPoint out[kMaxBezierPoints];
  const int n = FlattenBezierSegment(p0, controls, maxPoints, out, debug);
  return std::vector<CQuarterPoint>(out, out + n);
}

// Parses the stroke at the start of `path` and builds its curve.
struct CBuilt {
  explicit CBuilt(const std::string& path) : text(path) {
    stroke.Parse(text.begin(), text.limit());
    curve = BuildBezierCurve(stroke, &debug);
  }
  std::string Text() const { return std::string(curve->textStart, curve->textEnd); }
  CJobText text;
  CCutObj stroke;
  CCollectingDebugOutput debug;
  std::unique_ptr<CBezierCurve> curve;
};

TEST(BezierFlattening, StraightSegmentGivesItsEndPointOnly) {
  // Control points on the chord: B' and B'' are parallel everywhere, the curvature is 0, C(50) = 0 and
  // n = trunc(0 * 1.333 + 0.5) = 0, raised to 1.
  CCollectingDebugOutput debug;
  EXPECT_EQ((std::vector<CQuarterPoint>{{30, 30}}), Flatten({0, 0}, {10, 10}, {20, 20}, {30, 30}, 50, &debug));
  EXPECT_EQ((std::vector<CQuarterPoint>{{50, 0}}), Flatten({0, 0}, {100, 0}, {20, 0}, {50, 0}));
  // A segment that does not move at all.
  EXPECT_EQ((std::vector<CQuarterPoint>{{7, 7}}), Flatten({7, 7}, {7, 7}, {7, 7}, {7, 7}));
  EXPECT_TRUE(debug.lines.empty());
}

TEST(BezierFlattening, QuarterCirclePointCountPlacementAndEndPoint) {
  // Quarter circle of radius R = 400 from (R, 0) to (0, R), inner control distance 221 (0.5523 R). For a circle
  // the integrand s^1.333 * kappa is about ((pi/2) R)^1.333 / R, so C(50) ~ (pi/2)^1.333 * R^0.333 = 1.826 * 7.35
  // = 13.4 and n = trunc(13.4 * 1.333 + 0.5) = 18 (the sampled measure gives 18.40 before truncation).
  const std::vector<CQuarterPoint> points = Flatten({400, 0}, {400, 221}, {221, 400}, {0, 400});
  ASSERT_EQ(18u, points.size());
  EXPECT_EQ((CQuarterPoint{0, 400}), points.back());  // P3 exactly
  // The curve is symmetric about x = y, so C(25) = C(50) / 2: point j = 9 lies at t = 1/2, where
  // B(1/2) = (P0 + 3 P1 + 3 P2 + P3) / 8 = ((1600 + 663) / 8, (663 + 1600) / 8) = (282.875, 282.875) -> 283.
  EXPECT_EQ((CQuarterPoint{283, 283}), points[8]);
  // Points j and n - j mirror each other, and the points run monotonically from P0 to P3.
  for (std::size_t j = 1; j < 18; ++j) {
    EXPECT_EQ(points[j - 1].x, points[18 - j - 1].y) << j;
    if (j > 1) {
      EXPECT_LT(points[j - 1].x, points[j - 2].x) << j;
      EXPECT_GT(points[j - 1].y, points[j - 2].y) << j;
    }
  }
}

TEST(BezierFlattening, SmallQuarterCircleExactPoints) {
  // R = 12, inner control distance 7: C(50) = 4.18, n = trunc(4.18 * 1.333 + 0.5) = 6; the middle point (j = 3)
  // is B(1/2) = ((48 + 21) / 8, (21 + 48) / 8) = (8.625, 8.625) -> 9. The other points were computed independently
  // from the same algorithm (trapezoid measure, interval search, trunc(v + 0.5)) outside this code base.
  const std::vector<CQuarterPoint> expected = {{12, 3}, {10, 6}, {9, 9}, {6, 10}, {3, 12}, {0, 12}};
  EXPECT_EQ(expected, Flatten({12, 0}, {12, 7}, {7, 12}, {0, 12}));
}

TEST(BezierFlattening, NegativeValuesRoundUpEvenPastTheControlBox) {
  // trunc(v + 0.5) moves a negative value such as -31.6 to -31, one above the box of the control points (whose
  // largest x is -32); the points were computed independently from the same algorithm.
  const std::vector<CQuarterPoint> expected = {{-31, -11}, {-31, -11}, {-31, -11}, {-31, -11}, {-31, -11},
                                               {-33, -32}, {-34, -40}, {-35, -41}, {-35, -41}, {-36, -41},
                                               {-36, -41}, {-36, -41}, {-37, -41}, {-37, -41}, {-39, -40}};
  EXPECT_EQ(expected, Flatten({-32, -12}, {-33, -10}, {-33, -53}, {-39, -40}));
  CBuilt built("^RPU\r\n^RPM-32,-12\r\n^RPD\r\n^RPB-33,-10,-33,-53,-39,-40\r\n^RPU\r\n");
  EXPECT_EQ(0u, built.Text().find("^RPU\r\n^RPM-32,-12\r\n^RPD\r\n^RPM-31,-11\r\n^RPM-33,-32\r\n"));
}

TEST(BezierFlattening, PointLimitSpreadsFewerPointsAndKeepsTheEnd) {
  // With at most 2 points the only inner value is C(50) / 2, which is t = 1/2 on the symmetric quarter circle.
  EXPECT_EQ((std::vector<CQuarterPoint>{{283, 283}, {0, 400}}), Flatten({400, 0}, {400, 221}, {221, 400}, {0, 400}, 2));
  EXPECT_EQ((std::vector<CQuarterPoint>{{0, 400}}), Flatten({400, 0}, {400, 221}, {221, 400}, {0, 400}, 0));
}

TEST(BezierFlattening, ExtremeCoordinatesStayDefinedAndInsideTheControlBox) {
  const std::vector<CQuarterPoint> points =
      Flatten({INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MAX});
  ASSERT_GE(points.size(), 1u);
  ASSERT_LE(points.size(), 50u);
  EXPECT_EQ((CQuarterPoint{INT32_MAX, INT32_MAX}), points.back());
  // A sharp hook: a huge start, tiny control points.
  const std::vector<CQuarterPoint> hook = Flatten({-2000000000, -2000000000}, {1, 0}, {0, 1}, {0, 0});
  EXPECT_EQ((CQuarterPoint{0, 0}), hook.back());
  for (const CQuarterPoint& p : hook) {
    EXPECT_LE(p.x, 1);
    EXPECT_LE(p.y, 1);
  }
}

TEST(BezierCurve, StraightBezierBecomesOneMoveToItsEnd) {
  CBuilt built("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB10,10,20,20,30,30\r\n^RPU\r\n^XPG1,1\r\n");
  ASSERT_NE(nullptr, built.curve);
  EXPECT_EQ(kTypeBezierCurve, built.curve->GetType());
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM30,30\r\n^RPU\r\n", built.Text());
  EXPECT_EQ(built.curve->Buffer(), built.curve->textStart);
  EXPECT_EQ(50u * 50u, built.curve->Capacity());  // 50 bytes for each byte of the 50-byte stroke
  EXPECT_EQ(2, built.curve->pointCount);
  EXPECT_EQ(1, built.curve->bezierCount);
  EXPECT_EQ((CQuarterPoint{0, 0}), built.curve->firstPoint);
  EXPECT_EQ((CQuarterPoint{30, 30}), built.curve->lastPoint);
  EXPECT_EQ(0, built.curve->closed);
  EXPECT_EQ((CDotRect{0, 0, 9, 9}), built.curve->inkBox);  // q(30) = 8
  CMemoryChannel out;
  EXPECT_TRUE(built.curve->Write(out));
  EXPECT_EQ(built.Text(), out.Bytes());
}

TEST(BezierCurve, CollinearContinuationOverwritesThePreviousMove) {
  // A = (0,0), B = (100,0), p = (200,0): on one line and p beyond B, so the move to B is replaced.
  CBuilt built("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPB120,0,160,0,200,0\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM200,0\r\n^RPU\r\n", built.Text());
  EXPECT_EQ(2, built.curve->pointCount);
  EXPECT_EQ((CQuarterPoint{200, 0}), built.curve->lastPoint);
  EXPECT_EQ((CDotRect{0, 0, 51, 1}), built.curve->inkBox);  // the replaced point (100,0) still counts for ink

  // Two straight segments in a row: the first end is appended (after the pen-up there is no point before the
  // start), the second continues the run and replaces it.
  CBuilt twice("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB0,0,100,0,100,0\r\n^RPB150,0,150,0,200,0\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM200,0\r\n^RPU\r\n", twice.Text());
  EXPECT_EQ(2, twice.curve->pointCount);
  EXPECT_EQ(2, twice.curve->bezierCount);
}

TEST(BezierCurve, TurningOrDoublingBackAppends) {
  // p = (50,0) is collinear with A = (0,0) and B = (100,0) but |B - A|^2 = 10000 >= |p - A|^2 = 2500.
  CBuilt back("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPB80,0,60,0,50,0\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPM50,0\r\n^RPU\r\n", back.Text());
  EXPECT_EQ(3, back.curve->pointCount);
  // A right angle: not collinear.
  CBuilt turn("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPB100,20,100,40,100,60\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPM100,60\r\n^RPU\r\n", turn.Text());
  EXPECT_EQ(3, turn.curve->pointCount);
  // A segment ending where it starts repeats the current position: it replaces the move line with itself and
  // counts nothing.
  CBuilt repeat("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPB100,0,100,0,100,0\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n^RPU\r\n", repeat.Text());
  EXPECT_EQ(2, repeat.curve->pointCount);
}

TEST(BezierCurve, QuarterCirclePathText) {
  // The points of SmallQuarterCircleExactPoints, no three of them collinear, each appended.
  CBuilt built("^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPB12,7,7,12,0,12\r\n^RPU\r\n");
  EXPECT_EQ(
      "^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPM12,3\r\n^RPM10,6\r\n^RPM9,9\r\n^RPM6,10\r\n^RPM3,12\r\n^RPM0,12\r\n"
      "^RPU\r\n",
      built.Text());
  EXPECT_EQ(7, built.curve->pointCount);
  EXPECT_EQ((CQuarterPoint{0, 12}), built.curve->lastPoint);
  EXPECT_EQ((CDotRect{0, 0, 4, 4}), built.curve->inkBox);
  EXPECT_TRUE(built.debug.lines.empty());
}

TEST(BezierCurve, FullCircleIsClosed) {
  CBuilt built(
      "^RPU\r\n^RPM400,0\r\n^RPD\r\n^RPB400,221,221,400,0,400\r\n^RPB-221,400,-400,221,-400,0\r\n"
      "^RPB-400,-221,-221,-400,0,-400\r\n^RPB221,-400,400,-221,400,0\r\n^RPU\r\n");
  EXPECT_EQ(1, built.curve->closed);
  EXPECT_EQ(4, built.curve->bezierCount);
  EXPECT_EQ(1 + 4 * 18, built.curve->pointCount);  // 18 points per arc; no three consecutive points collinear
  EXPECT_EQ((CDotRect{-100, -100, 101, 101}), built.curve->inkBox);
}

TEST(BezierCurve, BezierWithMissingNumbersIsDropped) {
  CBuilt built("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB1,2,3,4,5\r\n^RPB\r\n^RPM8,0\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM8,0\r\n^RPU\r\n", built.Text());
  EXPECT_EQ(2, built.curve->bezierCount);
  EXPECT_EQ(2, built.curve->pointCount);
  // Six values with empty ones read as 0: a straight segment back to (0,0).
  CBuilt empty("^RPU\r\n^RPM8,0\r\n^RPD\r\n^RPB,,,,,\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM8,0\r\n^RPD\r\n^RPM0,0\r\n^RPU\r\n", empty.Text());
}

TEST(BezierCurve, PathThatNeverLiftsThePen) {
  CBuilt built("^RPM0,0\r\n^RPD\r\n^RPB0,0,100,0,100,0\r\n^XPG1,1\r\n");
  EXPECT_EQ("^RPM0,0\r\n^RPD\r\n^RPM100,0\r\n", built.Text());
  EXPECT_EQ(2, built.curve->pointCount);
  EXPECT_EQ((CQuarterPoint{0, 0}), built.curve->lastPoint);
  EXPECT_EQ(0, built.curve->closed);
}

TEST(BezierCurve, ThousandsOfSegments) {
  std::string path = "^RPU\r\n^RPM0,0\r\n^RPD\r\n";
  for (int i = 0; i < 3000; ++i) {
    const int x = i * 40;
    path += "^RPB" + std::to_string(x) + ",40," + std::to_string(x + 40) + ",40," + std::to_string(x + 40) + ",0\r\n";
  }
  path += "^RPU\r\n";
  CBuilt built(path);
  EXPECT_EQ(3000, built.curve->bezierCount);
  EXPECT_EQ((CQuarterPoint{120000, 0}), built.curve->lastPoint);
  EXPECT_GT(built.curve->pointCount, 3000);
  EXPECT_LE(static_cast<std::size_t>(built.curve->textLength), built.curve->Capacity());
}

TEST(BezierCurve, UndersizedBufferSpreadsFewerPoints) {
  // The stroke is 56 bytes; at the ^RPB 23 bytes are written and 6 (the ^RPU) must stay free. The widest move in
  // the control box is "^RPM400,400\r\n" (13 bytes): 85 bytes leave 56 for moves, room for 4 points, which fall at
  // C(50) * j / 4 -- the middle one at t = 1/2 -- and end at P3.
  const std::string path = "^RPU\r\n^RPM400,0\r\n^RPD\r\n^RPB400,221,221,400,0,400\r\n^RPU\r\n";
  CJobText text(path);
  CBezierCurve curve(85);
  char* end = curve.Parse(text.begin(), text.limit());
  const std::string written(curve.Buffer(), end);
  ASSERT_LE(written.size(), 85u);
  EXPECT_EQ(0u, written.find("^RPU\r\n^RPM400,0\r\n^RPD\r\n^RPM"));
  EXPECT_NE(std::string::npos, written.find("\r\n^RPM283,283\r\n^RPM"));
  const std::string tail = "^RPM0,400\r\n^RPU\r\n";
  EXPECT_EQ(tail, written.substr(written.size() - tail.size()));
  EXPECT_EQ(5, curve.pointCount);
  EXPECT_EQ(0, curve.closed);

  // Too small for even the end point: the segment is dropped, every other line is still copied.
  CBezierCurve tiny(41);
  end = tiny.Parse(text.begin(), text.limit());
  EXPECT_EQ("^RPU\r\n^RPM400,0\r\n^RPD\r\n^RPU\r\n", std::string(tiny.Buffer(), end));

  // Smaller than the source itself: copying stops where the next line would not fit.
  CBezierCurve cramped(20);
  end = cramped.Parse(text.begin(), text.limit());
  EXPECT_EQ("^RPU\r\n^RPM400,0\r\n", std::string(cramped.Buffer(), end));
}

TEST(BezierCurve, PathologicalLineLengthsNeverOverrunTheBuffer) {
  // Minimal Bezier lines hooked from the most distant corner (29-byte move lines for 13-byte segments), a move
  // line padded to thousands of bytes, a foreign line of 100000 bytes, and values far beyond 32 bits.
  std::string path = "^RPU\r\n^RPM-2147483648,-2147483648\r\n^RPD\r\n";
  for (int i = 0; i < 300; ++i) {
    path += "^RPB1,,,1,,\r\n^RPB,,,,,\r\n^RPM-2147483648,-2147483648\r\n^RPB,,,,2147483647,-2147483648\r\n";
    path += "^RPB-1,1,1,-1,-2147483648,2147483647\r\n";
  }
  path += "^RPM" + std::string(5000, '0') + "7," + std::string(5000, ' ') + "-99999999999999999999\r\n";
  path += "^RPX" + std::string(100000, 'x') + "\r\n";
  path += "^RPB,,,,,\r\n^RPU\r\n";
  CBuilt built(path);
  ASSERT_NE(nullptr, built.curve);
  const std::string text = built.Text();
  ASSERT_LE(text.size(), built.curve->Capacity());
  EXPECT_EQ(0u, text.find("^RPU\r\n^RPM-2147483648,-2147483648\r\n^RPD\r\n"));
  EXPECT_EQ("^RPM0,0\r\n^RPU\r\n", text.substr(text.size() - 15));
  // Every line is a whole ^RP line.
  std::size_t pos = 0;
  int lines = 0;
  while (pos < text.size()) {
    const std::size_t crlf = text.find("\r\n", pos);
    ASSERT_NE(std::string::npos, crlf);
    EXPECT_EQ(0u, text.compare(pos, 3, "^RP"));
    pos = crlf + 2;
    ++lines;
  }
  EXPECT_GT(lines, 1500);
  EXPECT_EQ(300 * 4 + 1, built.curve->bezierCount);
}

TEST(BezierCurve, ShortSegmentsTurningAtHugeSpeedStayInsideFiftyBytesPerByte) {
  // 21-byte segments between the tips of a diamond with 2e9 quarter-dot radius: each turns by 90 degrees at huge
  // speed and wants 50 points of up to 27 bytes, more than the 1050 bytes the 50-per-byte rule gives it.
  std::string path = "^RPU\r\n^RPM-2000000000,0\r\n^RPD\r\n";
  for (int i = 0; i < 100; ++i) {
    path += "^RPB,,,,,-2000000000\r\n^RPB,,,,2000000000,\r\n^RPB,,,,,2000000000\r\n^RPB,,,,-2000000000,\r\n";
  }
  path += "^RPU\r\n";
  CBuilt built(path);
  const std::size_t capacity = built.curve->Capacity();
  ASSERT_EQ(50u * path.size(), capacity);
  // Unbounded, the same path needs more than that.
  CBezierCurve roomy(std::size_t{1} << 24);
  const std::size_t unbounded =
      static_cast<std::size_t>(roomy.Parse(built.text.begin(), built.text.limit()) - roomy.Buffer());
  EXPECT_GT(unbounded, capacity);

  const std::string text = built.Text();
  EXPECT_LE(text.size(), capacity);
  EXPECT_EQ("^RPM-2000000000,0\r\n^RPU\r\n", text.substr(text.size() - 25));
  EXPECT_EQ(1, built.curve->closed);  // every segment still ends at its own end point
  EXPECT_EQ(400, built.curve->bezierCount);
  EXPECT_LT(built.curve->pointCount, roomy.pointCount);
  EXPECT_GT(built.curve->pointCount, 400 * 30);
}

TEST(BezierCurve, ParsingAgainLeavesNoStaleBytes) {
  CJobText longer("^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPB12,7,7,12,0,12\r\n^RPU\r\n");
  CJobText shorter("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB0,0,9,0,9,0\r\n^RPU\r\n");
  CBezierCurve curve(2000);
  curve.Parse(longer.begin(), longer.limit());
  char* end = curve.Parse(shorter.begin(), shorter.limit());
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM9,0\r\n^RPU\r\n", std::string(curve.Buffer(), end));
  EXPECT_EQ(2, curve.pointCount);
  EXPECT_EQ(1, curve.bezierCount);
  for (const char* p = end; p < curve.Buffer() + curve.Allocated(); ++p) ASSERT_EQ('\0', *p) << p - curve.Buffer();
}

TEST(BezierCurve, MemoryFollowsTheWrittenTextNotTheCapacity) {
  // A capacity far beyond any memory (and beyond 32 bits) is only a bound: the buffer holds what is written.
  CJobText quarter("^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPB12,7,7,12,0,12\r\n^RPU\r\n");
  CBezierCurve vast(std::uint64_t{1} << 42);
  char* end = vast.Parse(quarter.begin(), quarter.limit());
  EXPECT_EQ(
      "^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPM12,3\r\n^RPM10,6\r\n^RPM9,9\r\n^RPM6,10\r\n^RPM3,12\r\n^RPM0,12\r\n"
      "^RPU\r\n",
      std::string(vast.Buffer(), end));
  EXPECT_LT(vast.Allocated(), 256u);
  // A long path of gentle arcs: its curve takes about what it writes, not 50 bytes per source byte.
  std::string path = "^RPU\r\n^RPM0,0\r\n^RPD\r\n";
  for (int i = 0; i < 20000; ++i) {
    const std::string x = std::to_string(i * 400);
    path += "^RPB" + x + ",100," + std::to_string(i * 400 + 300) + ",100," + std::to_string(i * 400 + 400) + ",0\r\n";
  }
  path += "^RPU\r\n";
  CBuilt built(path);
  EXPECT_EQ(built.curve->Used() + 1, built.curve->Allocated());
  EXPECT_LT(built.curve->Allocated(), 10 * path.size());
  EXPECT_EQ(50u * path.size(), built.curve->Capacity());
}

TEST(BezierCurve, DrawReplaysTheFlattenedMoves) {
  // A straight segment from (0,0) to (40,0) and a quarter turn down to (40,40): two lines of 10 dots.
  CBuilt built("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB10,0,30,0,40,0\r\n^RPB40,10,40,30,40,40\r\n^RPU\r\n");
  EXPECT_EQ("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM40,0\r\n^RPM40,40\r\n^RPU\r\n", built.Text());
  CRasterCanvas canvas(20, 20);
  built.curve->Draw(canvas, 2, 2, CDotRect{0, 0, 20, 20}, 0, 0, 0, 0, MakeRgb(0, 0, 0));
  EXPECT_EQ(20u, canvas.CountInk());
  EXPECT_EQ(MakeRgb(0, 0, 0), canvas.GetPixel(12, 2));
  EXPECT_EQ(MakeRgb(0, 0, 0), canvas.GetPixel(12, 11));
}

}  // namespace
}  // namespace vyx
