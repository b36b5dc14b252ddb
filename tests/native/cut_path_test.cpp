// Pen command dialect and CCutObj: rounding to dots, reading strokes, writing and drawing them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/cut_path.h"
#include "tests/support/job_text.h"

namespace vyx {
namespace {

using testing::CJobText;

TEST(QuarterToDot, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(0, QuarterToDot(0));
  EXPECT_EQ(0, QuarterToDot(1));
  EXPECT_EQ(1, QuarterToDot(2));  // 0.5 -> 1
  EXPECT_EQ(1, QuarterToDot(3));
  EXPECT_EQ(1, QuarterToDot(5));
  EXPECT_EQ(2, QuarterToDot(6));  // 1.5 -> 2
  EXPECT_EQ(0, QuarterToDot(-1));
  EXPECT_EQ(-1, QuarterToDot(-2));  // -0.5 -> -1
  EXPECT_EQ(-1, QuarterToDot(-3));
  EXPECT_EQ(-1, QuarterToDot(-5));
  EXPECT_EQ(-2, QuarterToDot(-6));  // -1.5 -> -2
  EXPECT_EQ(536870912, QuarterToDot(INT32_MAX));
  EXPECT_EQ(-536870912, QuarterToDot(INT32_MIN));
}

TEST(PenCommands, ClassifiesLinesAndReadsValues) {
  const std::string kinds[] = {"^RPU", "^RPD", "^RPM1,2", "^RPB", "^RPX", "^RR1", "RPM", "^RP"};
  const EPenLineKind expected[] = {kPenLineUp,    kPenLineDown,   kPenLineMove,   kPenLineBezier,
                                   kPenLineOther, kPenLineNotPen, kPenLineNotPen, kPenLineOther};
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    EXPECT_EQ(expected[i], ClassifyPenLine(kinds[i].data(), kinds[i].data() + kinds[i].size())) << kinds[i];
  }

  std::int32_t v[6] = {};
  const std::string values = " -12,+7,,99999999999,-99999999999";
  EXPECT_EQ(5, ReadPenValues(values.data(), values.data() + values.size(), v, 6));
  EXPECT_EQ(-12, v[0]);
  EXPECT_EQ(7, v[1]);
  EXPECT_EQ(0, v[2]);
  EXPECT_EQ(INT32_MAX, v[3]);
  EXPECT_EQ(INT32_MIN, v[4]);
  // A comma beyond the line end does not count.
  EXPECT_EQ(1, ReadPenValues(values.data(), values.data() + 4, v, 6));
}

TEST(PenCommands, MoveLineFormatIsBoundedByTheRoomGiven) {
  char buf[40] = {};
  EXPECT_EQ(29u, FormatPenMove(buf, sizeof buf, {INT32_MIN, INT32_MIN}));
  EXPECT_EQ("^RPM-2147483648,-2147483648\r\n", std::string(buf, 29));
  EXPECT_EQ(29u, PenMoveLineLength({INT32_MIN, INT32_MIN}));
  char small[12];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(0u, FormatPenMove(small, 9, {0, 10}));  // needs 10
  EXPECT_EQ('x', small[0]);
  EXPECT_EQ(10u, FormatPenMove(small, 10, {0, 10}));
  EXPECT_EQ("^RPM0,10\r\nxx", std::string(small, 12));
}

TEST(PenCommands, LineEndJumpsOverBinaryPayloads) {
  CJobText text("^RPX^GFB,4,4,1,\r\n\r\n^RPU\r\n");
  char* cr = FindPenLineEnd(text.begin(), text.limit());
  ASSERT_NE(nullptr, cr);
  EXPECT_EQ(23, cr - text.begin());  // the two CR LF inside the four payload bytes are skipped
  CJobText broken("^RPX^GFB,4,4\r\n");
  EXPECT_EQ(nullptr, FindPenLineEnd(broken.begin(), broken.limit()));
  CJobText beyond("^RPX^GFB,400,4,1,\r\n");
  EXPECT_EQ(nullptr, FindPenLineEnd(beyond.begin(), beyond.limit()));
}

TEST(CutObj, ClosedStrokeWithTwoEqualMoves) {
  CJobText text("^RPM10,20\r\n^RPD\r\n^RPM10,20\r\n^RPU\r\n^XPG1,1\r\n");
  CCutObj cut;
  char* next = cut.Parse(text.begin(), text.limit());
  EXPECT_EQ(kTypeCutObj, cut.GetType());
  EXPECT_EQ(text.begin() + 34, next);  // right after the ^RPU line
  EXPECT_EQ(text.begin(), cut.textStart);
  EXPECT_EQ(34, cut.textLength);
  EXPECT_EQ(2, cut.pointCount);
  EXPECT_EQ(1, cut.closed);
  EXPECT_EQ((CQuarterPoint{10, 20}), cut.firstPoint);
  EXPECT_EQ((CQuarterPoint{10, 20}), cut.lastPoint);
  EXPECT_EQ(0, cut.bezierCount);
  EXPECT_EQ((CDotRect{3, 5, 4, 6}), cut.inkBox);  // q(10) = 3, q(20) = 5
}

TEST(CutObj, PenDownWithoutPendingMoveCountsNoFirstPoint) {
  CJobText text("^RPD\r\n^RPM8,8\r\n^RPM16,8\r\n^RPU\r\n");
  CCutObj cut;
  EXPECT_EQ(text.limit(), cut.Parse(text.begin(), text.limit()));
  EXPECT_EQ(2, cut.pointCount);
  EXPECT_EQ((CQuarterPoint{0, 0}), cut.firstPoint);
  EXPECT_EQ((CQuarterPoint{16, 8}), cut.lastPoint);
  EXPECT_EQ(0, cut.closed);
  EXPECT_EQ((CDotRect{2, 2, 5, 3}), cut.inkBox);  // the first point was never counted, so (0, 0) is not inside
}

TEST(CutObj, MoveWithoutCommaIsSkipped) {
  CJobText text("^RPU\r\n^RPM4,4\r\n^RPD\r\n^RPM40\r\n^RPM40,4\r\n^RPM\r\n^RPU\r\n");
  CCutObj cut;
  cut.Parse(text.begin(), text.limit());
  EXPECT_EQ(2, cut.pointCount);
  EXPECT_EQ((CQuarterPoint{4, 4}), cut.firstPoint);
  EXPECT_EQ((CQuarterPoint{40, 4}), cut.lastPoint);  // not (40, 0)
  EXPECT_EQ((CDotRect{1, 1, 11, 2}), cut.inkBox);
}

TEST(CutObj, LeadingPenUpsContinueAndOtherLinesCount) {
  CJobText text("^RPU\r\n^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB1,2,3,4,5,6\r\n^RPZ9\r\n^RPM8,0\r\n^RPU\r\n^RPU\r\n");
  CCutObj cut;
  char* next = cut.Parse(text.begin(), text.limit());
  EXPECT_EQ(text.limit() - 6, next);  // the second trailing ^RPU belongs to the next object
  EXPECT_EQ(1, cut.bezierCount);
  EXPECT_EQ(2, cut.pointCount);
  EXPECT_EQ((CQuarterPoint{8, 0}), cut.lastPoint);
}

TEST(CutObj, PathEndingWithPenDownKeepsLastPointAndClosedAtZero) {
  CJobText text("^RPM4,4\r\n^RPD\r\n^RPM8,4\r\n^RPM4,4\r\n^XPG1,1\r\n");
  CCutObj cut;
  char* next = cut.Parse(text.begin(), text.limit());
  EXPECT_EQ(text.begin() + 33, next);  // before the ^XPG line
  EXPECT_EQ(33, cut.textLength);
  EXPECT_EQ(3, cut.pointCount);
  EXPECT_EQ((CQuarterPoint{0, 0}), cut.lastPoint);
  EXPECT_EQ(0, cut.closed);
}

TEST(CutObj, PathAtTheVeryEndOfTheBuffer) {
  // The last line has no CR LF: it is no line, and nothing at or beyond the limit is read.
  CJobText unfinished("^RPM4,4\r\n^RPD\r\n^RPM8,4\r\n^RPU");
  CCutObj cut;
  char* next = cut.Parse(unfinished.begin(), unfinished.limit());
  EXPECT_EQ(unfinished.begin() + 24, next);
  EXPECT_EQ(2, cut.pointCount);
  EXPECT_EQ(0, cut.closed);

  // A limit that cuts the CR LF in half.
  CJobText halved("^RPM4,4\r\n^RPD\r\n^RPM8,4\r");
  CCutObj half;
  EXPECT_EQ(halved.begin() + 15, half.Parse(halved.begin(), halved.limit()));
  EXPECT_EQ(1, half.pointCount);

  // Nothing at all: the object is empty and parsing does not move.
  CJobText empty("");
  CCutObj none;
  EXPECT_EQ(empty.begin(), none.Parse(empty.begin(), empty.limit()));
  EXPECT_EQ(0, none.textLength);
  EXPECT_FALSE(none.HasInk());
}

TEST(CutObj, ThousandsOfPointsAndExtremeCoordinates) {
  std::string path = "^RPU\r\n^RPM-2147483648,2147483647\r\n^RPD\r\n";
  for (int i = 0; i < 5000; ++i) path += "^RPM" + std::to_string(i * 4) + "," + std::to_string(-i * 4) + "\r\n";
  path += "^RPM99999999999999,-99999999999999\r\n^RPU\r\n";
  CJobText text(path);
  CCutObj cut;
  EXPECT_EQ(text.limit(), cut.Parse(text.begin(), text.limit()));
  EXPECT_EQ(5002, cut.pointCount);
  EXPECT_EQ((CQuarterPoint{INT32_MAX, INT32_MIN}), cut.lastPoint);  // out-of-range values saturate
  EXPECT_EQ((CDotRect{-536870912, -536870912, 536870913, 536870913}), cut.inkBox);
}

TEST(CutObj, WriteSendsTheSpanUnchanged) {
  const std::string stroke = "^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM8,0\r\n^RPU\r\n";
  CJobText text(stroke + "^XPG1,1\r\n");
  CCutObj cut;
  cut.Parse(text.begin(), text.limit());
  CMemoryChannel out;
  EXPECT_TRUE(cut.Write(out));
  EXPECT_EQ(stroke, out.Bytes());
}

TEST(CutObj, DrawReplaysPenLinesMovedByPositionAndOffsets) {
  CJobText text("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM40,0\r\n^RPM40,40\r\n^RPU\r\n");
  CCutObj cut;
  cut.Parse(text.begin(), text.limit());
  const ColorRef red = MakeRgb(255, 0, 0);

  CRasterCanvas canvas(30, 30);
  cut.Draw(canvas, 5, 1, CDotRect{0, 0, 30, 30}, 1, 1, 1, 1, red);
  // Dots (0,0) -> (10,0) -> (10,10) moved by (7, 3); each line leaves out its end point.
  EXPECT_EQ(20u, canvas.CountInk());
  EXPECT_EQ(red, canvas.GetPixel(7, 3));
  EXPECT_EQ(red, canvas.GetPixel(16, 3));
  EXPECT_EQ(red, canvas.GetPixel(17, 3));
  EXPECT_EQ(red, canvas.GetPixel(17, 12));
  EXPECT_NE(red, canvas.GetPixel(17, 13));

  CRasterCanvas missed(30, 30);
  cut.Draw(missed, 5, 1, CDotRect{100, 100, 200, 200}, 0, 0, 0, 0, red);
  EXPECT_EQ(0u, missed.CountInk());

  // Position and offsets add up beyond the int range: the sum is taken in 64 bits and the device coordinates are
  // clamped, never wrapped round onto the raster.
  CRasterCanvas far(30, 30);
  const CDotRect everything{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  cut.Draw(far, INT32_MAX, 0, everything, INT32_MAX, 0, INT32_MIN, 0, red);
  EXPECT_EQ(0u, far.CountInk());
}

TEST(CutObj, DrawSkipsMovesWithoutComma) {
  CJobText text("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM400\r\n^RPM0,40\r\n^RPU\r\n");
  CCutObj cut;
  cut.Parse(text.begin(), text.limit());
  CRasterCanvas canvas(20, 20);
  cut.Draw(canvas, 0, 0, CDotRect{0, 0, 20, 20}, 0, 0, 0, 0, MakeRgb(0, 0, 0));
  EXPECT_EQ(10u, canvas.CountInk());  // only the vertical line (0,0) -> (0,10)
  EXPECT_EQ(MakeRgb(0, 0, 0), canvas.GetPixel(0, 9));
}

}  // namespace
}  // namespace vyx
