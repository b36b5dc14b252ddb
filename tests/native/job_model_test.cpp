// The job container and page model: reading the stream, pages, copies, knock-out and merging.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <unistd.h>

#include "common/seams/progress_sink.h"
#include "manager/model/job.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

using testing::Bitmap;

Bitmap Box(int w, int h) {
  return Bitmap::FromPredicate(w, h, [](int, int) { return true; });
}

class CRecordingProgress : public CProgressSink {
 public:
  void SetRange(int, int) override {}
  void SetPos(int p) override {
    if (p < last) backwards = true;
    last = p;
  }
  void StepIt() override {}
  void SetStep(int) override {}
  int last = 0;
  bool backwards = false;
};

// ---- reading the stream ----

TEST(ReadStream, NullSourceIsAnInvalidHandle) {
  CQzplJobData job;
  EXPECT_EQ(-1, job.ReadStream(nullptr));
}

TEST(ReadStream, StopsWhenAReadEndsExactlyWithTheMarker) {
  CMemoryStreamSource src("^XA\r\n^XZ\r\n" + std::string(100, 'x'));
  src.pattern = {10};
  CQzplJobData job;
  EXPECT_EQ(10, job.ReadStream(&src));
  EXPECT_EQ(1, src.readCount);
  EXPECT_EQ(1, src.closeCount);
  EXPECT_EQ("^XA\r\n^XZ\r\n", std::string(job.Text()));
  EXPECT_EQ('\0', job.Text()[11]);
}

TEST(ReadStream, AMarkerInsideAReadDoesNotStopIt) {
  const std::string text = "^XA\r\n^XZ\r\nmore^XZ\r\n";
  CMemoryStreamSource src(text);
  src.pattern = {12, 3, 100};
  CQzplJobData job;
  EXPECT_EQ(static_cast<std::int64_t>(text.size()), job.ReadStream(&src));
  EXPECT_EQ(3, src.readCount);
  EXPECT_EQ(text, std::string(job.Text(), static_cast<std::size_t>(job.jobLength)));
}

TEST(ReadStream, EndOfDataWithoutMarkerStopsAndErrorsKeepWhatCame) {
  CMemoryStreamSource file("^XA\r\n^RR1\r\n");
  CQzplJobData a;
  EXPECT_EQ(11, a.ReadStream(&file));
  CMemoryStreamSource pipe("^XA\r\n^RR1\r\n");
  pipe.pattern = {4};
  pipe.endError = kErrorBrokenPipe;
  CQzplJobData b;
  EXPECT_EQ(11, b.ReadStream(&pipe));
  EXPECT_EQ(4, pipe.readCount);
  CMemoryStreamSource empty("");
  empty.endError = kErrorBrokenPipe;
  CQzplJobData c;
  EXPECT_EQ(0, c.ReadStream(&empty));
  EXPECT_EQ(nullptr, c.Text());
  EXPECT_EQ(1, empty.closeCount);
}

TEST(ReadStream, MoreDataReadsKeepTheirBytes) {
  std::string text(200000, 'a');
  text += "^XZ\r\n";
  CMemoryStreamSource src(text);
  src.messageMode = true;
  src.pattern = {100000};  // messages larger than one read step
  CQzplJobData job;
  EXPECT_EQ(static_cast<std::int64_t>(text.size()), job.ReadStream(&src));
  EXPECT_EQ(text, std::string(job.Text(), static_cast<std::size_t>(job.jobLength)));
}

TEST(ReadStream, ManyMegabytesArriveWholeAndTheBarApproaches7200000) {
  std::string text;
  for (int i = 0; text.size() < 5'000'000; ++i) text += std::to_string(i) + ",";
  text += "^XZ\r\n";
  CMemoryStreamSource src(text);
  CRecordingProgress bar;
  CQzplJobData job;
  job.progress.sink = &bar;
  EXPECT_EQ(static_cast<std::int64_t>(text.size()), job.ReadStream(&src));
  EXPECT_EQ(0, std::memcmp(text.data(), job.Text(), text.size()));
  EXPECT_FALSE(bar.backwards);
  EXPECT_GT(bar.last, 7000000);
  EXPECT_LE(bar.last, 7200000);
  // Reads of 65536 bytes, one per call.
  EXPECT_EQ(static_cast<int>(text.size() / 65536) + 1, src.readCount);
}

TEST(ReadStream, AFailingReadEndsReadingWithWhatCameBefore) {
  CMemoryStreamSource src("^XA\r\n^RR1,K\r\n^XPG1,1\r\n^XZ\r\n");
  src.pattern = {5};
  src.failAtRead = 3;
  CQzplJobData job;
  EXPECT_EQ(10, job.ReadStream(&src));
  EXPECT_EQ(3, src.readCount);
  EXPECT_EQ(1, src.closeCount);
  EXPECT_EQ("^XA\r\n^RR1,", std::string(job.Text()));
}

TEST(ReadStream, FileDescriptorOfAPipeWithShortWrites) {
  int fds[2];
  ASSERT_EQ(0, pipe(fds));
  std::string text = testing::Header();
  for (int i = 0; i < 3000; ++i) text += "^RR1,K\r\n^FO0,0\r\n^GFA,2,2,1,F00F\r\n";
  text += "^XPG1,1\r\n^XZ\r\n";
  std::thread writer([&] {
    // Odd-sized writes, so reads come back short and end anywhere.
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t n = std::min<std::size_t>(777, text.size() - at);
      const ssize_t w = write(fds[1], text.data() + at, n);
      if (w <= 0) break;
      at += static_cast<std::size_t>(w);
    }
    close(fds[1]);
  });
  CFdStreamSource src(fds[0]);
  CQzplJobData job;
  const std::int64_t n = job.ReadStream(&src);
  writer.join();
  EXPECT_EQ(static_cast<std::int64_t>(text.size()), n);
  EXPECT_EQ(0u, src.lastError);
  EXPECT_EQ(text, std::string(job.Text(), static_cast<std::size_t>(job.jobLength)));
  ASSERT_EQ(1, job.ParseJob());
  EXPECT_EQ(3000u, job.pages[0]->graphicFields.size());
  // A closed descriptor reads as an error.
  CFdStreamSource closed(-1);
  std::uint32_t got = 0;
  char buf[4];
  EXPECT_NE(0u, closed.Read(buf, sizeof buf, got));
}

// ---- parsing ----

std::string TwoPageJob() {
  using namespace testing;
  return Header() + Field(1, "Black", 0, 0, Box(16, 4)) + Field(2, "Red", 8, 2, Box(8, 8)) + PageEnd(3, 1) +
         Field(2, "Red", 100, 100, Box(8, 1)) + RectPath(0, 0, 40, 40) + PageEnd(2, 2) + Trailer() + "tail";
}

TEST(ParseJob, SplitsHeaderPagesAndTrailer) {
  CQzplJobData job;
  const std::string text = TwoPageJob();
  job.SetText(text.data(), text.size());
  CRecordingProgress bar;
  job.progress.sink = &bar;
  ASSERT_EQ(2, job.ParseJob());
  EXPECT_EQ(&job.parsedHeader, job.headerInForce);
  EXPECT_EQ(400, job.parsedHeader.width);
  EXPECT_EQ(job.Text(), job.parsedHeader.textStart);
  EXPECT_EQ(job.parsedHeader.textEnd, job.pages[0]->textStart);
  EXPECT_EQ(job.pages[0]->textEnd, job.pages[1]->textStart);
  EXPECT_EQ(job.pages[1]->textEnd, job.trailer.textStart);
  EXPECT_EQ("^XZ\r\ntail", std::string(job.trailer.textStart, static_cast<std::size_t>(job.trailer.textLength)));
  EXPECT_EQ(job.TextEnd(), job.trailer.textEnd);

  const CQzplPage& p1 = *job.pages[0];
  EXPECT_EQ(kTypeQzplPage, p1.GetType());
  EXPECT_EQ(3, p1.copies);
  EXPECT_EQ(0, p1.copyIndex);
  ASSERT_EQ(2u, p1.graphicFields.size());
  EXPECT_EQ(1u, p1.graphicFields[0]->ribbonIndex);
  EXPECT_EQ(2u, p1.graphicFields[1]->ribbonIndex);
  EXPECT_EQ(0b110u, p1.ribbonMask);
  EXPECT_EQ((CDotRect{0, 0, 16, 10}), p1.contentBounds);
  EXPECT_TRUE(p1.cutObjects.empty());
  const CQzplPage& p2 = *job.pages[1];
  EXPECT_EQ(2, p2.copies);
  ASSERT_EQ(1u, p2.graphicFields.size());
  // The page's pen path became a cut object; both widen the content bounds.
  ASSERT_EQ(1u, p2.cutObjects.size());
  EXPECT_EQ((CDotRect{100, 100, 108, 101}), p2.graphicFields[0]->inkBox);
  EXPECT_EQ(UnionRect(p2.graphicFields[0]->inkBox, p2.cutObjects[0]->inkBox), p2.contentBounds);
  EXPECT_EQ(2, job.layout.pageCountAtLoad);
  EXPECT_EQ(kProgressParsed, bar.last);
  EXPECT_FALSE(bar.backwards);
  // Working headers.
  EXPECT_EQ(kTypeCustomQzplHeader, job.optimisedHeader.GetType());
  EXPECT_EQ(400, job.formSizeHeader.width);
  EXPECT_EQ(1217, job.formSizeHeader.columnPitch);
}

TEST(ParseJob, CopiesComeFromThePageLineOrThePerPageTable) {
  const std::string text = testing::Header() + "^RR1,K\r\n^XPG3,2\r\n^RR1,K\r\n^XPG3\r\n" + testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(2, job.ParseJob());
  EXPECT_EQ(3, job.pages[0]->copies);  // no table: the first value
  EXPECT_EQ(1, job.pages[1]->copies);  // one value only: 1
  const unsigned char one[] = {9, 0};
  job.SetPerPageCopies(one, sizeof one);
  ASSERT_EQ(2, job.ParseJob());
  EXPECT_EQ(3, job.pages[0]->copies);  // page 2 is beyond a table of one entry
  const unsigned char two[] = {9, 0, 5, 0, 0xFF};
  EXPECT_EQ(5, job.SetPerPageCopies(two, sizeof two));
  ASSERT_EQ(2u, job.PerPageCopies().size());
  ASSERT_EQ(2, job.ParseJob());
  EXPECT_EQ(5, job.pages[0]->copies);
  EXPECT_EQ(1, job.pages[1]->copies);
  job.FreePerPageCopies();
  EXPECT_FALSE(job.HasPerPageCopies());
}

TEST(PerPageCopies, TheFileIsReadAsLittleEndianCountsAndDeleted) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "vyx_PerPageCopies_91.dat";
  {
    std::ofstream out(file, std::ios::binary);
    const unsigned char table[] = {4, 0, 0x2C, 0x01, 0xFF, 0xFF};  // 4, 300, -1
    out.write(reinterpret_cast<const char*>(table), sizeof table);
  }
  CQzplJobData job;
  const std::string text = testing::Header() + "^XPG1,1\r\n^XPG1,2\r\n^XPG1,3\r\n" + testing::Trailer();
  job.SetText(text.data(), text.size());
  EXPECT_EQ(6, job.ReadPerPageCopiesFile(file, false));
  EXPECT_TRUE(std::filesystem::exists(file));
  ASSERT_EQ(3u, job.PerPageCopies().size());
  EXPECT_EQ(300, job.PerPageCopies()[1]);
  EXPECT_EQ(-1, job.PerPageCopies()[2]);
  EXPECT_EQ(6, job.ReadPerPageCopiesFile(file));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(-1, job.ReadPerPageCopiesFile(file));
  EXPECT_TRUE(job.HasPerPageCopies());  // a missing file leaves the table loaded before
}

TEST(PerPageCopies, TheFileIsReadNoFurtherThanTwoBytesPerPageLine) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "vyx_PerPageCopies_92.dat";
  {
    std::ofstream out(file, std::ios::binary);
    const std::string table(4 << 20, '\x07');
    out.write(table.data(), static_cast<std::streamsize>(table.size()));
  }
  CQzplJobData job;
  // No job text yet: no page can use an entry. The result is still the file length.
  EXPECT_EQ(4 << 20, job.ReadPerPageCopiesFile(file, false));
  EXPECT_TRUE(job.PerPageCopies().empty());
  // Two page lines, one of them inside a binary payload (not a page line).
  const std::string payload = "^XPG1,1\r\n";
  const std::string text = testing::Header() + "^RR1,K\r\n^FO0,0\r\n^GFB,9,9,1," + payload + "\r\n^XPG1,1\r\n" +
                           "^RR1,K\r\n^XPG1,2\r\n" + testing::Trailer();
  job.SetText(text.data(), text.size());
  EXPECT_EQ(2u, job.CountPageLines());
  EXPECT_EQ(4 << 20, job.ReadPerPageCopiesFile(file));
  EXPECT_FALSE(std::filesystem::exists(file));
  ASSERT_EQ(2u, job.PerPageCopies().size());
  ASSERT_EQ(2, job.ParseJob());
  EXPECT_EQ(0x0707, job.pages[1]->copies);
}

TEST(ParseJob, ANegativeTableEntryIsTakenAsRead) {
  const std::string text = testing::Header() + "^RR1,K\r\n^XPG3,1\r\n" + testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  const unsigned char neg[] = {0xFE, 0xFF};
  job.SetPerPageCopies(neg, sizeof neg);
  ASSERT_EQ(1, job.ParseJob());
  EXPECT_EQ(-2, job.pages[0]->copies);
}

TEST(ParseJob, RibbonLettersInsideABinaryPayloadAreNotFields) {
  std::string payload = "^RR9,X\r\n^XPG1,1\r\n^XZ\r\n";
  payload.resize(24, '\x01');
  Bitmap bm;
  bm.bytesPerRow = 4;
  bm.rows = 6;
  bm.bytes = payload;
  const std::string text =
      testing::Header() + testing::Field(1, "K", 0, 0, bm, 'B') + testing::PageEnd(1, 1) + testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(1, job.ParseJob());
  ASSERT_EQ(1u, job.pages[0]->graphicFields.size());
  EXPECT_EQ(1u, job.pages[0]->graphicFields[0]->ribbonIndex);
  EXPECT_EQ(0b10u, job.pages[0]->ribbonMask);
  EXPECT_EQ("^XZ\r\n", std::string(job.trailer.textStart));
}

TEST(ParseJob, APageWithoutPageLineBeforeTheEndIsEmpty) {
  const std::string text = testing::Header() + "^RR1,K\r\n^XPG1,1\r\n^RR2,R\r\n^FO0,0\r\n" + testing::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(2, job.ParseJob());
  EXPECT_TRUE(job.pages[1]->graphicFields.empty());
  EXPECT_EQ(0, job.pages[1]->textLength);
  EXPECT_EQ("^XZ\r\n", std::string(job.trailer.textStart));
}

TEST(ParseJob, NeitherPageLineNorEndGivesAnEmptyJob) {
  const std::string text = testing::Header() + "^RR1,K\r\n^FO0,0\r\n^GFA,1,1,1,80\r\n";
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  EXPECT_EQ(0, job.ParseJob());
  EXPECT_EQ(0, job.trailer.textLength);
  // Without the final ^XZ the last page still counts.
  const std::string noEnd = testing::Header() + "^RR1,K\r\n^XPG1,1\r\n";
  job.SetText(noEnd.data(), noEnd.size());
  EXPECT_EQ(1, job.ParseJob());
}

TEST(ParseJob, EmptyAndHeaderOnlyJobs) {
  CQzplJobData job;
  EXPECT_EQ(0, job.ParseJob());
  // A page is parsed before the end is tested: a header and ^XZ are one empty page.
  const std::string text = "^XA\r\n^PW400\r\n^XZ\r\n";
  job.SetText(text.data(), text.size());
  ASSERT_EQ(1, job.ParseJob());
  EXPECT_EQ(0, job.pages[0]->textLength);
  EXPECT_TRUE(job.pages[0]->graphicFields.empty());
  EXPECT_EQ("^XZ\r\n", std::string(job.trailer.textStart));
}

TEST(Pages, CopyPagesShareTheObjectsAndDeleteNothing) {
  CQzplJobData job;
  const std::string text = TwoPageJob();
  job.SetText(text.data(), text.size());
  ASSERT_EQ(2, job.ParseJob());
  CQzplPage* master = job.pages[0];
  master->offsetWritten = 1;
  CQzplPage* copy = master->MakeCopy(1);
  job.pages.insert(job.pages.begin() + 1, copy);
  EXPECT_EQ(1, copy->copyIndex);
  EXPECT_EQ(0, copy->singlePage);
  EXPECT_EQ(0, master->singlePage);
  EXPECT_EQ(1, copy->offsetWritten);
  EXPECT_EQ(master->graphicFields, copy->graphicFields);
  EXPECT_EQ(master->textStart, copy->textStart);
  job.ClearPages();  // must not free the fields twice (ASan)
  EXPECT_TRUE(job.pages.empty());
}

// ---- page steps ----

TEST(PageSteps, KnockOutPunchesUnlessTheUpperColourIsNonPunch) {
  using namespace testing;
  const std::string text = Header() + Field(1, "White", 0, 0, Box(16, 4)) + Field(2, "Red", 8, 0, Box(16, 2)) +
                           Field(1, "White", 40, 40, Box(8, 1)) + PageEnd(1, 1) + Trailer();
  for (std::uint32_t mask : {0u, 1u << 2}) {
    CQzplJobData job;
    job.SetText(text.data(), text.size());
    ASSERT_EQ(1, job.ParseJob());
    const std::int64_t cleared = job.KnockOutOverlaps(mask);
    CGraphicField& white = *job.pages[0]->graphicFields[0];
    if (mask == 0) {
      EXPECT_EQ(16, cleared);  // x 8..15, y 0..1
      EXPECT_EQ(64 - 16, white.pixelCount);
      EXPECT_EQ(0, white.PixelAt(8, 0));
      EXPECT_EQ(1, white.PixelAt(8, 2));
      EXPECT_EQ(1, white.PixelAt(7, 0));
    } else {
      EXPECT_EQ(0, cleared);
      EXPECT_EQ(64, white.pixelCount);
    }
    EXPECT_EQ(32, job.pages[0]->graphicFields[1]->pixelCount);  // the later field keeps its pixels
  }
}

TEST(PageSteps, MergingPassJoinsNearbyFieldsOfOneRibbon) {
  using namespace testing;
  const std::string text = Header() + Field(1, "K", 0, 0, Box(8, 2)) + Field(2, "R", 0, 0, Box(8, 2)) +
                           Field(1, "K", 16, 0, Box(8, 2)) + Field(1, "K", 0, 8, Box(8, 2)) +
                           Field(1, "K", 5000, 5000, Box(8, 1)) + PageEnd(1, 1) + Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(1, job.ParseJob());
  CRecordingProgress bar;
  job.progress.sink = &bar;
  EXPECT_EQ(2, job.MergeSameRibbonFields());
  const auto& f = job.pages[0]->graphicFields;
  // [K0, R, K1, K2, far K]: K1 merges with K0 (the synthetic field lands after R), then K2 with it.
  ASSERT_EQ(3u, f.size());
  EXPECT_EQ(kTypeGraphicField, f[0]->GetType());
  EXPECT_EQ(2u, f[0]->ribbonIndex);
  EXPECT_EQ(kTypeSyntheticGraphicField, f[1]->GetType());
  EXPECT_EQ(kTypeGraphicField, f[2]->GetType());  // too far away
  EXPECT_EQ(48, f[1]->pixelCount);
  EXPECT_EQ((CDotRect{0, 0, 24, 10}), f[1]->inkBox);
  auto* syn = static_cast<CSyntheticGraphicField*>(f[1]);
  EXPECT_EQ(3u, syn->sources.size());  // the intermediate synthetic field handed its sources over
  EXPECT_EQ(kProgressMerged, bar.last);
  EXPECT_FALSE(bar.backwards);
}

TEST(PageSteps, AFieldWithoutPixelsMergesWithANeighbourOfItsRibbon) {
  using namespace testing;
  const Bitmap blank = Bitmap::FromPredicate(8, 2, [](int, int) { return false; });
  const std::string text = Header() + Field(1, "K", 0, 0, Box(8, 2)) + Field(1, "K", 8, 0, blank) +
                           Field(1, "K", 200, 0, blank) + PageEnd(1, 1) + Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(1, job.ParseJob());
  const auto& f = job.pages[0]->graphicFields;
  // Only the union of two ink boxes must not be empty: two blank fields never merge, a blank one with ink does.
  EXPECT_FALSE(IsMergeable(*f[1], *f[2]));
  EXPECT_EQ(2, job.MergeSameRibbonFields());
  ASSERT_EQ(1u, f.size());
  EXPECT_EQ((CDotRect{0, 0, 8, 2}), f[0]->inkBox);
  EXPECT_EQ(f[0]->inkBox, f[0]->extent);
  EXPECT_EQ(16, f[0]->pixelCount);
  EXPECT_EQ(3u, static_cast<CSyntheticGraphicField*>(f[0])->sources.size());
}

TEST(PageSteps, FieldsOfDifferentFormatsStayUnmerged) {
  using namespace testing;
  const std::string text =
      Header() + Field(1, "K", 0, 0, Box(8, 2), 'A') + Field(1, "K", 8, 0, Box(8, 2), 'B') + PageEnd(1, 1) + Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_EQ(1, job.ParseJob());
  EXPECT_EQ(0, job.MergeSameRibbonFields());
  EXPECT_EQ(2u, job.pages[0]->graphicFields.size());
}

}  // namespace
}  // namespace vyx
