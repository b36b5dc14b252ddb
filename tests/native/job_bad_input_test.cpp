// Truncated and hostile job streams: every case has a defined result and nothing reads outside the buffer
// (the native tests run under AddressSanitizer).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/job.h"
#include "manager/output/writer.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

// Parses the text, runs both page steps and writes and draws every field: the whole life of a job.
int Exercise(CQzplJobData& job, const std::string& text) {
  job.SetText(text.data(), text.size());
  const int pages = job.ParseJob();
  job.KnockOutOverlaps(0);
  job.MergeSameRibbonFields();
  CMemoryChannel out;
  CRasterCanvas dc(32, 32);
  for (CQzplPage* p : job.pages) {
    for (CGraphicField* f : p->graphicFields) {
      f->Write(out);
      f->Draw(dc, 0, 0, CDotRect{0, 0, 32, 32}, 0, 0, 0, 0, 0);
    }
  }
  return pages;
}

const std::string kHeader = "^XA\r\n^PW400\r\n";

TEST(BadInput, BytesPerRowZeroGivesAFieldWithoutRows) {
  CQzplJobData job;
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^FO5,5\r\n^GFA,4,4,0,FFFFFFFF\r\n^XPG1,1\r\n^XZ\r\n"));
  const CGraphicField& f = *job.pages[0]->graphicFields[0];
  EXPECT_EQ(0, f.RowCount());
  EXPECT_EQ(0, f.pixelCount);
  EXPECT_FALSE(f.HasInk());
  EXPECT_EQ(-1, f.PixelAt(5, 5));
  EXPECT_EQ((CDotRect{5, 5, 5, 5}), f.extent);
}

TEST(BadInput, NegativeCountsGiveNoRows) {
  CQzplJobData job;
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^FO-5,-7\r\n^GFA,-4,-4,2,FFFF\r\n^RR1,K\r\n^GFA,4,4,-2,FFFF\r\n"
                                       "^XPG1,1\r\n^XZ\r\n"));
  for (const CGraphicField* f : job.pages[0]->graphicFields) {
    EXPECT_EQ(0, f->RowCount());
    EXPECT_EQ(0, f->pixelCount);
  }
  EXPECT_EQ(-5, job.pages[0]->graphicFields[0]->extent.left);
  // Negative origins are ordinary coordinates.
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^FO-5,-7\r\n^GFA,1,1,1,80\r\n^XPG1,1\r\n^XZ\r\n"));
  EXPECT_EQ((CDotRect{-5, -7, -4, -6}), job.pages[0]->contentBounds);
}

TEST(BadInput, ACountPastTheEndOfTheBufferIsCutThere) {
  CQzplJobData job;
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^FO0,0\r\n^GFA,90000000,90000000,10,FFFF\r\n^XPG1,1\r\n^XZ\r\n"));
  const CGraphicField& f = *job.pages[0]->graphicFields[0];
  EXPECT_EQ(job.TextEnd(), f.dataEnd);
  // The following lines are read as data, as the field's declared size says; nothing past the buffer.
  EXPECT_GT(f.pixelCount, 16);
  EXPECT_EQ(-1, f.PixelAt(0, 100));
}

TEST(BadInput, ABinaryCountLargerThanTheRestSwallowsTheStream) {
  CQzplJobData job;
  const std::string text =
      kHeader + "^RR1,K\r\n^XPG1,1\r\n^RR2,R\r\n^FO0,0\r\n^GFB,99999,2,1,\xff\xff\r\n^XPG1,2\r\n^XZ\r\n";
  // Page 1 ends normally; no ^XPG or ^XZ can be found behind the runaway payload, so the job ends there.
  ASSERT_EQ(1, Exercise(job, text));
  EXPECT_EQ(0, job.trailer.textLength);
  // A negative byte count skips nothing.
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^FO0,0\r\n^GFB,-3,2,1,\xff\xff\r\n^XPG1,1\r\n^XZ\r\n"));
  EXPECT_EQ(16, job.pages[0]->graphicFields[0]->pixelCount);
}

TEST(BadInput, MissingPageAndEndLines) {
  CQzplJobData job;
  EXPECT_EQ(0, Exercise(job, kHeader + "^RR1,K\r\n^FO0,0\r\n^GFA,1,1,1,80\r\n"));  // neither: empty job
  EXPECT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^XPG1,1\r\n"));                  // no ^XZ: the page counts
  EXPECT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^XZ\r\n"));                      // no ^XPG: an empty page
  EXPECT_TRUE(job.pages[0]->graphicFields.empty());
  EXPECT_EQ(0, Exercise(job, kHeader));                                       // header only
  EXPECT_EQ(0, Exercise(job, ""));                                            // nothing
  EXPECT_EQ(0, Exercise(job, "^RR1"));                                        // a bare line
  EXPECT_EQ(0, Exercise(job, kHeader + "^RR1,K\r\n^FO0,0\r\n^GFA,1,1,1,8"));  // cut inside the data
  EXPECT_EQ(1, Exercise(job, "^XA\r\n^RR1,K\r\n^XPG"));                       // cut after ^XPG
  EXPECT_EQ(1, job.pages[0]->copies);
}

TEST(BadInput, ZeroBytesInsideTheTextStopTheSearches) {
  CQzplJobData job;
  std::string text = kHeader + "^RR1,K\r\n^FO0,0\r\n^GFA,2,2,1,F0F0\r\n";
  text += '\0';
  text += "^XPG1,1\r\n^XZ\r\n";
  EXPECT_EQ(0, Exercise(job, text));
}

TEST(BadInput, ColumnsZeroOrNegativeAreOneColumnAndNumbersAreClamped) {
  CQzplJobData job;
  Exercise(job, "^XA\r\n^PW400\r\n^PQ2,0,0,30\r\n^RR1\r\n^XPG1,1\r\n^XZ\r\n");
  EXPECT_EQ(0, job.parsedHeader.totalLabels);
  EXPECT_EQ(1217, job.optimisedHeader.columnPitch);
  Exercise(job, "^XA\r\n^PW-1217\r\n^PQ2,0,-3,-30\r\n^RR1\r\n^XPG1,1\r\n^XZ\r\n");
  EXPECT_EQ(-6, job.parsedHeader.totalLabels);
  EXPECT_EQ(1217, job.formSizeHeader.columnPitch);
  EXPECT_EQ(1, job.parsedHeader.labelsAcross);
  Exercise(job, "^XA\r\n^PW99999999999999\r\n^PQ99999999999,0,99999999999,0\r\n^RR1\r\n^XPG1,1\r\n^XZ\r\n");
  EXPECT_EQ(INT32_MAX, job.parsedHeader.width);
  EXPECT_EQ(INT32_MAX, job.parsedHeader.totalLabels);  // the product saturates
  EXPECT_EQ(1, job.parsedHeader.labelsAcross);
}

TEST(BadInput, NegativeCopiesAndRibbonIndicesAreTakenAsRead) {
  CQzplJobData job;
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR-1,K\r\n^FO0,0\r\n^GFA,1,1,1,80\r\n^XPG-4,1\r\n^XZ\r\n"));
  EXPECT_EQ(-4, job.pages[0]->copies);
  EXPECT_EQ(0xFFFFFFFFu, job.pages[0]->graphicFields[0]->ribbonIndex);
  EXPECT_EQ(1u << 31, job.pages[0]->ribbonMask);
}

TEST(BadInput, ExtentsBeyond32BitDotsFailTheField) {
  CQzplJobData job;
  ASSERT_EQ(1, Exercise(job, kHeader + "^RR1,K\r\n^FO2147483600,2147483600\r\n^GFA,1000,1000,100,FF\r\n^XPG1,1\r\n"
                                       "^XZ\r\n"));
  const CGraphicField& f = *job.pages[0]->graphicFields[0];
  EXPECT_EQ(0, f.pixelCount);
  EXPECT_EQ(nullptr, f.textEnd);
  CMemoryChannel out;
  EXPECT_FALSE(const_cast<CGraphicField&>(f).Write(out));
}

TEST(BadInput, HugeMergedBitmapsAreNotBuilt) {
  // Two one-pixel fields whose declared extents are large enough to pass the mergeable test while the union
  // of their ink boxes would need more than the allowed bitmap.
  CQzplJobData job;
  const std::string text = kHeader + "^RR1,K\r\n^FO0,0\r\n^GFB,1,4000000,2000,\x80\r\n" +
                           "^RR1,K\r\n^FO3000,3000\r\n^GFB,1,4000000,2000,\x80\r\n^XPG1,1\r\n^XZ\r\n";
  {
    const CSyntheticGraphicField::CMaxBitmapBytesScope bound(1 << 20);
    ASSERT_EQ(1, Exercise(job, text));
    EXPECT_EQ(2u, job.pages[0]->graphicFields.size());
  }
  // With room for it, the same pair merges. (Their declared rows run on into the following text, which is read
  // as bitmap data like any field that declares more than it carries.)
  job.SetText(text.data(), text.size());
  ASSERT_EQ(1, job.ParseJob());
  const std::int64_t both = job.pages[0]->graphicFields[0]->pixelCount + job.pages[0]->graphicFields[1]->pixelCount;
  EXPECT_EQ(1, job.MergeSameRibbonFields());
  ASSERT_EQ(1u, job.pages[0]->graphicFields.size());
  EXPECT_EQ(both, job.pages[0]->graphicFields[0]->pixelCount);
}

TEST(BadInput, DeclaredDataRunsOverTheFollowingTextOnlyUpToTheNextField) {
  // Every field declares far more hexadecimal data than it carries. Each reads the lines after it (page end line
  // included) as data, but never the text of the next field, on its page or the next one; the last field of the
  // job reads on to the end of the buffer.
  std::string text = kHeader;
  for (int page = 1; page <= 2; ++page) {
    for (int k = 0; k < 3; ++k) text += "^RR" + std::to_string(k % 2) + ",K\r\n^FO0,0\r\n^GFA,99999,99999,10,F\r\n";
    text += "^XPG1," + std::to_string(page) + "\r\n";
  }
  text += "^XZ\r\n";
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(2, job.ParseJob());
  std::vector<const CGraphicField*> fields;
  for (const CQzplPage* p : job.pages)
    for (const CGraphicField* f : p->graphicFields) fields.push_back(f);
  ASSERT_EQ(6u, fields.size());
  for (std::size_t i = 0; i + 1 < fields.size(); ++i) EXPECT_EQ(fields[i + 1]->textStart, fields[i]->dataEnd) << i;
  EXPECT_EQ(job.TextEnd(), fields.back()->dataEnd);
  // Its own 'F', and for the last field of a page the digits of "^XPG1,1" or "^XPG1,2" (one pixel each).
  for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(i % 3 == 2 ? 6 : 4, fields[i]->pixelCount) << i;
  Exercise(job, text);  // and the page steps on such fields
}

// Two fields of one ribbon, one pixel each, whose declared extents let them merge across (x, x) dots.
std::string FarApartPair(int x) {
  return "^RR1,K\r\n^FO0,0\r\n^GFB,1,2000000000,1,\x80\r\n^RR1,K\r\n^FO" + std::to_string(x) + "," + std::to_string(x) +
         "\r\n^GFB,1,2000000000,1,\x80\r\n";
}

TEST(BadInput, BitmapsBuiltForAJobStayWithinAnAllowanceForItsSize) {
  // A few hundred bytes whose fields would merge into bitmaps of 6 MB per page, and a page whose merge alone
  // would take 18 MB: the job's allowance (16 MiB plus four bytes per byte of text) takes two of the small ones;
  // the rest stay unmerged, and the writer writes such fields as they are instead of merging them.
  std::string text = kHeader;
  for (int page = 1; page <= 4; ++page) text += FarApartPair(7000) + "^XPG1," + std::to_string(page) + "\r\n";
  text += FarApartPair(12000) + "^XPG1,5\r\n^XZ\r\n";
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(5, job.ParseJob());
  EXPECT_EQ(CBitmapBudget::kAllowance + 4 * text.size(), job.bitmapBudget.Limit());
  EXPECT_EQ(2, job.MergeSameRibbonFields());
  std::vector<std::size_t> fields;
  for (const CQzplPage* p : job.pages) fields.push_back(p->graphicFields.size());
  EXPECT_EQ((std::vector<std::size_t>{1, 1, 2, 2, 2}), fields);
  EXPECT_LE(job.bitmapBudget.Used(), job.bitmapBudget.Limit());
  EXPECT_GT(job.bitmapBudget.Used(), 12000000u);
  CQzplPage& last = *job.pages.back();
  last.changeCounter = 1;  // as after a colour consolidation: the writer merges each ribbon into one field
  CMemoryChannel out;
  bool lineFlag = false;
  EXPECT_TRUE(WriteRibbonFields(last, out, 1, lineFlag));
  EXPECT_LT(out.Bytes().size(), 200u);
  EXPECT_EQ(2, std::count(out.Bytes().begin(), out.Bytes().end(), '\x80'));
  // Deleting the pages gives the memory back.
  job.ClearPages();
  EXPECT_EQ(0u, job.bitmapBudget.Used());
}

}  // namespace
}  // namespace vyx
