// The job layout: labels across, margins, rows filled from either side with centred short rows, tape cut sets and
// their pages, copies split by length, documents split at 29500 dots, outlines and copy pages.
#include <gtest/gtest.h>

#include <string>

#include "manager/model/cut_order.h"
#include "manager/model/job.h"
#include "manager/output/layout.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

namespace jb = vyx::testing;

// A small black field: a page needs one for the header to end before it.
std::string Ink() {
  return jb::Field(0, "Black", 10, 10, jb::Bitmap::FromPredicate(8, 2, [](int, int) { return true; }));
}

// A job of pages made in memory: each page has the given content bounds and ribbon mask.
struct LayoutFixture : ::testing::Test {
  CQzplJobData job;
  CQzplPrintPlan plan;

  CQzplPage& AddPage(CDotRect content, std::uint32_t mask = 1) {
    auto* page = new CQzplPage();
    page->contentBounds = content;
    page->ribbonMask = mask;
    job.pages.push_back(page);
    return *page;
  }
  // The optimised working header in force with the gap on both axes.
  CQzplHeader& UseOptimised(int gap, int totalLabels = 1) {
    job.headerInForce = &job.optimisedHeader;
    job.optimisedHeader.homeX = job.optimisedHeader.homeY = 0;
    SetTotalLabels(job, totalLabels);
    SetLabelGap(job, gap);
    return job.optimisedHeader;
  }
  void Load(const std::string& text) {
    job.SetText(text.data(), text.size());
    ASSERT_GT(job.ParseJob(), 0);
  }
};

TEST(LabelsAcross, WidthAndGapDecideColumnsAndRows) {
  CQzplHeader h;
  h.width = 400;
  h.columnGap = 20;
  ApplyTotalLabels(h, 5);
  EXPECT_EQ(2, h.labelsAcross);  // (20 + 1217) / (20 + 400)
  EXPECT_EQ(2, h.columns);
  EXPECT_EQ(3, h.rows);
  EXPECT_EQ(1, h.lastRowPartial);
  ApplyTotalLabels(h, 4);
  EXPECT_EQ(2, h.rows);
  EXPECT_EQ(0, h.lastRowPartial);
  ApplyTotalLabels(h, 2);  // not more than fit across: one row
  EXPECT_EQ(1, h.rows);
  EXPECT_EQ(2, h.columns);

  h.width = 1300;  // (20 + 1217) / 1320 is 0: one across
  ApplyTotalLabels(h, 5);
  EXPECT_EQ(1, h.labelsAcross);
  EXPECT_EQ(1, h.columns);
  EXPECT_EQ(5, h.rows);
  EXPECT_EQ(0, h.lastRowPartial);

  h.width = 400;  // tape cut sets in force: one across whatever fits
  h.tapeCutSetsInForce = 1;
  h.labelsPerSet = 3;
  ApplyTotalLabels(h, 5);
  EXPECT_EQ(1, h.columns);
  EXPECT_EQ(5, h.rows);
}

TEST_F(LayoutFixture, LabelGapGoesToBothWorkingHeaders) {
  job.optimisedHeader.width = 400;
  job.formSizeHeader.width = 1300;
  job.optimisedHeader.totalLabels = job.formSizeHeader.totalLabels = 3;
  SetLabelGap(job, 20);
  EXPECT_EQ(20, job.optimisedHeader.rowGap);
  EXPECT_EQ(20, job.formSizeHeader.columnGap);
  EXPECT_EQ(2, job.optimisedHeader.labelsAcross);
  EXPECT_EQ(2, job.optimisedHeader.rows);
  EXPECT_EQ(1, job.formSizeHeader.labelsAcross);
  EXPECT_EQ(3, job.formSizeHeader.rows);
}

TEST_F(LayoutFixture, AutomaticMarginFollowsTheLargestSide) {
  // 354 dots are 29.97 mm, 355 dots 30.06 mm: the 30 mm step lies between them.
  CQzplPage& page = AddPage({0, 0, 354, 100});
  EXPECT_EQ(24, AutomaticMargin(job));
  page.contentBounds = {0, 0, 100, 355};
  EXPECT_EQ(35, AutomaticMargin(job));
  page.contentBounds = {0, 0, 118, 50};  // 9.99 mm
  EXPECT_EQ(12, AutomaticMargin(job));
  page.contentBounds = {0, 0, 827, 50};  // 70.02 mm
  EXPECT_EQ(59, AutomaticMargin(job));
  AddPage({0, 0, 590, 20});  // 49.95 mm on a second page, the first is smaller now
  page.contentBounds = {0, 0, 10, 10};
  EXPECT_EQ(35, AutomaticMargin(job));
}

TEST_F(LayoutFixture, SideMarginLimitAndPlacement) {
  AddPage({10, 20, 410, 120});  // 400 x 100
  AddPage({50, 30, 350, 330});  // 300 x 300
  AddPage({0, 0, 400, 50});     // as wide as the first: does not replace it
  EXPECT_EQ((1217 - 400) / 2 - 2, SideMarginLimit(job));
  PlaceOptimised(job, 5, 7);
  EXPECT_EQ((CDotRect{5, 13, 415, 127}), job.pages[0]->printRect);
  EXPECT_EQ(410, job.layout.widestExtent);
  EXPECT_EQ(5, job.layout.widestSide);
  EXPECT_EQ(314, job.layout.tallestExtent);
  EXPECT_EQ(23, job.layout.tallestSide);
  EXPECT_EQ(310, job.layout.smallestWidth);
  EXPECT_EQ(64, job.layout.smallestHeight);
  CentreOnLargest(job);
  // left = (50 + 350 - 410 + 1) / 2 = -4 (toward zero), top = (30 + 330 - 314 + 1) / 2 = 23
  EXPECT_EQ((CDotRect{-4, 23, 406, 337}), job.pages[1]->printRect);
  EXPECT_EQ((CDotRect{-4, -131, 406, 183}), job.pages[2]->printRect);

  job.parsedHeader.width = 600;
  job.parsedHeader.length = 200;
  job.parsedHeader.homeX = 3;
  job.parsedHeader.homeY = kUnsetCoord;
  PlaceFormSize(job);
  EXPECT_EQ((CDotRect{3, 0, 603, 200}), job.pages[2]->printRect);
  EXPECT_EQ(600, job.layout.widestExtent);
  EXPECT_EQ(3, job.layout.widestSide);
}

TEST_F(LayoutFixture, SevenPagesThreePerRowFromTheRight) {
  for (int i = 0; i < 7; ++i) AddPage({10, 5, 390, 105}, 1u << i);
  UseOptimised(20);
  PlaceOptimised(job, 0, 0);  // W = 380: (20 + 1217) / 400 = 3 across
  ArrangeRows(job, plan, true, true);
  // Columns from the right: x of column k is 190 + 400 k, less the content centre 200.
  const int x[7] = {790, 390, -10, 790, 390, -10, 390};  // the single label: h = (1180 - 380) / 2 = 400
  const int y[7] = {-5, -5, -5, 115, 115, 115, 235};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(x[i], job.pages[static_cast<std::size_t>(i)]->offsetX) << i;
    EXPECT_EQ(y[i], job.pages[static_cast<std::size_t>(i)]->offsetY) << i;
  }
  const CQzplHeader& h = job.optimisedHeader;
  EXPECT_EQ(1180, h.width);  // 3 x 380 + 2 x 20
  EXPECT_EQ(340, h.length);  // three rows of 100 and two gaps
  ASSERT_EQ(1u, plan.printJobs.size());
  const CQzplPrintJob& pj = *plan.printJobs[0];
  EXPECT_EQ(0, pj.firstPage);
  EXPECT_EQ(6, pj.lastPage);
  EXPECT_EQ(2, pj.lastRow);
  EXPECT_EQ(340, pj.header.length);
  EXPECT_EQ(0x7Fu, pj.ribbonMask);
  EXPECT_EQ(0x7Fu, job.layout.printJobsRibbonMask);
  EXPECT_TRUE(plan.tapeCutSets.empty());

  ArrangeRows(job, plan, true, false);  // portrait fills from the left even when asked for right to left
  EXPECT_EQ(-10, job.pages[0]->offsetX);
  EXPECT_EQ(790, job.pages[2]->offsetX);
  EXPECT_EQ(390, job.pages[6]->offsetX);
  EXPECT_EQ(1u, plan.printJobs.size());
}

TEST_F(LayoutFixture, RowsOverTheDocumentLengthStartNewDocuments) {
  for (int i = 0; i < 5; ++i) AddPage({0, 0, 1000, 10000}, 1u << i);
  UseOptimised(0);
  PlaceOptimised(job, 0, 0);
  ArrangeRows(job, plan, false, false);
  // Rows end at 10000, 20000, 30000 (> 29500: a new document from the third row), 40000, 50000 (again).
  ASSERT_EQ(3u, plan.printJobs.size());
  const CQzplPrintJob& a = *plan.printJobs[0];
  const CQzplPrintJob& b = *plan.printJobs[1];
  const CQzplPrintJob& c = *plan.printJobs[2];
  EXPECT_EQ(0, a.firstPage);
  EXPECT_EQ(1, a.lastPage);
  EXPECT_EQ(1, a.lastRow);
  EXPECT_EQ(20000, a.length);
  EXPECT_EQ(2, b.firstPage);
  EXPECT_EQ(3, b.lastPage);
  EXPECT_EQ(2, b.firstRow);
  EXPECT_EQ(20000, b.top);
  EXPECT_EQ(40000, b.length);
  EXPECT_EQ(4, c.firstPage);
  EXPECT_EQ(4, c.lastPage);
  EXPECT_EQ(40000, c.top);
  EXPECT_EQ(50000, c.length);
  // Each document is a label of its own: length from its top, home lowered by its top.
  EXPECT_EQ(20000, b.header.length);
  EXPECT_EQ(-20000, b.header.homeY);
  EXPECT_EQ(10000, c.header.length);
  EXPECT_EQ(0b11u, a.ribbonMask);
  EXPECT_EQ(0b1100u, b.ribbonMask);
  EXPECT_EQ(0b10000u, c.ribbonMask);
  EXPECT_EQ(30000, job.pages[3]->offsetY);
  EXPECT_EQ(50000, job.optimisedHeader.length);
}

TEST_F(LayoutFixture, ARowLongerThanADocumentIsNotSplitFromNothing) {
  AddPage({0, 0, 1000, 40000});
  AddPage({0, 0, 1000, 100});
  UseOptimised(0);
  PlaceOptimised(job, 0, 0);
  ArrangeRows(job, plan, false, false);
  // The first row alone exceeds the limit; it stays in the first document, the second row starts the next.
  ASSERT_EQ(2u, plan.printJobs.size());
  EXPECT_EQ(0, plan.printJobs[0]->firstPage);
  EXPECT_EQ(0, plan.printJobs[0]->lastPage);
  EXPECT_EQ(40000, plan.printJobs[0]->length);
  EXPECT_EQ(1, plan.printJobs[1]->firstPage);
  EXPECT_EQ(40000, plan.printJobs[1]->top);
}

TEST_F(LayoutFixture, CopiesOfALongLabelAreSplitIntoDocuments) {
  // 17716 dots are 1499.95 mm: 8 copies make 11999.6 mm, 9 would make 13499.6 mm.
  Load(jb::Header(1000, 17716, "1,0,1,0") + Ink() + jb::PageEnd(10, 1) + jb::Trailer());
  ExpandPageCopies(job);
  EXPECT_EQ(10, job.layout.singlePageCopies);
  EXPECT_EQ(1, job.pages[0]->copies);
  job.headerInForce = &job.formSizeHeader;
  SetLabelGap(job, 0);
  PlaceFormSize(job);
  ArrangeRows(job, plan, false, false);
  ASSERT_EQ(2u, plan.printJobs.size());
  EXPECT_EQ(8, plan.printJobs[0]->header.totalLabels);
  EXPECT_EQ(8, plan.printJobs[0]->header.rows);
  EXPECT_EQ(1, plan.printJobs[0]->header.columns);
  EXPECT_EQ(2, plan.printJobs[1]->header.totalLabels);
  EXPECT_EQ(2, plan.printJobs[1]->header.rows);
  EXPECT_EQ(0, plan.printJobs[1]->firstPage);
  EXPECT_EQ(0, plan.printJobs[1]->lastPage);
  EXPECT_EQ(17716, plan.printJobs[1]->header.length);
  EXPECT_EQ(10, job.formSizeHeader.totalLabels);  // restored on the header in force
  EXPECT_EQ(10, job.formSizeHeader.rows);
  EXPECT_FALSE(NeedsLengthConfirmation(job, plan));  // split by copies: both documents cover the same page

  EXPECT_EQ(1, plan.printJobs[0]->repeat);

  SetTotalLabels(job, 16);  // 2 x 8: no short last document, so one print job written twice
  ArrangeRows(job, plan, false, false);
  ASSERT_EQ(1u, plan.printJobs.size());
  EXPECT_EQ(2, plan.printJobs[0]->repeat);
  EXPECT_EQ(2, DocumentCount(plan));
  EXPECT_EQ(8, plan.printJobs[0]->header.totalLabels);
  EXPECT_FALSE(NeedsLengthConfirmation(job, plan));

  SetTotalLabels(job, 3);  // within the limit: one document, copies in the header
  SplitCopiesByLength(job, plan);
  ASSERT_EQ(1u, plan.printJobs.size());
  EXPECT_EQ(3, plan.printJobs[0]->header.rows);
  SetTotalLabels(job, 17);  // the main window's change of copies: 8, 8 and 1
  SplitCopiesByLength(job, plan);
  ASSERT_EQ(2u, plan.printJobs.size());
  EXPECT_EQ(3, DocumentCount(plan));
  EXPECT_EQ(2, plan.printJobs[0]->repeat);
  EXPECT_EQ(1, plan.printJobs[1]->header.totalLabels);
  EXPECT_EQ(17, job.formSizeHeader.totalLabels);

  // 99,999,999 copies make 12.5 million documents: the plan holds two print jobs, whatever their number.
  SetTotalLabels(job, 99999999);
  ArrangeRows(job, plan, false, false);
  ASSERT_EQ(2u, plan.printJobs.size());
  EXPECT_EQ(12499999, plan.printJobs[0]->repeat);
  EXPECT_EQ(12500000, DocumentCount(plan));
  EXPECT_EQ(7, plan.printJobs[1]->header.totalLabels);
}

TEST_F(LayoutFixture, LengthConfirmationLowersCopiesOfOneDocument) {
  AddPage({0, 0, 1000, 17716});
  UseOptimised(0, 1);
  PlaceOptimised(job, 0, 0);
  ArrangeRows(job, plan, false, false);
  EXPECT_FALSE(NeedsLengthConfirmation(job, plan));
  SetTotalLabels(job, 10);  // copies raised after the arrangement: one document would be 15000 mm
  EXPECT_TRUE(NeedsLengthConfirmation(job, plan));
  EXPECT_EQ(8, job.optimisedHeader.totalLabels);
  EXPECT_EQ(8, job.formSizeHeader.totalLabels);
  EXPECT_FALSE(NeedsLengthConfirmation(job, plan));

  job.optimisedHeader.length = 1417323;  // 120000.02 mm: a single label beyond the limit
  EXPECT_TRUE(NeedsLengthConfirmation(job, plan));
  job.optimisedHeader.length = 1417322;
  job.optimisedHeader.width = 1417323;
  EXPECT_TRUE(NeedsLengthConfirmation(job, plan));
}

TEST_F(LayoutFixture, TapeCutSetsOfThreeForFiveCopies) {
  Load(jb::Header(400, 300, "1,0,1,0") + Ink() + jb::PageEnd(5, 1) + jb::Trailer());
  EXPECT_EQ(0, ExpandPageCopies(job));
  job.headerInForce = &job.formSizeHeader;
  SetLabelGap(job, 20);
  PlaceFormSize(job);
  SetTapeCutSets(job, true, 3);
  EXPECT_EQ(2 - 5, BuildCutSetPages(job));
  ASSERT_EQ(3u, job.pages.size());
  EXPECT_EQ(2, job.pages[2]->copyIndex);
  EXPECT_EQ(2, job.formSizeHeader.totalLabels);  // 2 sets of 3: 6 labels for 5 copies
  EXPECT_EQ(3, job.layout.copiesPlaced);
  EXPECT_EQ(0, BuildCutSetPages(job));  // already one set of pages

  ArrangeRows(job, plan, false, false);
  // Two across (W 400, gap 20), the set's third label alone in a centred row: h = (820 - 400) / 2.
  EXPECT_EQ(0, job.pages[0]->offsetX);
  EXPECT_EQ(420, job.pages[1]->offsetX);
  EXPECT_EQ(210, job.pages[2]->offsetX);
  EXPECT_EQ(320, job.pages[2]->offsetY);
  ASSERT_EQ(1u, plan.tapeCutSets.size());
  EXPECT_EQ(720, plan.tapeCutSets[0]->positionY);  // 100 below the last row
  EXPECT_EQ(0, plan.tapeCutSets[0]->printJobIndex);
  const CCustomQzplHeader& h = plan.printJobs[0]->header;
  EXPECT_EQ(800, h.length);  // next set would start 200 below the row, less the row gap
  EXPECT_EQ(820, h.width);
  EXPECT_EQ(2, h.rows);  // the set repeats down the tape, one across
  EXPECT_EQ(1, h.columns);

  EXPECT_EQ(5 - 2, CollapseCutSetPages(job));
  ASSERT_EQ(1u, job.pages.size());
  EXPECT_EQ(5, job.formSizeHeader.totalLabels);
  EXPECT_EQ(1, job.layout.copiesPlaced);
  SetTapeCutSets(job, false, 3);
  ArrangeRows(job, plan, false, false);
  EXPECT_TRUE(plan.tapeCutSets.empty());
  EXPECT_EQ(400, plan.printJobs[0]->header.width);
  EXPECT_EQ(2, plan.printJobs[0]->header.columns);
  EXPECT_EQ(3, plan.printJobs[0]->header.rows);
}

TEST_F(LayoutFixture, TapeCutSetsAcrossSeveralPages) {
  for (int i = 0; i < 5; ++i) AddPage({0, 0, 1000, 100});
  UseOptimised(10);
  PlaceOptimised(job, 0, 0);
  SetTapeCutSets(job, true, 2);
  ArrangeRows(job, plan, false, false);
  // Sets of 2 one across: marks after pages 1 and 3, none after the last (one copy of the layout).
  ASSERT_EQ(2u, plan.tapeCutSets.size());
  EXPECT_EQ(110 + 100 + 100, plan.tapeCutSets[0]->positionY);
  EXPECT_EQ(0, job.pages[1]->offsetY - 110);
  EXPECT_EQ(410, job.pages[2]->offsetY);  // 200 below the end of the set
  EXPECT_EQ(520, job.pages[3]->offsetY);
  EXPECT_EQ(520 + 100 + 100, plan.tapeCutSets[1]->positionY);
  EXPECT_EQ(820, job.pages[4]->offsetY);
  EXPECT_EQ(920, job.optimisedHeader.length);
}

TEST_F(LayoutFixture, CopyPagesFollowTheirMasterAndShareItsOutline) {
  Load(jb::Header(400, 300, "1,0,1,0") +
       jb::Field(0, "Black", 10, 10, jb::Bitmap::FromPredicate(16, 4, [](int, int) { return true; })) +
       jb::PageEnd(3, 1) +
       jb::Field(0, "Black", 20, 20, jb::Bitmap::FromPredicate(8, 2, [](int, int) { return true; })) +
       jb::PageEnd(2, 2) + jb::Trailer());
  EXPECT_EQ(3, ExpandPageCopies(job));
  ASSERT_EQ(5u, job.pages.size());
  EXPECT_EQ(2, job.layout.pageCountAtLoad);
  const int index[5] = {0, 1, 2, 0, 1};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(index[i], job.pages[static_cast<std::size_t>(i)]->copyIndex) << i;
  EXPECT_EQ(job.pages[0]->graphicFields, job.pages[2]->graphicFields);

  PlaceOptimised(job, 12, 12);
  EXPECT_TRUE(AddOutlines(job, 40, false));
  CRoundedRect* master = FindOutline(*job.pages[0]);
  ASSERT_NE(nullptr, master);
  EXPECT_EQ(master, FindOutline(*job.pages[1]));
  EXPECT_EQ(master, FindOutline(*job.pages[2]));
  EXPECT_NE(master, FindOutline(*job.pages[3]));
  EXPECT_EQ(FindOutline(*job.pages[3]), FindOutline(*job.pages[4]));
  // Never a second outline.
  EXPECT_FALSE(AddOutlines(job, 40, true));
  for (const CQzplPage* page : job.pages) EXPECT_EQ(1u, page->cutObjects.size());

  std::int64_t most = -1;
  // The first page's print rectangle is 40 x 28 (at most 56 quarter dots), the second's 32 x 26 (at most 52).
  EXPECT_FALSE(SetOutlineRadius(job, 54, &most));
  EXPECT_EQ(52, most);
  EXPECT_EQ(40, FindOutline(*job.pages[3])->radius);
  EXPECT_EQ(54, master->radius);
  EXPECT_DOUBLE_EQ(job.pages[0]->cutTravel, job.pages[2]->cutTravel);
  job.pages[0]->printRect = {0, 0, 100, 100};
  EXPECT_TRUE(FitOutlines(job));
}

TEST_F(LayoutFixture, OutlinesRespectOwnCuts) {
  const std::string path = jb::RectPath(40, 40, 400, 400);
  Load(jb::Header(400, 300, "1,0,1,0") + path + jb::PageEnd(1, 1) + jb::Trailer());
  ASSERT_TRUE(HasCutObjects(*job.pages[0]));
  PlaceFormSize(job);
  EXPECT_FALSE(AddOutlines(job, 24, false));
  EXPECT_EQ(nullptr, FindOutline(*job.pages[0]));
  EXPECT_TRUE(AddOutlines(job, 24, true));
  EXPECT_NE(nullptr, FindOutline(*job.pages[0]));
}

TEST_F(LayoutFixture, EmptyJobAndOddCopiesStayDefined) {
  UseOptimised(20);
  ArrangeRows(job, plan, true, true);
  EXPECT_TRUE(plan.printJobs.empty());
  EXPECT_EQ(0, SideMarginLimit(job) - (1217 / 2 - 2));
  Load(jb::Header(400, 300, "1,0,1,0") + Ink() + jb::PageEnd(0, 1) + jb::Trailer());
  ExpandPageCopies(job);  // no copies means one label
  EXPECT_EQ(1, job.optimisedHeader.totalLabels);
  EXPECT_EQ(1, job.layout.singlePageCopies);
}

}  // namespace
}  // namespace vyx

namespace vyx {
namespace {

TEST_F(LayoutFixture, RefreshedHeadersKeepOrTakeTheCopiesArrangement) {
  for (int i = 0; i < 5; ++i) AddPage({0, 0, 1000, 10000});
  UseOptimised(0, 1);
  PlaceOptimised(job, 0, 0);
  ArrangeRows(job, plan, false, false);
  ASSERT_EQ(3u, plan.printJobs.size());
  plan.printJobs[1]->header.rows = 4;
  job.optimisedHeader.darknessOverride = 9;
  job.optimisedHeader.totalLabels = 2;
  job.optimisedHeader.rows = 2;
  RefreshPrintJobHeaders(job, plan, false);
  EXPECT_EQ(9, plan.printJobs[1]->header.darknessOverride);
  EXPECT_EQ(4, plan.printJobs[1]->header.rows);  // its own arrangement kept
  EXPECT_EQ(20000, plan.printJobs[1]->header.length);
  EXPECT_EQ(-20000, plan.printJobs[1]->header.homeY);
  EXPECT_EQ(0u, job.layout.printJobsRibbonMask);
  RefreshPrintJobHeaders(job, plan, true);
  EXPECT_EQ(2, plan.printJobs[1]->header.rows);
  EXPECT_EQ(2, plan.printJobs[2]->header.totalLabels);
  EXPECT_EQ(10000, plan.printJobs[2]->header.length);
  EXPECT_EQ(1000, LayoutWidth(plan.printJobs[0]->header) / plan.printJobs[0]->header.columns);
}

}  // namespace
}  // namespace vyx

namespace vyx {
namespace {

TEST_F(LayoutFixture, OutlinesOnManyCopyPagesFindTheirMasterAsTheyGo) {
  // A master followed by 200,000 copies: walking back to the master from every copy page would take hours.
  CQzplPage& master = AddPage(CDotRect{0, 0, 100, 50});
  master.printRect = {0, 0, 100, 50};
  constexpr int kCopies = 200000;
  for (int k = 1; k <= kCopies; ++k) job.pages.push_back(master.MakeCopy(k));
  EXPECT_TRUE(AddOutlines(job, 40, false));
  CRoundedRect* outline = FindOutline(master);
  ASSERT_NE(nullptr, outline);
  EXPECT_EQ(outline, FindOutline(*job.pages[1]));
  EXPECT_EQ(outline, FindOutline(*job.pages.back()));
  EXPECT_TRUE(RemoveOutlines(job));
  EXPECT_EQ(nullptr, FindOutline(*job.pages.back()));
  EXPECT_EQ(nullptr, FindOutline(master));
}

TEST_F(LayoutFixture, PageCopiesAreBounded) {
  Load(jb::Header(400, 300, "1,0,1,0") + Ink() + jb::PageEnd(40000, 1) + Ink() + jb::PageEnd(-3, 2) + jb::Trailer());
  EXPECT_EQ(kMaxPageCopies - 1, ExpandPageCopies(job));
  ASSERT_EQ(static_cast<std::size_t>(kMaxPageCopies) + 1, job.pages.size());
  EXPECT_EQ(0, job.pages.back()->copyIndex);  // the second master, without copies of its own
  Load(jb::Header(400, 300, "1,0,1,0") + Ink() + jb::PageEnd(2000000000, 1) + jb::Trailer());
  ExpandPageCopies(job);
  EXPECT_EQ(kMaxLabelCopies, job.optimisedHeader.totalLabels);
}

}  // namespace
}  // namespace vyx
