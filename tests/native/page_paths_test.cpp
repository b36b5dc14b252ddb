// Collecting a page's pen paths: strokes, flattened curves, paths hidden in bitmap payloads, unfinished lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manager/model/bezier_curve.h"
#include "manager/model/page_paths.h"

namespace vyx {
namespace {

struct COwnedCuts {
  ~COwnedCuts() {
    for (CGraphicObj* c : cuts) delete c;
  }
  std::vector<CGraphicObj*> cuts;
};

TEST(PagePaths, StrokesAndCurvesInStreamOrder) {
  std::string text =
      "^RR1,Black\r\n^FO0,0\r\n^GFB,4,4,1,^RPM\r\n"  // a payload spelling ^RPM is no path
      "^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM40,0\r\n^RPM40,40\r\n^RPM0,0\r\n^RPU\r\n"
      "^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPB12,7,7,12,0,12\r\n^RPU\r\n"
      "^FX comment\r\n"
      "^RPU\r\n^RPM8,8\r\n^RPD\r\n^RPM16,8\r\n^RPU\r\n"
      "^XPG1,1\r\n";
  const std::size_t xpg = text.find("^XPG");
  text.append(2, '\0');
  COwnedCuts owned;
  EXPECT_EQ(3, CollectPagePaths(text.data(), text.data() + xpg, owned.cuts));
  ASSERT_EQ(3u, owned.cuts.size());
  ASSERT_EQ(kTypeCutObj, owned.cuts[0]->GetType());
  ASSERT_EQ(kTypeBezierCurve, owned.cuts[1]->GetType());
  ASSERT_EQ(kTypeCutObj, owned.cuts[2]->GetType());
  const auto& square = static_cast<const CCutObj&>(*owned.cuts[0]);
  EXPECT_EQ(4, square.pointCount);
  EXPECT_EQ(1, square.closed);
  EXPECT_EQ(text.data() + text.find("^RPU"), square.textStart);
  const auto& curve = static_cast<const CBezierCurve&>(*owned.cuts[1]);
  EXPECT_EQ(7, curve.pointCount);
  EXPECT_EQ(1, curve.bezierCount);
  EXPECT_EQ((CQuarterPoint{0, 12}), curve.lastPoint);
  EXPECT_EQ(0, std::string(curve.textStart, curve.textEnd).find("^RPU\r\n^RPM12,0\r\n^RPD\r\n^RPM12,3\r\n"));
  const auto& last = static_cast<const CCutObj&>(*owned.cuts[2]);
  EXPECT_EQ((CQuarterPoint{8, 8}), last.firstPoint);
  EXPECT_EQ((CQuarterPoint{16, 8}), last.lastPoint);
}

TEST(PagePaths, UnfinishedAndEmptyPathsAreSkipped) {
  std::string text = "^RPU\r\n^RPM4,4\r\n^RPD\r\n^RPM8,4\r\n^RP";
  const std::size_t end = text.size();
  text.append(2, '\0');
  COwnedCuts owned;
  EXPECT_EQ(1, CollectPagePaths(text.data(), text.data() + end, owned.cuts));
  ASSERT_EQ(1u, owned.cuts.size());
  EXPECT_EQ(2, static_cast<const CCutObj&>(*owned.cuts[0]).pointCount);

  COwnedCuts none;
  std::string empty(2, '\0');
  EXPECT_EQ(0, CollectPagePaths(empty.data(), empty.data(), none.cuts));
  EXPECT_EQ(0, CollectPagePaths(nullptr, nullptr, none.cuts));
  EXPECT_TRUE(none.cuts.empty());
}

TEST(PagePaths, ThousandsOfPaths) {
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    text += "^RPU\r\n^RPM" + std::to_string(i) + ",0\r\n^RPD\r\n^RPM" + std::to_string(i) + ",40\r\n";
    if (i % 2 == 1)
      text += "^RPB" + std::to_string(i + 40) + ",40," + std::to_string(i + 40) + ",0," + std::to_string(i) + ",0\r\n";
    text += "^RPU\r\n";
  }
  const std::size_t end = text.size();
  text.append(2, '\0');
  COwnedCuts owned;
  EXPECT_EQ(3000, CollectPagePaths(text.data(), text.data() + end, owned.cuts));
  int curves = 0;
  for (const CGraphicObj* c : owned.cuts) curves += c->GetType() == kTypeBezierCurve;
  EXPECT_EQ(1500, curves);
}

TEST(PagePaths, PlainStrokesMoveTheProgressBar) {
  std::string text =
      "^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPM8,0\r\n^RPU\r\n^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB0,8,8,8,8,0\r\n^RPU\r\n";
  const std::size_t end = text.size();
  text += "^XPG1,1\r\n";
  CJobProgress progress;
  progress.bufferStart = text.data();
  progress.jobLength = static_cast<std::int64_t>(text.size());
  text.append(2, '\0');
  COwnedCuts owned;
  EXPECT_EQ(2, CollectPagePaths(text.data(), text.data() + end, owned.cuts, nullptr, &progress));
  // Only the plain stroke (ending at byte 36 of 89) moves the bar: 7,200,000 + 800,000 * 36 / 89.
  EXPECT_EQ(7200000 + 800000 * 36 / 89, progress.Pos());
}

}  // namespace
}  // namespace vyx
