// Byte-exact printer text of the label-format header and of tape cut sets, and where a tape cut is drawn.
#include <gtest/gtest.h>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/header_writer.h"
#include "manager/model/tape_cut_set.h"

namespace vyx {
namespace {

CCustomQzplHeader ExampleHeader() {
  CCustomQzplHeader h;
  h.width = 800;
  h.length = 1200;
  h.homeX = 0;
  h.homeY = 0;
  h.rows = 1;
  h.rowGap = 0;
  h.columns = 1;
  h.columnGap = 0;
  h.rsrValue = 3;
  h.darknessOverride = -1;
  return h;
}

TEST(CustomHeader, SevenLinesWithDefaultDarkness) {
  CMemoryChannel out;
  ASSERT_TRUE(WriteCustomHeader(ExampleHeader(), -1, out));
  EXPECT_EQ("^XA\r\n^PW800\r\n^LL1200\r\n^LH0,0\r\n^PQ1,0,1,0\r\n^RSR3\r\n^SD15\r\n", out.Bytes());
}

TEST(CustomHeader, LaminatePrefixFollowsTheStartLine) {
  CCustomQzplHeader h = ExampleHeader();
  h.laminate = 1;
  EXPECT_EQ("^XA\r\n^RLL0,0\r\n^PW800\r\n^LL1200\r\n^LH0,0\r\n^PQ1,0,1,0\r\n^RSR3\r\n^SD15\r\n",
            FormatCustomHeader(h, -1));
}

TEST(CustomHeader, DarknessOverrideThenStoredThenFifteen) {
  CCustomQzplHeader h = ExampleHeader();
  h.darknessOverride = 0;
  EXPECT_NE(std::string::npos, FormatCustomHeader(h, 22).find("^SD0\r\n"));  // the store is not consulted
  h.darknessOverride = -1;
  EXPECT_NE(std::string::npos, FormatCustomHeader(h, 22).find("^SD22\r\n"));
  EXPECT_NE(std::string::npos, FormatCustomHeader(h, 0).find("^SD0\r\n"));
  EXPECT_EQ(15, ChooseDarkness(-5, -1));
}

TEST(CustomHeader, ExtremeValuesStillFitAndUnsetHomeIsWrittenAsIs) {
  CCustomQzplHeader h = ExampleHeader();
  h.laminate = 1;
  h.width = h.length = h.rows = h.rowGap = h.columns = h.columnGap = h.rsrValue = INT32_MIN;
  h.homeX = h.homeY = kUnsetCoord;
  const std::string text = FormatCustomHeader(h, -1);
  EXPECT_NE(std::string::npos, text.find("^LH-111111111,-111111111\r\n"));
  EXPECT_EQ("^SD15\r\n", text.substr(text.size() - 7));
}

TEST(CustomHeader, LaminateEndLine) {
  CMemoryChannel out;
  EXPECT_TRUE(WriteLaminateEnd(out));
  EXPECT_EQ("^RLE\r\n", out.Bytes());
}

TEST(TapeCutSet, WritesTenBytesAtY1530) {
  CTapeCutSet set(1530, 2);
  EXPECT_EQ(kTypeTapeCutSet, set.GetType());
  EXPECT_EQ((CDotRect{0, 1530, 1217, 1531}), set.inkBox);
  CMemoryChannel out;
  EXPECT_TRUE(set.Write(out));
  EXPECT_EQ("^RTC1530\r\n", out.Bytes());
  CTapeCutSet low(INT32_MIN, 0);
  CMemoryChannel out2;
  EXPECT_TRUE(low.Write(out2));
  EXPECT_EQ("^RTC-2147483648\r\n", out2.Bytes());
}

// Records the pen line the set draws.
struct CLineRecorder : CDrawCanvas {
  int fromX = 0, fromY = 0, toX = 0, toY = 0, lines = 0;
  ColorRef pen = 0;
  int curX = 0, curY = 0;
  void SetPixel(int, int, ColorRef) override {}
  void SelectPen(ColorRef c, int) override { pen = c; }
  void MoveTo(int x, int y) override { curX = x, curY = y; }
  void LineTo(int x, int y) override {
    fromX = curX, fromY = curY, toX = x, toY = y;
    ++lines;
  }
};

TEST(TapeCutSet, DrawsAcrossNarrowClipsAndCentresOnWideOnes) {
  CTapeCutSet set(100, 0);
  CLineRecorder narrow;
  set.Draw(narrow, 0, 0, {0, 0, 1000, 500}, 0, 0, 0, 0, kTapeCutColour);
  ASSERT_EQ(1, narrow.lines);
  EXPECT_EQ(-108, narrow.fromX);
  EXPECT_EQ(1001, narrow.toX);
  EXPECT_EQ(100, narrow.fromY);
  EXPECT_EQ(kTapeCutColour, narrow.pen);

  CLineRecorder wide;
  set.Draw(wide, 0, 10, {0, 0, 2000, 500}, 50, 5, 999, 999, kTapeCutColour);
  EXPECT_EQ(392, wide.fromX);
  EXPECT_EQ(1609, wide.toX);
  EXPECT_EQ(115, wide.fromY);  // y argument and first vertical offset apply, the second pair does not
}

TEST(TapeCutSet, OutsideTheClipDrawsNothing) {
  CTapeCutSet set(600, 0);
  CLineRecorder canvas;
  set.Draw(canvas, 0, 0, {0, 0, 1000, 500}, 0, 0, 0, 0, kTapeCutColour);
  EXPECT_EQ(0, canvas.lines);
  CRasterCanvas raster(1217, 4);
  CTapeCutSet top(1, 0);
  top.Draw(raster, 0, 0, {0, 0, 1217, 4}, 0, 0, 0, 0, kTapeCutColour);
  EXPECT_EQ(1217u, raster.CountInk());
}

}  // namespace
}  // namespace vyx
