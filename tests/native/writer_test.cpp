// The printer command writer, byte for byte: sections in recipe order, page offsets, ribbon select lines, the
// running merge, cut data with its re-optimised order, tape cut marks, the trailer and the channel's failures.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/seams/output_channel.h"
#include "manager/model/cut_order.h"
#include "manager/model/cut_path.h"
#include "manager/model/header_writer.h"
#include "manager/model/job.h"
#include "manager/model/page.h"
#include "manager/output/writer.h"

namespace vyx {
namespace {

const std::string kHeader = "^XA\r\n^PW400\r\n^LL200\r\n^LH0,0\r\n^PQ1,0,1,0\r\n^RSR1\r\n^SD15\r\n";
const std::string kBlack1 = "^FO10,10\r\n^GFA,2,2,1,FF81\r\n";
const std::string kRed1 = "^FO30,10\r\n^GFA,2,2,1,C3C3\r\n";
const std::string kBlack2 = "^FO50,60\r\n^GFA,2,2,1,1818\r\n";
const std::string kTrailer = "^XZ\r\n~JS after the end\r\n";

std::string Page(const std::string& black, const std::string& red, int number) {
  std::string page = "^RR0,Black\r\n" + black;
  if (!red.empty()) page += "^RR3,Red\r\n" + red;
  return page + "^XPG1," + std::to_string(number) + "\r\n";
}

struct WriterFixture : ::testing::Test {
  CQzplJobData job;
  CQzplPrintPlan plan;
  CMemoryChannel out;
  std::vector<std::unique_ptr<std::string>> cutTexts;

  void Load(const std::string& text) {
    job.SetText(text.data(), text.size());
    ASSERT_GT(job.ParseJob(), 0);
  }
  CQzplPrintJob& AddPrintJob(int first, int last) {
    auto pj = std::make_unique<CQzplPrintJob>();
    pj->firstPage = first;
    pj->lastPage = last;
    pj->header.InitFrom(job.parsedHeader);
    for (int p = first; p <= last; ++p) pj->ribbonMask |= job.pages[static_cast<std::size_t>(p)]->ribbonMask;
    plan.printJobs.push_back(std::move(pj));
    return *plan.printJobs.back();
  }
  // The standard recipe for ribbons Black (0) and Red (3).
  void StandardRecipe() {
    AddWriteCommand(plan, kCmdHeader, 0, nullptr, false);
    AddWriteCommand(plan, kCmdRibbonSelect, 0, "Black", true).ribbonMask = 1u << 0;
    AddWriteCommand(plan, kCmdRibbonFields, 0, nullptr, false);
    AddWriteCommand(plan, kCmdRibbonSelect, 3, "Red", true).ribbonMask = 1u << 3;
    AddWriteCommand(plan, kCmdRibbonFields, 3, nullptr, false);
    AddWriteCommand(plan, kCmdCutData, 0, nullptr, false);
    AddWriteCommand(plan, kCmdTapeCutMarks, 0, nullptr, false);
    AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false);
  }
  // A square cut path (quarter dots) accepted into the page's cut order.
  std::string AddSquareCut(CQzplPage& page, int x, int y, int size) {
    const std::string text = "^RPU\r\n^RPD\r\n^RPM" + std::to_string(x) + "," + std::to_string(y) + "\r\n^RPM" +
                             std::to_string(x + size) + "," + std::to_string(y) + "\r\n^RPM" +
                             std::to_string(x + size) + "," + std::to_string(y + size) + "\r\n^RPM" +
                             std::to_string(x) + "," + std::to_string(y + size) + "\r\n^RPM" + std::to_string(x) + "," +
                             std::to_string(y) + "\r\n^RPU\r\n";
    cutTexts.push_back(std::make_unique<std::string>(text + "^XPG\r\n"));
    auto* cut = new CCutObj();
    char* start = cutTexts.back()->data();
    cut->Parse(start, start + cutTexts.back()->size());
    EXPECT_TRUE(AcceptCut(page, cut));
    return std::string(cut->textStart, cut->textEnd);
  }
};

TEST_F(WriterFixture, OnePageTwoRibbonsWritesTheOffsetOncePerDocument) {
  Load(kHeader + Page(kBlack1, kRed1, 1) + kTrailer);
  job.pages[0]->offsetX = 5;
  job.pages[0]->offsetY = -7;
  AddPrintJob(0, 0);
  StandardRecipe();
  ASSERT_TRUE(Print(job, plan, out, -1));
  EXPECT_EQ(kHeader + "^RR0,Black\r\n^PO5,-7\r\n" + kBlack1 + "^RR3,Red\r\n" + kRed1 + kTrailer, out.Bytes());
  EXPECT_EQ((std::vector<unsigned>{0}), out.Documents());
  EXPECT_EQ(0, out.OpenDocuments());
}

TEST_F(WriterFixture, ARepeatedPrintJobIsWrittenAsThatManyDocuments) {
  Load(kHeader + Page(kBlack1, kRed1, 1) + kTrailer);
  AddPrintJob(0, 0).repeat = 3;
  AddPrintJob(0, 0).header.length = 150;  // the last document: a shorter label
  StandardRecipe();
  ASSERT_TRUE(Print(job, plan, out, -1));
  EXPECT_EQ(4, DocumentCount(plan));
  EXPECT_EQ((std::vector<unsigned>{0, 1, 2, 3}), out.Documents());
  const std::string one = kHeader + "^RR0,Black\r\n^PO0,0\r\n" + kBlack1 + "^RR3,Red\r\n" + kRed1 + kTrailer;
  EXPECT_EQ(one + one + one, out.Bytes().substr(0, 3 * one.size()));
  EXPECT_NE(std::string::npos, out.Bytes().find("^LL150\r\n", 3 * one.size()));
}

TEST_F(WriterFixture, TwoPagesWriteTheOffsetPerPageInEveryPassAndBeforeEachPagesCuts) {
  Load(kHeader + Page(kBlack1, kRed1, 1) + Page(kBlack2, "", 2) + kTrailer);
  job.pages[1]->offsetY = 300;
  const std::string cut = AddSquareCut(*job.pages[1], 400, 1200, 400);
  AddPrintJob(0, 1);
  StandardRecipe();
  ASSERT_TRUE(Print(job, plan, out, 22));
  const std::string header = FormatCustomHeader(plan.printJobs[0]->header, 22);
  EXPECT_NE(std::string::npos, header.find("^SD22\r\n"));
  EXPECT_EQ(header + "^RR0,Black\r\n^PO0,0\r\n" + kBlack1 + "^PO0,300\r\n" + kBlack2 + "^RR3,Red\r\n^PO0,0\r\n" +
                kRed1 + "^PO0,300\r\n" + cut + kTrailer,
            out.Bytes());
}

TEST_F(WriterFixture, NoRibbonSelectLineWhenThePrintJobHasNoneOfItsRibbons) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  AddPrintJob(0, 0);
  StandardRecipe();
  ASSERT_TRUE(Print(job, plan, out, -1));
  EXPECT_EQ(std::string::npos, out.Bytes().find("^RR3"));
  EXPECT_EQ(kHeader + "^RR0,Black\r\n^PO0,0\r\n" + kBlack1 + kTrailer, out.Bytes());
}

TEST_F(WriterFixture, FieldSectionWritesItsOwnSelectLineFromTheFieldsName) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  AddPrintJob(0, 0);
  AddWriteCommand(plan, kCmdRibbonFields, 0, nullptr, true);
  ASSERT_TRUE(Print(job, plan, out, -1));
  EXPECT_EQ("^RR0,Black\r\n^PO0,0\r\n" + kBlack1, out.Bytes());
}

TEST_F(WriterFixture, LaminatedDocumentEndsTheLaminationBeforeCutDataEvenWithoutCuts) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  AddPrintJob(0, 0).header.laminate = 1;
  AddWriteCommand(plan, kCmdCutData, 0, nullptr, false);
  ASSERT_TRUE(Print(job, plan, out, -1));
  EXPECT_EQ("^RLE\r\n", out.Bytes());
}

TEST_F(WriterFixture, ChangedPageWritesEachRibbonAsOneMergedField) {
  Load(kHeader + Page(kBlack1, kRed1, 1) + "^XZ\r\n");
  // A second black field on the same page, and a consolidation that changed the page.
  CQzplJobData second;
  const std::string text = kHeader + "^RR0,Black\r\n" + kBlack1 + "^RR0,Black\r\n" + kBlack2 + "^XPG1,1\r\n^XZ\r\n";
  second.SetText(text.data(), text.size());
  ASSERT_EQ(1, second.ParseJob());
  CQzplPage& page = *second.pages[0];
  ASSERT_EQ(2u, page.graphicFields.size());
  page.changeCounter = 1;
  bool lineFlag = false;
  ASSERT_TRUE(WriteRibbonFields(page, out, 0, lineFlag));
  const std::string& bytes = out.Bytes();
  EXPECT_EQ(0u, bytes.find("^PO0,0\r\n^FO10,10\r\n^GF"));  // one field from the union's corner
  EXPECT_EQ(bytes.find("^GF"), bytes.rfind("^GF"));
  EXPECT_EQ(2u, page.graphicFields.size());  // the page's own fields stay
  EXPECT_EQ(0, page.mergeCounter);
  EXPECT_EQ(nullptr, page.currentMerged);
}

TEST_F(WriterFixture, TapeCutMarksOfTheDocumentFromLastToFirst) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  AddPrintJob(0, 0);
  AddPrintJob(0, 0);
  plan.tapeCutSets.push_back(std::make_unique<CTapeCutSet>(100, 0));
  plan.tapeCutSets.push_back(std::make_unique<CTapeCutSet>(200, 1));
  plan.tapeCutSets.push_back(std::make_unique<CTapeCutSet>(300, 0));
  AddWriteCommand(plan, kCmdTapeCutMarks, 0, nullptr, false);
  ASSERT_TRUE(Print(job, plan, out, -1));
  EXPECT_EQ("^RTC300\r\n^RTC100\r\n^RTC200\r\n", out.Bytes());
  EXPECT_EQ((std::vector<unsigned>{0, 1}), out.Documents());
  plan.tapeCutSets[1].reset();
  CMemoryChannel again;
  EXPECT_FALSE(Print(job, plan, again, -1));  // an empty entry fails the section
}

TEST_F(WriterFixture, InvalidPageRangeFailsItsSectionsButNotTheDocument) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  AddPrintJob(0, 0).lastPage = 4;
  AddWriteCommand(plan, kCmdRibbonFields, 0, nullptr, false);
  AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false);
  EXPECT_FALSE(Print(job, plan, out, -1));
  EXPECT_EQ(kTrailer, out.Bytes());
}

TEST_F(WriterFixture, OptimalCutOrderIsKeptAndRefusedCutsAreNotLost) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  CQzplPage& page = *job.pages[0];
  AddSquareCut(page, 400, 400, 400);
  AddSquareCut(page, 4000, 400, 400);
  const std::vector<CGraphicObj*> before = page.cutObjects;
  const double travel = page.cutTravel;
  ASSERT_TRUE(WriteCutData(page, out));
  EXPECT_EQ(before, page.cutObjects);
  EXPECT_DOUBLE_EQ(travel, page.cutTravel);
  EXPECT_EQ(0u, out.Bytes().find("^PO0,0\r\n^RPU"));
}

TEST_F(WriterFixture, PageWithoutCutsWritesNoOffsetForCutData) {
  Load(kHeader + Page(kBlack1, "", 1) + kTrailer);
  EXPECT_TRUE(WriteCutData(*job.pages[0], out));
  EXPECT_TRUE(out.Bytes().empty());
}

// A channel that fails on request.
struct CFailingChannel : CMemoryChannel {
  bool failStart = false, failEnd = false;
  std::size_t shortWriteAt = 0;  // the n-th write (1-based) reports failure
  std::size_t writes = 0;
  bool StartDocument(unsigned n) override { return !failStart && CMemoryChannel::StartDocument(n); }
  bool EndDocument() override { return CMemoryChannel::EndDocument() && !failEnd; }
  bool Write(const void* d, std::size_t s) override { return CMemoryChannel::Write(d, s) && ++writes != shortWriteAt; }
};

TEST_F(WriterFixture, ChannelFailuresEndThePrintOrOnlyItsResult) {
  Load(kHeader + Page(kBlack1, kRed1, 1) + kTrailer);
  AddPrintJob(0, 0);
  AddPrintJob(0, 0);
  StandardRecipe();

  CFailingChannel noStart;
  noStart.failStart = true;
  EXPECT_FALSE(Print(job, plan, noStart, -1));
  EXPECT_TRUE(noStart.Bytes().empty());

  CFailingChannel shortWrite;
  shortWrite.shortWriteAt = 2;
  EXPECT_FALSE(Print(job, plan, shortWrite, -1));
  EXPECT_EQ(2u, shortWrite.Documents().size());  // both documents are still completed
  EXPECT_EQ(0, shortWrite.OpenDocuments());

  CFailingChannel noEnd;
  noEnd.failEnd = true;
  EXPECT_FALSE(Print(job, plan, noEnd, -1));
  EXPECT_EQ(1u, noEnd.Documents().size());  // the second document is never started
}

// Records where every write's bytes come from.
struct CSourceChannel : CMemoryChannel {
  std::vector<const char*> starts;
  bool Write(const void* d, std::size_t s) override {
    starts.push_back(static_cast<const char*>(d));
    return CMemoryChannel::Write(d, s);
  }
};

TEST_F(WriterFixture, UnchangedFieldsAndTrailerAreWrittenStraightFromTheJobBuffer) {
  Load(kHeader + Page(kBlack1, kRed1, 1) + kTrailer);
  AddPrintJob(0, 0);
  AddWriteCommand(plan, kCmdRibbonFields, 0, nullptr, false);
  AddWriteCommand(plan, kCmdRibbonFields, 3, nullptr, false);
  AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false);
  CSourceChannel channel;
  ASSERT_TRUE(Print(job, plan, channel, -1));
  ASSERT_EQ(4u, channel.starts.size());  // offset line, two fields, trailer: one write each
  for (std::size_t i = 1; i < channel.starts.size(); ++i) {
    EXPECT_GE(channel.starts[i], job.Text());
    EXPECT_LT(channel.starts[i], job.TextEnd());
  }
}

TEST(WriterPlan, CommandNamesAreCutAndCopyPositionsGoRowByRow) {
  CQzplPrintPlan plan;
  const std::string longName(40, 'x');
  CWriteCmd& cmd = AddWriteCommand(plan, kCmdRibbonSelect, 2, longName.c_str(), true);
  EXPECT_EQ(31u, std::string(cmd.ribbonName).size());
  EXPECT_EQ(0, AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false).ribbonName[0]);

  CQzplHeader h;
  h.width = 100;
  h.length = 50;
  h.rows = 2;
  h.columns = 3;
  h.rowGap = 10;
  h.columnGap = 5;
  MakeCopyPositions(plan, h);
  ASSERT_EQ(6u, plan.copies.size());
  EXPECT_EQ(210, plan.copies[2].x);
  EXPECT_EQ(0, plan.copies[2].y);
  EXPECT_EQ(0, plan.copies[3].x);
  EXPECT_EQ(60, plan.copies[3].y);
}

}  // namespace
}  // namespace vyx
