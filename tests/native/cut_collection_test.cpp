// The cut collection of a page: routing paths into fragment, rectangle and ellipse collections, closing them,
// BarTender jobs only for the shapes, interrupted collections, dropped lines, and every path in exactly one place.
#include <gtest/gtest.h>
#include "tests/support/run_tool.h"

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "manager/model/cut_collection.h"
#include "manager/model/cut_order.h"
#include "tests/support/pen_paths.h"

namespace vyx {
namespace {

using testing::BandPath;
using testing::BarPath;
using testing::PenPathText;
// The four 2-dot sides of the box 0..200 x 0..100 dots, each shortened by `shortBy` dots.
std::string Sides(int shortBy) {
  const int s = 4 * (shortBy / 2);
  return BarPath(s, 0, 796 - s, 4) + BarPath(792, s, 796, 396 - s) + BarPath(s, 392, 796 - s, 396) +
         BarPath(0, s, 4, 396 - s);
}
std::string Corners(int count) {
  const std::string all[4] = {BarPath(0, 0, 16, 16), BarPath(780, 0, 796, 16), BarPath(0, 380, 16, 396),
                              BarPath(780, 380, 796, 396)};
  std::string text;
  for (int i = 0; i < count; ++i) text += all[i];
  return text;
}
// The four bands of the 400 x 400 dot ellipse.
std::string Arcs(int count) {
  const std::string all[4] = {BandPath(800, 0, 1596, 796), BandPath(0, 0, 796, 796), BandPath(0, 800, 796, 1596),
                              BandPath(800, 800, 1596, 1596)};
  std::string text;
  for (int i = 0; i < count; ++i) text += all[i];
  return text;
}
// A diamond outline in 8 open diagonal pieces of 3 points (quarter dots).
std::string DiamondPieces(int count) {
  const CQuarterPoint c[8] = {{200, 0},   {300, 100}, {400, 200}, {300, 300},
                              {200, 400}, {100, 300}, {0, 200},   {100, 100}};
  std::string text;
  for (int k = 0; k < count; ++k) {
    const CQuarterPoint a = c[k], e = c[(k + 1) % 8];
    text += PenPathText({a, {(a.x + e.x) / 2, (a.y + e.y) / 2}, e});
  }
  return text;
}
const std::string kPlainSquare = BarPath(2000, 2000, 2400, 2400);  // 101 x 101 dots, 5 points: neither side nor arc
const std::string kLine = PenPathText({{0, 0}, {400, 0}});         // axis-parallel, open

// A page text: the paths, then the ^XPG line; collected into `page`.
struct CCollected {
  CCollected(const std::string& paths, bool barTender) : text(paths + "^XPG1,1\r\n" + std::string(2, '\0')) {
    progress.bufferStart = text.data();
    progress.jobLength = static_cast<std::int64_t>(text.size() - 2);
    CCutCollectOptions options;
    options.barTender = barTender;
    options.progress = &progress;
    read = CollectPageCuts(page, text.data(), text.data() + text.find("^XPG"), options);
  }
  std::vector<int> Types() const {
    std::vector<int> types;
    for (const CGraphicObj* c : page.cutObjects) types.push_back(c->GetType());
    return types;
  }
  // Paths held by the page: loose ones, and those inside the shapes.
  std::size_t PathsHeld() const {
    std::size_t n = 0;
    for (const CGraphicObj* c : page.cutObjects) {
      switch (c->GetType()) {
        case kTypeBarTenderRect:
          n += static_cast<const CBarTenderRect*>(c)->Pieces().size();
          break;
        case kTypeBarTenderEllipsis:
          n += static_cast<const CBarTenderEllipsis*>(c)->Arcs().size();
          break;
        case kTypeFragmentedShape:
          n += static_cast<const CFragmentedShape*>(c)->Fragments().size();
          break;
        default:
          ++n;
      }
    }
    return n;
  }
  std::string text;
  CJobProgress progress;
  CQzplPage page;
  int read = 0;
};

TEST(CutCollection, BarTenderTag) {
  EXPECT_TRUE(IsBarTenderJobTag(std::string_view("42_btw")));
  EXPECT_TRUE(IsBarTenderJobTag(std::string_view("_btw")));
  EXPECT_FALSE(IsBarTenderJobTag(std::string_view("42_BTW")));
  EXPECT_FALSE(IsBarTenderJobTag(std::string_view("42_btw ")));
  EXPECT_FALSE(IsBarTenderJobTag(std::string_view("btw")));
  EXPECT_FALSE(IsBarTenderJobTag(std::string_view("")));
  EXPECT_TRUE(IsBarTenderJobTag(std::wstring_view(L"7_label_btw")));
  EXPECT_FALSE(IsBarTenderJobTag(std::wstring_view(L"7_label_btx")));
}

TEST(CutCollection, FourFullSidesBecomeOneSharpRectangle) {
  CCollected c(Sides(0), true);
  EXPECT_EQ(4, c.read);
  ASSERT_EQ((std::vector<int>{kTypeBarTenderRect}), c.Types());
  const auto& rect = static_cast<const CBarTenderRect&>(*c.page.cutObjects[0]);
  EXPECT_EQ(0, rect.radius);
  EXPECT_EQ(4u, rect.Pieces().size());
  EXPECT_EQ((CDotRect{1, 1, 199, 99}), rect.inkBox);
  EXPECT_EQ((CDotRect{1, 1, 199, 99}), c.page.contentBounds);
  EXPECT_DOUBLE_EQ(std::sqrt(796.0 * 796 + 395.0 * 395), c.page.cutTravel);
}

TEST(CutCollection, WithoutTheTagNoShapesAreFormed) {
  CCollected sides(Sides(0), false);
  EXPECT_EQ((std::vector<int>{kTypeCutObj, kTypeCutObj, kTypeCutObj, kTypeCutObj}), sides.Types());
  EXPECT_EQ((CDotRect{0, 0, 200, 100}), sides.page.contentBounds);
  CCollected rounded(Sides(8) + Corners(4), false);
  EXPECT_EQ(8u, rounded.page.cutObjects.size());
  CCollected ellipse(Arcs(4), false);
  EXPECT_EQ((std::vector<int>{kTypeCutObj, kTypeCutObj, kTypeCutObj, kTypeCutObj}), ellipse.Types());
}

TEST(CutCollection, ShortenedSidesAbsorbFourCorners) {
  CCollected c(Sides(8) + Corners(4) + kPlainSquare, true);
  EXPECT_EQ(9, c.read);
  ASSERT_EQ(2u, c.page.cutObjects.size());
  const CGraphicObj* rectObj =
      c.page.cutObjects[0]->GetType() == kTypeBarTenderRect ? c.page.cutObjects[0] : c.page.cutObjects[1];
  ASSERT_EQ(kTypeBarTenderRect, rectObj->GetType());
  const auto& rect = static_cast<const CBarTenderRect&>(*rectObj);
  EXPECT_EQ(16, rect.radius);
  EXPECT_EQ(8u, rect.Pieces().size());
  EXPECT_TRUE(rect.IsComplete());
  EXPECT_EQ(9u, c.PathsHeld());
}

TEST(CutCollection, CornersCutShortByThePageEndAreCutOnTheirOwn) {
  CCollected c(Sides(8) + Corners(2), true);
  EXPECT_EQ(std::vector<int>(6, kTypeCutObj), c.Types());
}

TEST(CutCollection, CentreLineFailureCutsTheBarsAsTheyCame) {
  // Top, bottom, left and a bar across the middle.
  CCollected c(BarPath(0, 0, 796, 4) + BarPath(0, 392, 796, 396) + BarPath(0, 0, 4, 396) + BarPath(0, 196, 796, 200),
               true);
  EXPECT_EQ(std::vector<int>(4, kTypeCutObj), c.Types());
}

TEST(CutCollection, FourArcsBecomeOneEllipse) {
  CCollected c(Arcs(4), true);
  ASSERT_EQ((std::vector<int>{kTypeBarTenderEllipsis}), c.Types());
  const auto& ellipse = static_cast<const CBarTenderEllipsis&>(*c.page.cutObjects[0]);
  EXPECT_EQ(64, ellipse.pointCount);
  EXPECT_EQ((CQuarterPoint{1600, 800}), ellipse.firstPoint);
  EXPECT_EQ((CDotRect{0, 0, 400, 400}), c.page.contentBounds);
  EXPECT_DOUBLE_EQ(std::sqrt(1600.0 * 1600 + 800.0 * 800), c.page.cutTravel);
}

TEST(CutCollection, InterruptedCollectionsReturnTheirPieces) {
  // Two arcs, then a plain path: the arcs are cut on their own.
  CCollected arcs(Arcs(2) + kPlainSquare, true);
  EXPECT_EQ(std::vector<int>(3, kTypeCutObj), arcs.Types());
  // Two sides, then four arcs: the sides are cut on their own, the arcs become an ellipse.
  CCollected mixed(BarPath(0, 0, 796, 4) + BarPath(792, 0, 796, 396) + Arcs(4), true);
  std::vector<int> types = mixed.Types();
  std::sort(types.begin(), types.end());
  EXPECT_EQ((std::vector<int>{kTypeCutObj, kTypeCutObj, kTypeBarTenderEllipsis}), types);
  EXPECT_EQ(6u, mixed.PathsHeld());
  // Three arcs, then four sides: the arcs are cut on their own, the sides become a rectangle.
  CCollected other(Arcs(3) + Sides(0), true);
  types = other.Types();
  std::sort(types.begin(), types.end());
  EXPECT_EQ((std::vector<int>{kTypeCutObj, kTypeCutObj, kTypeCutObj, kTypeBarTenderRect}), types);
  EXPECT_EQ(7u, other.PathsHeld());
}

TEST(CutCollection, FragmentsJoinIntoOneShape) {
  CCollected c(DiamondPieces(8), false);
  ASSERT_EQ((std::vector<int>{kTypeFragmentedShape}), c.Types());
  EXPECT_EQ(8u, c.PathsHeld());
  const auto& shape = static_cast<const CFragmentedShape&>(*c.page.cutObjects[0]);
  EXPECT_EQ(1, shape.closed);
  EXPECT_EQ((CQuarterPoint{200, 0}), shape.firstPoint);
}

TEST(CutCollection, FragmentsLeftAtThePageEndAreCutOnTheirOwn) {
  CCollected c(DiamondPieces(3), true);
  EXPECT_EQ(std::vector<int>(3, kTypeCutObj), c.Types());
  // A closed path ends the fragment collection the same way.
  CCollected closedAfter(DiamondPieces(4) + kPlainSquare, false);
  EXPECT_EQ(std::vector<int>(5, kTypeCutObj), closedAfter.Types());
}

TEST(CutCollection, AxisParallelLineNoRectangleTakesIsDropped) {
  CCollected plain(kLine, false);
  EXPECT_EQ(1, plain.read);
  EXPECT_TRUE(plain.page.cutObjects.empty());
  EXPECT_DOUBLE_EQ(0.0, plain.page.cutTravel);
  CCollected barTender(kLine, true);
  EXPECT_TRUE(barTender.page.cutObjects.empty());
  // While a rectangle waits for corner pieces it takes the line as one of them.
  CCollected corner(Sides(8) + kLine + Corners(3), true);
  ASSERT_EQ((std::vector<int>{kTypeBarTenderRect}), corner.Types());
  EXPECT_EQ(8u, corner.PathsHeld());
}

TEST(CutCollection, BezierPathsBecomeCurves) {
  CCollected c("^RPU\r\n^RPM0,0\r\n^RPD\r\n^RPB0,400,400,400,400,0\r\n^RPM0,0\r\n^RPU\r\n", false);
  ASSERT_EQ((std::vector<int>{kTypeBezierCurve}), c.Types());
  const CGraphicObj& curve = *c.page.cutObjects[0];
  EXPECT_EQ(std::string::npos, std::string(curve.textStart, curve.textEnd).find("^RPB"));
}

TEST(CutCollection, EveryPathEndsUpInOnePlace) {
  const std::string paths = DiamondPieces(8) + Sides(0) + kLine + Arcs(4) + Sides(8) + Corners(4) + kPlainSquare +
                            DiamondPieces(2) + Arcs(1) + kPlainSquare;
  CCollected c(paths, true);
  // 8 + 4 + 1 + 4 + 8 + 1 + 2 + 1 + 1 paths; the line alone is dropped.
  EXPECT_EQ(30, c.read);
  EXPECT_EQ(29u, c.PathsHeld());
  std::vector<int> types = c.Types();
  EXPECT_EQ(1, std::count(types.begin(), types.end(), kTypeFragmentedShape));
  EXPECT_EQ(2, std::count(types.begin(), types.end(), kTypeBarTenderRect));
  EXPECT_EQ(1, std::count(types.begin(), types.end(), kTypeBarTenderEllipsis));
  EXPECT_EQ(5, std::count(types.begin(), types.end(), kTypeCutObj));
}

TEST(CutCollection, PlainCutsMoveTheProgressBar) {
  CCollected c(kPlainSquare + kPlainSquare, false);
  ASSERT_EQ(2u, c.page.cutObjects.size());
  // The second path ends right before the ^XPG line.
  const std::int64_t at = static_cast<std::int64_t>(c.text.find("^XPG"));
  EXPECT_EQ(kProgressRead + (kProgressParsed - kProgressRead) * at / c.progress.jobLength, c.progress.Pos());
  CCollected shapes(Sides(0), true);
  EXPECT_EQ(0, shapes.progress.Pos());
}

TEST(CutCollection, UnfinishedAndOddPathsDoNotStopTheSearch) {
  // A path whose last line has no line end before the page end, a path of other ^RP lines, and one with a
  // move lacking its comma.
  CCollected c("^RPX\r\n^RPU\r\n^RPM40\r\n" + kPlainSquare + "^RPU", false);
  EXPECT_EQ(1u, c.page.cutObjects.size());
}

TEST(CutCollection, ALastPathWithoutLineEndsIsScannedOnce) {
  // 300,000 "^RP" without a line end before the ^XPG line: the search carries on from where the first of them
  // found no line end, instead of scanning the rest of the page once for each of them (hours of work).
  std::string paths = kPlainSquare;
  for (int i = 0; i < 300000; ++i) paths += "^RP";
  CCollected c(paths, false);
  EXPECT_EQ(1, c.read);
  EXPECT_EQ(1u, c.page.cutObjects.size());
}

// vyxq5 inspect on a job file: the routed cut objects with their type codes, and the radius of rectangles.
nlohmann::ordered_json InspectCuts(const std::string& paths, const std::string& tag) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vyx_cut_collection_" + std::to_string(getpid()) + ".zpl");
  {
    std::ofstream out(file, std::ios::binary);
    out << "^XA\r\n^PW800\r\n^LL400\r\n" << paths << "^XPG1,1\r\n^XZ\r\n";
  }
  const testing::CToolRun run =
      testing::RunVyxq5("inspect " + file.string() + (tag.empty() ? "" : " --tag " + tag), "");
  const std::string& text = run.out;
  EXPECT_EQ(0, run.status) << text;
  std::filesystem::remove(file);
  const auto j = nlohmann::ordered_json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.contains("pages") || j["pages"].empty()) return nlohmann::ordered_json::array();
  return j["pages"][0]["cuts"];
}

TEST(CutCollection, InspectShowsRoutedCutsAndRadius) {
  const auto rounded = InspectCuts(Sides(8) + Corners(4), "42_btw");
  ASSERT_EQ(1u, rounded.size());
  EXPECT_EQ(kTypeBarTenderRect, rounded[0]["type"]);
  EXPECT_EQ(16, rounded[0]["radius"]);
  EXPECT_EQ(nlohmann::ordered_json::parse("[1,1,199,99]"), rounded[0]["ink"]);
  EXPECT_EQ(nlohmann::ordered_json::parse("[796,379]"), rounded[0]["first"]);

  const auto ellipse = InspectCuts(Arcs(4) + kLine, "42_btw");
  ASSERT_EQ(1u, ellipse.size());
  EXPECT_EQ(kTypeBarTenderEllipsis, ellipse[0]["type"]);
  EXPECT_FALSE(ellipse[0].contains("radius"));

  // The same paths in a job without the tag: every side on its own, in cutting order from the origin.
  const auto plain = InspectCuts(Sides(0), "42_abc");
  ASSERT_EQ(4u, plain.size());
  for (const auto& cut : plain) {
    EXPECT_EQ(kTypeCutObj, cut["type"]);
    EXPECT_FALSE(cut.contains("radius"));
  }
  EXPECT_EQ(nlohmann::ordered_json::parse("[0,0]"), plain[0]["first"]);
}

}  // namespace
}  // namespace vyx
