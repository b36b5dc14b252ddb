// The job stream case: reader, header, pages, bitmap fields, writing, drawing and the page steps.
#include "fuzz/targets/job_target.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/job.h"

namespace vyx::fuzz {

namespace {

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "job_target: invariant broken at line %d: %s\n", line, what);
  std::abort();
}

#define JOB_CHECK(cond)                 \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

bool Inside(const char* p, const char* lo, const char* hi) {
  return p != nullptr && p >= lo && p <= hi;
}

void CheckField(const CGraphicField& f, const char* buf, const char* limit) {
  JOB_CHECK(IsGraphicFieldType(f.GetType()));
  JOB_CHECK(f.pixelCount >= 0);
  if (f.GetType() == kTypeGraphicField) {
    JOB_CHECK(Inside(f.textStart, buf, limit));
    if (f.textEnd != nullptr) {
      JOB_CHECK(Inside(f.textEnd, f.textStart, limit));
      JOB_CHECK(f.textLength == f.textEnd - f.textStart);
    }
    if (f.data != nullptr) {
      JOB_CHECK(Inside(f.data, buf, limit));
      JOB_CHECK(Inside(f.dataEnd, f.data, limit));
    }
  }
  if (f.HasInk()) {
    JOB_CHECK(!f.inkBox.IsEmpty());
    JOB_CHECK(f.inkBox.left >= f.extent.left && f.inkBox.right <= f.extent.right);
    JOB_CHECK(f.inkBox.top >= f.extent.top && f.inkBox.bottom <= f.extent.bottom);
  }
}

// Set pixels inside the ink box, when that is small enough to walk.
std::int64_t Recount(const CGraphicField& f) {
  if (!f.HasInk() || f.inkBox.Area() > (1 << 12)) return -1;
  std::int64_t n = 0;
  for (std::int64_t y = f.inkBox.top; y < f.inkBox.bottom; ++y)
    for (std::int64_t x = f.inkBox.left; x < f.inkBox.right; ++x) n += f.PixelAt(x, y) == 1;
  return n;
}

void CheckJob(CQzplJobData& job, bool fresh) {
  const char* buf = job.Text();
  const char* limit = job.TextEnd();
  if (buf == nullptr) {
    JOB_CHECK(job.pages.empty());
    return;
  }
  JOB_CHECK(Inside(job.parsedHeader.textStart, buf, limit));
  JOB_CHECK(Inside(job.parsedHeader.textEnd, job.parsedHeader.textStart, limit));
  const char* last = job.parsedHeader.textEnd;
  for (const CQzplPage* page : job.pages) {
    JOB_CHECK(page->GetType() == kTypeQzplPage);
    JOB_CHECK(page->textStart == last);
    JOB_CHECK(Inside(page->textEnd, page->textStart, limit));
    std::uint32_t mask = 0;
    CDotRect bounds{};
    for (const CGraphicField* f : page->graphicFields) {
      CheckField(*f, buf, limit);
      mask |= 1u << (f->ribbonIndex % 32);
      if (f->HasInk()) bounds = UnionRect(bounds, f->inkBox);
      if (fresh && f->GetType() == kTypeGraphicField && f->HasInk()) {
        const std::int64_t n = Recount(*f);
        if (n >= 0) JOB_CHECK(n == f->pixelCount);
      }
    }
    if (fresh) {
      JOB_CHECK(mask == page->ribbonMask);
      // The cut objects accepted on the page widen the content bounds too.
      for (const CGraphicObj* c : page->cutObjects) {
        JOB_CHECK(IsCutObjType(c->GetType()));
        if (!c->inkBox.HasUnsetBound()) bounds = UnionRect(bounds, c->inkBox);
      }
      JOB_CHECK(bounds == page->contentBounds);
    }
    last = page->textEnd > page->textStart ? page->textEnd : last;
  }
  JOB_CHECK(Inside(job.trailer.textStart, buf, limit));
  JOB_CHECK(job.trailer.textEnd <= limit);
}

void WriteAndDraw(CQzplJobData& job) {
  CMemoryChannel out;
  JOB_CHECK(job.parsedHeader.Write(out));
  CRasterCanvas dc(48, 48);
  dc.SelectPen(MakeRgb(0, 0, 0), 1);
  for (CQzplPage* page : job.pages) {
    for (CGraphicField* f : page->graphicFields) {
      CGraphicField::WriteRibbonSelect(out, f->ribbonIndex, f->ribbonName);
      const bool ok = f->Write(out);
      if (f->textEnd == nullptr) JOB_CHECK(!ok);
      // Drawing walks every pixel of the ink box: keep it to boxes that a label preview would show.
      if (f->HasInk() && f->inkBox.Area() <= (1 << 16)) {
        // Place the ink box's corner near the canvas so some pixels land on it.
        const int x = static_cast<int>(-static_cast<std::int64_t>(f->inkBox.left) / 2);
        const int y = static_cast<int>(-static_cast<std::int64_t>(f->inkBox.top) / 2);
        f->Draw(dc, x, y, CDotRect{0, 0, 48, 48}, 1, 1, -1, 2, MakeRgb(200, 0, 0));
        f->Draw(dc, 0, 0, CDotRect{-10, -10, 30, 30}, 0, 0, 0, 0, MakeRgb(0, 0, 200));
        (void)f->NeighbourCount(f->inkBox.left, f->inkBox.top);
      }
      (void)f->PixelAt(f->extent.left, f->extent.bottom - 1);
    }
    JOB_CHECK(page->Write(out));
  }
  JOB_CHECK(job.trailer.Write(out));
}

}  // namespace

int RunJobCase(const std::uint8_t* data, std::size_t size) {
  const CSyntheticGraphicField::CMaxBitmapBytesScope bound(std::size_t{1} << 20);
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Read through the stream reader in uneven pieces, as a pipe would deliver them.
  CMemoryStreamSource source(bytes);
  source.pattern = {static_cast<std::uint32_t>(1 + size % 7), 65536, static_cast<std::uint32_t>(3 + size % 300)};
  source.messageMode = (size % 3) == 0;
  source.endError = (size % 2) == 0 ? 0u : kErrorBrokenPipe;
  CQzplJobData job;
  const std::int64_t n = job.ReadStream(&source);
  JOB_CHECK(n >= 0 && static_cast<std::size_t>(n) <= size);
  JOB_CHECK(source.closeCount == 1);
  if (n > 0) {
    JOB_CHECK(std::memcmp(job.Text(), bytes.data(), static_cast<std::size_t>(n)) == 0);
    JOB_CHECK(job.Text()[n] == '\0' && job.Text()[n + 1] == '\0');
  } else {
    JOB_CHECK(job.Text() == nullptr);
  }
  // The whole input is the job from here on, whatever the reader stopped at.
  job.SetText(bytes.data(), bytes.size());

  const int pages = job.ParseJob();
  JOB_CHECK(pages == static_cast<int>(job.pages.size()));
  CheckJob(job, true);
  WriteAndDraw(job);

  const std::uint32_t nonPunch = size > 0 ? (1u << (data[size - 1] % 32)) : 0;
  job.KnockOutOverlaps(nonPunch);
  CheckJob(job, false);
  job.MergeSameRibbonFields(size > 1 ? (static_cast<std::int64_t>(data[0]) << (data[1] % 24)) : 50000);
  CheckJob(job, false);
  WriteAndDraw(job);

  // Parse the (possibly knocked-out) text again with a per-page copies table taken from the input.
  job.SetPerPageCopies(data, size < 16 ? size : 16);
  job.ParseJob();
  CheckJob(job, true);
  for (const CQzplPage* page : job.pages) (void)page->copies;
  job.FreePerPageCopies();
  return 0;
}

}  // namespace vyx::fuzz
