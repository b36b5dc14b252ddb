// Colour consolidation of pages: colour groups, classification, clones and pixel scoring, outcomes and the change
// counter, restoring and distributing a ribbon again, and the job-level step with its progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/seams/progress_sink.h"
#include "manager/model/consolidation.h"
#include "manager/model/field_measures.h"
#include "manager/model/job.h"
#include "manager/model/ribbon_restore.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

using testing::Bitmap;

constexpr unsigned kRed = 1, kBlack = 2, kYellow = 3, kBlue = 4, kTint = 5;

struct CColours {
  std::int32_t table[32];
  CColours() {
    std::fill(std::begin(table), std::end(table), -1);
    table[kRed] = static_cast<std::int32_t>(MakeRgb(255, 0, 0));
    table[kBlack] = 0;
    table[kYellow] = static_cast<std::int32_t>(MakeRgb(255, 255, 0));
    table[kBlue] = static_cast<std::int32_t>(MakeRgb(0, 0, 255));
    table[kTint] = static_cast<std::int32_t>(MakeRgb(0, 160, 255));
  }
};

struct CLayer {
  unsigned ribbon;
  Bitmap bitmap;
  int x = 0;
  int y = 0;
};

// A one-page job of the given layers, parsed; outcomes start at 0 as after a job reset.
struct CPageJob {
  CQzplJobData job;
  CColours colours;
  std::int32_t outcomes[32] = {};
  explicit CPageJob(const std::vector<CLayer>& layers) {
    std::string text = testing::Header();
    for (const CLayer& l : layers)
      text += testing::Field(l.ribbon, "Rib" + std::to_string(l.ribbon), l.x, l.y, l.bitmap);
    text += testing::PageEnd(1, 1) + testing::Trailer();
    job.SetText(text.data(), text.size());
    job.ParseJob();
  }
  CQzplPage& Page() { return *job.pages.at(0); }
  std::vector<CGraphicField*>& Fields() { return Page().graphicFields; }
  int Consolidate() { return ConsolidatePage(Page(), colours.table, outcomes); }
};

Bitmap Pixels(int w, int h, std::vector<std::pair<int, int>> at) {
  return Bitmap::FromPredicate(
      w, h, [at](int x, int y) { return std::find(at.begin(), at.end(), std::make_pair(x, y)) != at.end(); });
}
Bitmap Block(int w, int h, int x0, int x1) {
  return Bitmap::FromPredicate(w, h, [=](int x, int) { return x >= x0 && x < x1; });
}
Bitmap Empty(int w, int h) {
  return Bitmap::FromPredicate(w, h, [](int, int) { return false; });
}

// Three yellow pixels inside the red block's left half.
const std::vector<std::pair<int, int>> kTrace = {{10, 10}, {12, 20}, {14, 30}};

TEST(ColourGroups, AFieldOfAnotherExtentBetweenSplitsTheGroup) {
  CPageJob apart(
      {{kRed, Block(64, 64, 0, 32)}, {kBlue, Block(64, 64, 0, 32), 100, 0}, {kYellow, Pixels(64, 64, kTrace)}});
  const std::vector<CGraphicField*> before = apart.Fields();
  EXPECT_EQ(0, apart.Consolidate());
  EXPECT_EQ(before, apart.Fields());
  for (unsigned r : {kRed, kBlue, kYellow}) EXPECT_EQ(kOutcomeOwnRibbon, apart.outcomes[r]) << r;
  for (CGraphicField* f : apart.Fields()) EXPECT_EQ(0, f->consolidationMark);

  // Without the field between them the two form a group and the trace goes to red.
  CPageJob together({{kRed, Block(64, 64, 0, 32)}, {kYellow, Pixels(64, 64, kTrace)}});
  EXPECT_EQ(1, together.Consolidate());
  EXPECT_EQ(static_cast<std::int32_t>(kRed), together.outcomes[kYellow]);
}

TEST(ColourGroups, OutcomesOfRibbonsOutsideEveryGroupStayAsSet) {
  CPageJob j({{kRed, Block(64, 64, 0, 32)}, {kYellow, Pixels(64, 64, kTrace)}});
  j.outcomes[7] = 7;
  j.outcomes[kBlue] = 12;
  j.Consolidate();
  EXPECT_EQ(7, j.outcomes[7]);
  EXPECT_EQ(12, j.outcomes[kBlue]);
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kRed]);
}

TEST(Consolidation, SparseFieldWhosePixelsAllGoToOneKeptRibbonOnlyChangesTheOutcome) {
  CPageJob j({{kRed, Block(64, 64, 0, 32)}, {kYellow, Pixels(64, 64, kTrace)}});
  const std::vector<CGraphicField*> before = j.Fields();
  EXPECT_EQ(1, j.Consolidate());
  EXPECT_EQ(before, j.Fields());
  EXPECT_EQ(static_cast<std::int32_t>(kRed), j.outcomes[kYellow]);
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kRed]);
  EXPECT_EQ(1, j.Page().changeCounter);
  EXPECT_EQ(1, j.Fields()[1]->consolidationMark);  // sparse: never merged
  EXPECT_EQ(0, j.Fields()[0]->consolidationMark);
  EXPECT_EQ(MakeRgb(255, 255, 0), j.Fields()[1]->ribbonColour);
  EXPECT_EQ(3, j.Fields()[1]->pixelCount);  // the sparse field keeps its pixels
}

TEST(Consolidation, SparseFieldOfARibbonKeptElsewhereIsReplacedByItsOnlyClone) {
  CPageJob j({{kRed, Block(64, 64, 0, 32)}, {kYellow, Pixels(64, 64, kTrace)}});
  j.outcomes[kYellow] = kOutcomeOwnRibbon;
  CGraphicField* sparse = j.Fields()[1];
  EXPECT_EQ(1, j.Consolidate());
  ASSERT_EQ(2u, j.Fields().size());
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kYellow]);
  ASSERT_EQ(kTypeGraphicFieldClone, j.Fields()[1]->GetType());
  auto* clone = static_cast<CGraphicFieldClone*>(j.Fields()[1]);
  EXPECT_EQ(kRed, clone->ribbonIndex);
  EXPECT_STREQ("Rib1", clone->ribbonName);
  EXPECT_EQ(MakeRgb(255, 0, 0), clone->ribbonColour);
  EXPECT_EQ(1, clone->consolidationMark);
  EXPECT_EQ(0, clone->sourceOwnership);
  ASSERT_EQ(1u, clone->sources.size());
  EXPECT_EQ(sparse, clone->sources[0]);
  // Every trace pixel lies inside the red block: 9 neighbours each.
  EXPECT_EQ(27, clone->GetContactScore());
  EXPECT_EQ(3, clone->pixelCount);
  EXPECT_EQ(sparse->extent, clone->extent);
  EXPECT_EQ(sparse->inkBox, clone->inkBox);
  for (auto [x, y] : kTrace) EXPECT_EQ(1, clone->PixelAt(x, y));
  EXPECT_EQ(0, clone->PixelAt(11, 10));
  // The untouched characters of the clone's own bitmap stay zero bytes.
  EXPECT_EQ('\0', clone->data[clone->charsPerRow - 1]);
}

TEST(Consolidation, PixelsSplitOverTwoKeptRibbonsByContactAndColour) {
  // Black on the left half, red on the right; two trace pixels in the black, one in the red.
  // Scores (yellow against black: attraction 1.3333, divisor 0.8165 + 0.3918; against red: 1.0343, 0.5774 + 0.5):
  // contact shares 18/3 and 9/3; a pixel in the black scores 16.6 there and 2.9 for red, one in the red 6.6 and 11.5.
  const std::vector<std::pair<int, int>> trace = {{10, 10}, {12, 20}, {50, 10}};
  CPageJob j({{kBlack, Block(64, 64, 0, 32)}, {kRed, Block(64, 64, 32, 64)}, {kYellow, Pixels(64, 64, trace)}});
  CGraphicField* sparse = j.Fields()[2];
  EXPECT_EQ(1, j.Consolidate());
  EXPECT_EQ(kOutcomeSplit, j.outcomes[kYellow]);
  ASSERT_EQ(4u, j.Fields().size());
  auto* toBlack = static_cast<CGraphicFieldClone*>(j.Fields()[2]);
  auto* toRed = static_cast<CGraphicFieldClone*>(j.Fields()[3]);
  ASSERT_EQ(kTypeGraphicFieldClone, toBlack->GetType());
  ASSERT_EQ(kTypeGraphicFieldClone, toRed->GetType());
  EXPECT_EQ(kBlack, toBlack->ribbonIndex);
  EXPECT_EQ(kRed, toRed->ribbonIndex);
  EXPECT_EQ(0, toBlack->sourceOwnership);
  EXPECT_EQ(1, toRed->sourceOwnership);
  EXPECT_EQ(sparse, toRed->sources.at(0));
  EXPECT_EQ(18, toBlack->contactScore);
  EXPECT_EQ(9, toRed->contactScore);
  EXPECT_EQ(2, toBlack->pixelCount);
  EXPECT_EQ(1, toRed->pixelCount);
  EXPECT_EQ(1, toBlack->PixelAt(10, 10));
  EXPECT_EQ(1, toBlack->PixelAt(12, 20));
  EXPECT_EQ(1, toRed->PixelAt(50, 10));
  EXPECT_EQ(0, toRed->PixelAt(10, 10));
}

TEST(Consolidation, ReadingTheSparseFieldTwiceGivesTheSameClones) {
  const std::vector<std::pair<int, int>> trace = {{10, 10}, {12, 20}, {50, 10}, {31, 40}, {33, 40}};
  const std::vector<CLayer> layers = {
      {kBlack, Block(64, 64, 0, 32)}, {kRed, Block(64, 64, 32, 64)}, {kYellow, Pixels(64, 64, trace)}};
  CPageJob once(layers), twice(layers);
  once.Consolidate();
  CConsolidationSettings settings;
  settings.cachedPixelLimit = 0;
  ConsolidatePage(twice.Page(), twice.colours.table, twice.outcomes, settings);
  ASSERT_EQ(once.Fields().size(), twice.Fields().size());
  for (std::size_t i = 2; i < once.Fields().size(); ++i) {
    const auto* a = static_cast<CGraphicFieldClone*>(once.Fields()[i]);
    const auto* b = static_cast<CGraphicFieldClone*>(twice.Fields()[i]);
    EXPECT_EQ(a->contactScore, b->contactScore);
    EXPECT_EQ(a->pixelCount, b->pixelCount);
    EXPECT_EQ(0, std::memcmp(a->data, b->data, static_cast<std::size_t>(a->dataEnd - a->data)));
  }
}

TEST(Consolidation, EmptyFieldIsSparseUnlessBlack) {
  CPageJob blue({{kRed, Block(64, 64, 0, 32)}, {kBlue, Empty(64, 64)}});
  EXPECT_EQ(1, blue.Consolidate());
  ASSERT_EQ(1u, blue.Fields().size());  // no clone took a pixel: the field leaves the page
  EXPECT_EQ(kRed, blue.Fields()[0]->ribbonIndex);
  EXPECT_EQ(kOutcomeSplit, blue.outcomes[kBlue]);

  CPageJob black({{kRed, Block(64, 64, 0, 32)}, {kBlack, Empty(64, 64)}});
  EXPECT_EQ(0, black.Consolidate());
  EXPECT_EQ(2u, black.Fields().size());
  EXPECT_EQ(kOutcomeOwnRibbon, black.outcomes[kBlack]);
}

TEST(Consolidation, BlackFieldIsKeptWhateverItsDensity) {
  CPageJob j({{kRed, Block(64, 64, 0, 32)}, {kBlack, Pixels(64, 64, kTrace)}});
  EXPECT_EQ(0, j.Consolidate());
  ASSERT_EQ(2u, j.Fields().size());
  EXPECT_EQ(0, j.Fields()[1]->consolidationMark);
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kBlack]);
  EXPECT_EQ(ClassifyField(*j.Fields()[1]), kFieldKept);
}

TEST(Consolidation, OneSparseFieldAndNoKeptFieldIsTakenOutWithoutClone) {
  // The tint (every fourth column of every second row) is neither kept nor sparse; its ribbon prints itself.
  const Bitmap tint = Bitmap::FromPredicate(100, 100, [](int x, int y) { return x % 4 == 0 && y % 2 == 0; });
  CPageJob j({{kTint, tint}, {kYellow, Pixels(100, 100, kTrace)}});
  EXPECT_EQ(1, j.Consolidate());
  ASSERT_EQ(1u, j.Fields().size());
  EXPECT_EQ(kTint, j.Fields()[0]->ribbonIndex);
  EXPECT_EQ(0, j.Fields()[0]->consolidationMark);
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kTint]);
  EXPECT_EQ(kOutcomeSplit, j.outcomes[kYellow]);
}

TEST(Consolidation, TwoSparseFieldsWithoutKeptFieldAreNotPromoted) {
  // b = strokes / sqrt(P) / (W + H) stays at or below 2 for any field, so q never exceeds 5.
  CPageJob j({{kYellow, Pixels(64, 64, kTrace)}, {kBlue, Pixels(64, 64, {{40, 40}, {41, 40}, {41, 41}})}});
  EXPECT_EQ(2, j.Consolidate());
  EXPECT_TRUE(j.Fields().empty());
  EXPECT_EQ(kOutcomeSplit, j.outcomes[kYellow]);
  EXPECT_EQ(kOutcomeSplit, j.outcomes[kBlue]);
}

TEST(Consolidation, PromotionPicksTheGreatestGeometricMeanOfTheOthers) {
  EXPECT_EQ(1, PickPromotedField({10, 1}));  // q = (1, 10)
  EXPECT_EQ(0, PickPromotedField({1, 10}));
  EXPECT_EQ(-1, PickPromotedField({3, 4}));        // q = (4, 3): not above 5
  EXPECT_EQ(0, PickPromotedField({6, 6}));         // ties: the first
  EXPECT_EQ(2, PickPromotedField({36, 36, 1}));    // q = (6, 6, 36)
  EXPECT_EQ(-1, PickPromotedField({-1, -1, 30}));  // q = (NaN, NaN, 1)
  EXPECT_EQ(-1, PickPromotedField({7}));
}

TEST(Consolidation, RunsOfOneExtentLongerThanAnyRibbonSetAreLeftAlone) {
  std::vector<CLayer> layers = {{kRed, Block(64, 64, 0, 32)}};
  for (std::size_t i = 1; i <= kMaxGroupFields; ++i) layers.push_back({kYellow, Pixels(64, 64, kTrace)});
  CPageJob j(layers);
  const std::vector<CGraphicField*> before = j.Fields();
  EXPECT_EQ(0, j.Consolidate());
  EXPECT_EQ(before, j.Fields());
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kYellow]);
  for (CGraphicField* f : j.Fields()) EXPECT_EQ(0, f->consolidationMark);
  // One field fewer makes a group again: every trace goes to red.
  layers.pop_back();
  CPageJob group(layers);
  group.Consolidate();
  EXPECT_EQ(static_cast<std::int32_t>(kRed), group.outcomes[kYellow]);
}

TEST(Consolidation, AClonesBitmapThatCannotBeBuiltLeavesTheSparseFieldAsItIs) {
  // Both pixels go to the clone for black; its bitmap is built with the first of them.
  CPageJob j(
      {{kBlack, Block(64, 64, 0, 32)}, {kRed, Block(64, 64, 32, 64)}, {kYellow, Pixels(64, 64, {{10, 10}, {12, 20}})}});
  j.outcomes[kYellow] = kOutcomeSplit;
  const std::size_t saved = CSyntheticGraphicField::MaxBitmapBytes();
  CSyntheticGraphicField::SetMaxBitmapBytes(0);  // any bitmap fails: the sparse field must then stay as it is
  EXPECT_EQ(0, j.Consolidate());
  CSyntheticGraphicField::SetMaxBitmapBytes(saved);
  ASSERT_EQ(3u, j.Fields().size());
  EXPECT_EQ(kYellow, j.Fields()[2]->ribbonIndex);
  EXPECT_EQ(0, j.Fields()[2]->consolidationMark);
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kYellow]);
  CPageJob k(
      {{kBlack, Block(64, 64, 0, 32)}, {kRed, Block(64, 64, 32, 64)}, {kYellow, Pixels(64, 64, {{10, 10}, {12, 20}})}});
  k.outcomes[kYellow] = kOutcomeSplit;
  EXPECT_EQ(1, k.Consolidate());
  ASSERT_EQ(3u, k.Fields().size());
  EXPECT_EQ(kBlack, k.Fields()[2]->ribbonIndex);
}

TEST(Consolidation, LoneFieldsPrintInTheirOwnRibbonAndKeepTheirState) {
  CPageJob j({{kYellow, Pixels(64, 64, kTrace)}});
  EXPECT_EQ(0, j.Consolidate());
  EXPECT_EQ(kOutcomeOwnRibbon, j.outcomes[kYellow]);
  EXPECT_EQ(0, j.Fields()[0]->consolidationMark);
  EXPECT_EQ(0u, j.Fields()[0]->ribbonColour);  // not looked up: the field takes no part
}

TEST(Consolidation, DegenerateGroupsNeitherCrashNorDivideByZero) {
  // Zero-row fields and unreadable fields share an extent and form groups of their own.
  std::string text = testing::Header() + "^RR1,A\r\n^FO0,0\r\n^GFA,0,0,4,\r\n^RR3,B\r\n^FO0,0\r\n^GFA,0,0,4,\r\n" +
                     "^RR4,C\r\n^FO9,9\r\n^GFC,4,4,2,zz\r\n^RR3,D\r\n^FO9,9\r\n^GFC,4,4,2,zz\r\n" +
                     testing::PageEnd(1, 1) + testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  job.ParseJob();
  CColours colours;
  std::int32_t outcomes[32] = {};
  ConsolidatePage(*job.pages.at(0), colours.table, outcomes);
  // Every one of them is an empty sparse field of a group without a kept field.
  EXPECT_TRUE(job.pages[0]->graphicFields.empty());
  EXPECT_EQ(kOutcomeSplit, outcomes[kRed]);
  EXPECT_EQ(kOutcomeSplit, outcomes[kYellow]);
}

// The classification in its plain order, from the measures.
EFieldClass PlainClass(CGraphicField& f) {
  if (SolidBlockTest(f) == kSolidBlockFound) return kFieldKept;
  const int pattern = PatternTest(f);
  if (pattern == kPatternDense) return kFieldKept;
  if (pattern == kPatternTint) return kFieldTint;
  if (f.ribbonColour == 0) return kFieldKept;
  if (f.pixelCount < 16 || (f.HasInk() ? f.inkBox.Area() : 0) < 32) return kFieldSparse;
  const double d = Density(f);
  if (d >= 0.075) return kFieldKept;
  const std::int32_t strokes = StrokeCount(f, 9);
  if (strokes <= 8 && !IsLineLike(f, strokes)) return kFieldKept;
  if (LargestSolidSquare(f) >= 6) return kFieldKept;
  if (d < 0.0375) return kFieldSparse;
  return kFieldNeither;
}

TEST(Consolidation, ClassificationMatchesThePlainOrderOfTests) {
  std::mt19937 rng(7);
  int seen[4] = {};
  for (int round = 0; round < 160; ++round) {
    const int w = 8 + static_cast<int>(rng() % 120), h = 8 + static_cast<int>(rng() % 120);
    const unsigned per = rng() % 4 == 0 ? 1 + rng() % 5 : rng() % 60;
    const int kind = round % 4;
    std::vector<char> cells(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool on = rng() % 100 < per;
        if (kind == 1) on = x % 4 == 0 && y % 2 == 0;                               // tint
        if (kind == 2) on = on || (x > w / 3 && x < w / 3 + 9 && y > 5 && y < 15);  // a solid spot
        if (kind == 3) on = x % 11 == 0 || y % 13 == 0;                             // lines
        cells[static_cast<std::size_t>(y * w + x)] = on;
      }
    const Bitmap bm =
        Bitmap::FromPredicate(w, h, [&](int x, int y) { return cells[static_cast<std::size_t>(y * w + x)] != 0; });
    CPageJob a({{kYellow, bm}}), b({{kYellow, bm}});
    CGraphicField& fa = *a.Fields()[0];
    CGraphicField& fb = *b.Fields()[0];
    fa.ribbonColour = fb.ribbonColour = round % 5 == 0 ? 0 : MakeRgb(255, 255, 0);
    const EFieldClass plain = PlainClass(fa);
    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_EQ(plain, ClassifyField(fb));
    EXPECT_EQ(fa.strokeCount, fb.strokeCount);
    EXPECT_EQ(fa.strokeLimit, fb.strokeLimit);
    EXPECT_EQ(fa.largestSolidSquare, fb.largestSolidSquare);
    ++seen[plain];
  }
  for (int c = 0; c < 4; ++c) EXPECT_GT(seen[c], 0) << "class " << c << " never met";
}

// ---- restore and distribute again ----

struct CSplitPage : CPageJob {
  CSplitPage()
      : CPageJob({{kBlack, Block(64, 64, 0, 32)},
                  {kRed, Block(64, 64, 32, 64)},
                  {kYellow, Pixels(64, 64, {{10, 10}, {12, 20}, {50, 10}})}}) {
    sparse = Fields()[2];
    Consolidate();
  }
  CGraphicField* sparse = nullptr;
};

TEST(RibbonRestore, RestoreAndDistributeReturnThePageToItsFieldList) {
  CSplitPage j;
  const std::vector<CGraphicField*> distributed = j.Fields();
  ASSERT_EQ(4u, distributed.size());
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(1, RestoreRibbon(j.Page(), kYellow));
    ASSERT_EQ(3u, j.Fields().size());
    auto* copy = static_cast<CGraphicFieldClone*>(j.Fields()[2]);
    ASSERT_EQ(kTypeGraphicFieldClone, copy->GetType());
    EXPECT_EQ(-1, copy->GetContactScore());
    EXPECT_EQ(kYellow, copy->ribbonIndex);
    EXPECT_EQ(3, copy->pixelCount);
    EXPECT_EQ(kStrokeLimitFull, copy->strokeLimit);
    EXPECT_EQ(0, copy->sourceOwnership);
    EXPECT_EQ((std::vector<CGraphicField*>{j.sparse, distributed[2], distributed[3]}), copy->sources);
    EXPECT_EQ(0, RestoreRibbon(j.Page(), kYellow));  // nothing left to restore

    EXPECT_EQ(0, DistributeRibbonAgain(j.Page(), kYellow));
    EXPECT_EQ(distributed, j.Fields());
    EXPECT_EQ(0, static_cast<CGraphicFieldClone*>(j.Fields()[2])->sourceOwnership);
  }
}

TEST(RibbonRestore, OtherRibbonsAndKeptClonesAreLeftAlone) {
  CSplitPage j;
  const std::vector<CGraphicField*> distributed = j.Fields();
  // The clone of red carries ribbon 1 but is no restored copy.
  EXPECT_EQ(0, DistributeRibbonAgain(j.Page(), kRed));
  EXPECT_EQ(0, RestoreRibbon(j.Page(), kRed));
  EXPECT_EQ(distributed, j.Fields());
}

TEST(RibbonRestore, APageDestroyedWhileRestoredFreesEverythingOnce) {
  // Runs under the address sanitizer: the copy owns the field and the clones, the first clone the field too.
  CSplitPage j;
  EXPECT_EQ(1, RestoreRibbon(j.Page(), kYellow));
}

TEST(RibbonRestore, SingleCloneReplacementRestoresToo) {
  CPageJob j({{kRed, Block(64, 64, 0, 32)}, {kYellow, Pixels(64, 64, kTrace)}});
  j.outcomes[kYellow] = kOutcomeSplit;
  j.Consolidate();
  const std::vector<CGraphicField*> distributed = j.Fields();
  EXPECT_EQ(1, RestoreRibbon(j.Page(), kYellow));
  EXPECT_EQ(kYellow, j.Fields()[1]->ribbonIndex);
  DistributeRibbonAgain(j.Page(), kYellow);
  EXPECT_EQ(distributed, j.Fields());
}

TEST(RibbonRestore, CopyPagesTakeOutWithoutDeleting) {
  CSplitPage j;
  const std::vector<CGraphicField*> distributed = j.Fields();
  CQzplPage* copyPage = j.Page().MakeCopy(1);
  EXPECT_EQ(1, RestoreRibbon(*copyPage, kYellow));
  EXPECT_EQ(distributed, j.Fields());  // the master's list is its own
  CGraphicField* copy = copyPage->graphicFields.at(2);
  DistributeRibbonAgain(*copyPage, kYellow);
  EXPECT_EQ(distributed, copyPage->graphicFields);
  // Nothing was deleted: the copy is still there, its sources handed back.
  EXPECT_TRUE(static_cast<CGraphicFieldClone*>(copy)->sources.empty());
  delete copy;
  delete copyPage;
}

// ---- the job step ----

class CRecordingProgress : public CProgressSink {
 public:
  void SetRange(int, int) override {}
  void SetPos(int pos) override { positions.push_back(pos); }
  void StepIt() override {}
  void SetStep(int) override {}
  std::vector<int> positions;
};

TEST(ConsolidateJob, FillsTheJobOutcomesAndMovesTheBar) {
  std::string text = testing::Header();
  for (int page = 1; page <= 2; ++page) {
    text += testing::Field(kRed, "Red", 0, 0, Block(64, 64, 0, 32));
    text += testing::Field(kYellow, "Yellow", 0, 0, Pixels(64, 64, kTrace));
    text += testing::PageEnd(1, page);
  }
  text += testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  job.ParseJob();
  CRecordingProgress bar;
  job.progress.sink = &bar;
  CColours colours;
  // The first page turns yellow into red; on the second the outcome is already red: no further change.
  EXPECT_EQ(1, ConsolidateJob(job, colours.table));
  EXPECT_EQ(static_cast<std::int32_t>(kRed), job.layout.ribbonOutcomes[kYellow]);
  EXPECT_EQ(1, job.pages[0]->changeCounter);
  EXPECT_EQ(0, job.pages[1]->changeCounter);
  ASSERT_FALSE(bar.positions.empty());
  EXPECT_TRUE(std::is_sorted(bar.positions.begin(), bar.positions.end()));
  EXPECT_GT(bar.positions.front(), kProgressParsed);
  EXPECT_EQ(kProgressConsolidated, bar.positions.back());
  EXPECT_EQ(5u, bar.positions.size());  // four fields, then the fixed position
}

}  // namespace
}  // namespace vyx
