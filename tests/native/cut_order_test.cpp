// The cut order: cheapest insertion, refusal of points and axis-parallel lines, acceptance with travel and bounds,
// and the outline operations (add, second outline refused, radius with its maximum, fit, remove, travel).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "manager/model/cut_order.h"

namespace vyx {
namespace {

// A cut object starting at (x, y) quarter dots with the given bounds in dots.
CCutObj* MakeCut(int x, int y, CDotRect bounds = {0, 0, 10, 10}) {
  auto* c = new CCutObj;
  c->firstPoint = {x, y};
  c->lastPoint = {x, y};
  c->closed = 1;
  c->inkBox = bounds;
  return c;
}

std::vector<CQuarterPoint> Starts(const CQzplPage& page) {
  std::vector<CQuarterPoint> starts;
  for (const CGraphicObj* c : page.cutObjects) starts.push_back(CutStartOf(*c));
  return starts;
}

TEST(CutOrder, CheapestInsertionSortsAlongALine) {
  CQzplPage page;
  // (100,0) first: 100 from the origin. (10,0) before it: 10 + 90 - 100 = 0. (50,0) between them: 40 + 50 - 90 = 0.
  EXPECT_DOUBLE_EQ(100.0, InsertCut(page, MakeCut(100, 0)));
  EXPECT_DOUBLE_EQ(0.0, InsertCut(page, MakeCut(10, 0)));
  EXPECT_DOUBLE_EQ(0.0, InsertCut(page, MakeCut(50, 0)));
  EXPECT_EQ((std::vector<CQuarterPoint>{{10, 0}, {50, 0}, {100, 0}}), Starts(page));
}

TEST(CutOrder, InsertionCostsAndTies) {
  CQzplPage page;
  ASSERT_TRUE(AcceptCut(page, MakeCut(0, 30)));
  // After (0,30): at the front 40 + 50 - 30 = 60, at the end 50 -> appended at cost 50.
  EXPECT_DOUBLE_EQ(50.0, InsertCut(page, MakeCut(40, 0)));
  EXPECT_EQ((std::vector<CQuarterPoint>{{0, 30}, {40, 0}}), Starts(page));
  // A copy of the first start costs 0 both before and after it: the earlier position wins.
  CCutObj* twin = MakeCut(0, 30);
  EXPECT_DOUBLE_EQ(0.0, InsertCut(page, twin));
  EXPECT_EQ(twin, page.cutObjects[0]);
}

TEST(CutOrder, ACutOnTheWayCostsNothingEvenWhenRoundingSaysLess) {
  CQzplPage page;
  ASSERT_TRUE(AcceptCut(page, MakeCut(4, 4)));
  // sqrt(2) + sqrt(18) - sqrt(32) comes out as -8.9e-16 in doubles: still accepted, at cost 0.
  CCutObj* between = MakeCut(1, 1);
  EXPECT_TRUE(AcceptCut(page, between));
  ASSERT_EQ(2u, page.cutObjects.size());
  EXPECT_EQ(between, page.cutObjects[0]);
  EXPECT_DOUBLE_EQ(std::sqrt(32.0), page.cutTravel);
}

TEST(CutOrder, FarObjectsAreAppendedAtTheDefaultCost) {
  CQzplPage page;
  ASSERT_TRUE(AcceptCut(page, MakeCut(10, 0)));
  // 3,000,000 quarter dots away: no cost below 1,000,000, appended at that cost.
  CCutObj* far = MakeCut(3000000, 0);
  EXPECT_DOUBLE_EQ(kNoInsertionCost, InsertCut(page, far));
  EXPECT_EQ(far, page.cutObjects.back());
  CCutObj* between = MakeCut(-3000000, 0);
  EXPECT_DOUBLE_EQ(kNoInsertionCost, InsertCut(page, between));
  EXPECT_EQ(between, page.cutObjects.back());
}

// Cheapest insertion as literally described: every position costed, the first of the lowest cost taken.
double InsertLiterally(std::vector<CQuarterPoint>& order, CQuarterPoint p) {
  auto d = [](CQuarterPoint a, CQuarterPoint b) {
    const double dx = static_cast<double>(a.x) - b.x, dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
  };
  double best = kNoInsertionCost;
  std::size_t at = order.size();
  CQuarterPoint prev{0, 0};
  for (std::size_t i = 0; i < order.size(); ++i) {
    const double cost = d(prev, p) + d(p, order[i]) - d(prev, order[i]);
    if (cost < best) {
      best = cost;
      at = i;
    }
    prev = order[i];
  }
  if (d(prev, p) < best) {
    best = d(prev, p);
    at = order.size();
  }
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), p);
  return best < 0 ? 0.0 : best;
}

TEST(CutOrder, KeptStartPointsGiveExactlyTheLiteralOrder) {
  // Scattered, clustered, repeated, collinear and extreme starts, into two pages in turns; an outline whose start
  // moves with its radius; pages made and dropped at the same address.
  std::uint64_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    return static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(range));
  };
  for (int round = 0; round < 6; ++round) {
    CQzplPage pages[2];
    std::vector<CQuarterPoint> literal[2];
    pages[0].printRect = pages[1].printRect = {0, 0, 4000, 3000};
    for (int k = 0; k < 2500; ++k) {
      const int which = next(3) == 0 ? 1 : 0;
      CQuarterPoint p{};
      switch (next(5)) {
        case 0:
          p = {next(160000) - 80000, next(120000) - 60000};
          break;
        case 1:
          p = {1000 + next(40), 2000 + next(40)};
          break;
        case 2:
          p = literal[which].empty()
                  ? CQuarterPoint{7, 7}
                  : literal[which][static_cast<std::size_t>(next(static_cast<int>(literal[which].size())))];
          break;
        case 3:
          p = {next(1000) * 8, next(1000) * 8 * 3 / 4};
          break;
        default:
          p = {next(2) ? INT32_MAX - next(5) : INT32_MIN + next(5), next(2) ? INT32_MAX : -next(9)};
      }
      const double expected = InsertLiterally(literal[which], p);
      ASSERT_EQ(expected, InsertCut(pages[which], MakeCut(p.x, p.y))) << round << " " << k;
      if (k == 1200 + round) {
        // An outline, then a new radius: its start moves in place.
        ASSERT_TRUE(AddOutline(pages[which], 40, true));
        ASSERT_TRUE(SetOutlineRadius(pages[which], 400 + round, nullptr));
        literal[which] = Starts(pages[which]);
      }
    }
    for (int w = 0; w < 2; ++w) EXPECT_EQ(literal[w], Starts(pages[w])) << round;
  }
}

TEST(CutOrder, PointsAndAxisParallelLinesAreRefused) {
  CQzplPage page;
  CCutObj* line = MakeCut(0, 0, {0, 0, 51, 1});  // a horizontal line of 51 dots
  EXPECT_EQ(-1, InsertCut(page, line));
  CCutObj* upright = MakeCut(0, 0, {7, 0, 8, 300});
  EXPECT_EQ(-1, InsertCut(page, upright));
  CCutObj* point = MakeCut(0, 0, {5, 5, 6, 6});
  EXPECT_EQ(-1, InsertCut(page, point));
  CCutObj* unset = MakeCut(0, 0, CDotRect::Unset());
  EXPECT_EQ(-1, InsertCut(page, unset));
  // Two dots apart diagonally span 1 square dot; 2 x 1 dots span 2.
  CCutObj* diagonal = MakeCut(0, 0, {0, 0, 2, 2});
  EXPECT_EQ(-1, InsertCut(page, diagonal));
  EXPECT_TRUE(page.cutObjects.empty());
  EXPECT_GE(InsertCut(page, MakeCut(0, 0, {0, 0, 3, 2})), 0);
  EXPECT_EQ(1u, page.cutObjects.size());
  for (CCutObj* c : {line, upright, point, unset, diagonal}) delete c;

  EXPECT_EQ(0, SpannedArea({0, 0, 51, 1}));
  EXPECT_EQ(50 * 9, SpannedArea({0, 0, 51, 10}));
  EXPECT_EQ(0, SpannedArea({10, 10, 5, 20}));
}

TEST(CutOrder, AcceptAddsTravelAndBoundsAndDeletesRefusals) {
  CQzplPage page;
  page.contentBounds = {100, 100, 110, 110};  // a field
  EXPECT_TRUE(AcceptCut(page, MakeCut(30, 40, {0, 0, 20, 20})));
  EXPECT_DOUBLE_EQ(50.0, page.cutTravel);
  EXPECT_EQ((CDotRect{0, 0, 110, 110}), page.contentBounds);
  // Refused: deleted (ASan would report a leak otherwise), nothing changes.
  EXPECT_FALSE(AcceptCut(page, MakeCut(0, 0, {0, 0, 500, 1})));
  EXPECT_DOUBLE_EQ(50.0, page.cutTravel);
  EXPECT_EQ((CDotRect{0, 0, 110, 110}), page.contentBounds);
  EXPECT_EQ(1u, page.cutObjects.size());
}

TEST(CutOrder, HasCutObjectsIgnoresOutlinesAndLines) {
  CQzplPage page;
  EXPECT_FALSE(HasCutObjects(page));
  page.printRect = {0, 0, 100, 50};
  ASSERT_TRUE(AddOutline(page, 24, false));
  EXPECT_FALSE(HasCutObjects(page));
  page.cutObjects.push_back(MakeCut(0, 0, {0, 0, 40, 1}));  // a line placed without insertion
  EXPECT_FALSE(HasCutObjects(page));
  page.cutObjects.push_back(MakeCut(0, 0, {0, 0, 3, 2}));
  EXPECT_TRUE(HasCutObjects(page));
}

TEST(Outline, AddOnceAroundThePrintRectangle) {
  CQzplPage page;
  page.printRect = {0, 0, 100, 50};
  page.contentBounds = {10, 10, 20, 20};
  ASSERT_TRUE(AddOutline(page, 24, false));
  ASSERT_EQ(1u, page.cutObjects.size());
  CRoundedRect* outline = FindOutline(page);
  ASSERT_NE(nullptr, outline);
  EXPECT_EQ(kTypeRoundedRect, outline->GetType());
  EXPECT_EQ((CDotRect{0, 0, 100, 50}), outline->inkBox);
  // (4 x 100, 4 x 50 - 24 - 1).
  EXPECT_EQ((CQuarterPoint{400, 175}), outline->firstPoint);
  EXPECT_EQ(1, outline->closed);
  EXPECT_DOUBLE_EQ(std::sqrt(400.0 * 400 + 175.0 * 175), page.cutTravel);
  EXPECT_EQ((CDotRect{10, 10, 20, 20}), page.contentBounds);  // the outline does not count as content
  // A second outline is refused, also when forced.
  EXPECT_FALSE(AddOutline(page, 24, false));
  EXPECT_FALSE(AddOutline(page, 8, true));
  EXPECT_EQ(1u, page.cutObjects.size());
}

TEST(Outline, PagesWithTheirOwnCutNeedEvenIfCut) {
  CQzplPage page;
  page.printRect = {0, 0, 100, 50};
  ASSERT_TRUE(AcceptCut(page, MakeCut(40, 40)));
  EXPECT_FALSE(AddOutline(page, 24, false));
  EXPECT_EQ(1u, page.cutObjects.size());
  EXPECT_TRUE(AddOutline(page, 24, true));
  EXPECT_EQ(2u, page.cutObjects.size());
  // A print rectangle without area gives no outline.
  CQzplPage empty;
  empty.printRect = {0, 0, 100, 1};
  EXPECT_FALSE(AddOutline(empty, 0, true));
  EXPECT_TRUE(empty.cutObjects.empty());
}

TEST(Outline, RadiusAboveTheMaximumIsReportedAndRefused) {
  CQzplPage page;
  page.printRect = {0, 0, 100, 50};
  ASSERT_TRUE(AddOutline(page, 24, false));
  // Half the smaller side (25) times 4.
  EXPECT_EQ(100, MaxOutlineRadius(page));
  std::int64_t maximum = -1;
  EXPECT_FALSE(SetOutlineRadius(page, 101, &maximum));
  EXPECT_EQ(100, maximum);
  EXPECT_EQ(24, FindOutline(page)->radius);
  EXPECT_EQ((CQuarterPoint{400, 175}), FindOutline(page)->firstPoint);

  EXPECT_TRUE(SetOutlineRadius(page, 100, &maximum));
  EXPECT_EQ(100, FindOutline(page)->radius);
  EXPECT_EQ((CQuarterPoint{400, 99}), FindOutline(page)->firstPoint);
  EXPECT_DOUBLE_EQ(std::sqrt(400.0 * 400 + 99.0 * 99), page.cutTravel);
  EXPECT_TRUE(SetOutlineRadius(page, 100, nullptr));  // unchanged

  // An odd side: 101 / 2 x 4 = 202.
  page.printRect = {0, 0, 101, 300};
  EXPECT_EQ(202, MaxOutlineRadius(page));

  CQzplPage bare;
  bare.printRect = {0, 0, 100, 50};
  EXPECT_FALSE(SetOutlineRadius(bare, 10, &maximum));
}

TEST(Outline, FitRemoveAndTravel) {
  CQzplPage page;
  page.printRect = {0, 0, 100, 50};
  ASSERT_TRUE(AcceptCut(page, MakeCut(30, 40)));
  ASSERT_TRUE(AddOutline(page, 24, true));
  page.printRect = {10, 10, 60, 40};
  ASSERT_TRUE(FitOutline(page));
  CRoundedRect* outline = FindOutline(page);
  EXPECT_EQ((CDotRect{10, 10, 60, 40}), outline->inkBox);
  EXPECT_EQ((CQuarterPoint{240, 160 - 24 - 1}), outline->firstPoint);
  // Order (30,40), (240,135): 50 + sqrt(210^2 + 95^2).
  ASSERT_EQ(outline, page.cutObjects.back());
  EXPECT_DOUBLE_EQ(50.0 + std::sqrt(210.0 * 210 + 95.0 * 95), page.cutTravel);

  EXPECT_TRUE(RemoveOutline(page));
  EXPECT_EQ(nullptr, FindOutline(page));
  EXPECT_EQ(1u, page.cutObjects.size());
  EXPECT_DOUBLE_EQ(50.0, page.cutTravel);
  EXPECT_FALSE(RemoveOutline(page));
  EXPECT_FALSE(FitOutline(page));

  page.cutObjects.push_back(MakeCut(30, 0));
  RecomputeTravel(page);
  EXPECT_DOUBLE_EQ(50.0 + 40.0, page.cutTravel);
}

TEST(Outline, CopyPagesTakeTheOutlineOutWithoutDeletingIt) {
  CQzplPage master;
  master.printRect = {0, 0, 100, 50};
  ASSERT_TRUE(AddOutline(master, 24, false));
  std::unique_ptr<CQzplPage> copy(master.MakeCopy(1));
  EXPECT_TRUE(RemoveOutline(*copy));
  EXPECT_TRUE(copy->cutObjects.empty());
  // The master still holds (and later deletes) it.
  ASSERT_NE(nullptr, FindOutline(master));
  EXPECT_EQ(24, FindOutline(master)->radius);
}

}  // namespace
}  // namespace vyx
