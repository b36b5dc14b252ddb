// The BarTender job case: shape routing, cut order, outline operations, writing and drawing of cut objects.
#include "fuzz/targets/btw_job_target.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/cut_collection.h"
#include "manager/model/cut_order.h"
#include "manager/model/job.h"

namespace vyx::fuzz {

namespace {

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "btw_job_target: invariant broken at line %d: %s\n", line, what);
  std::abort();
}

#define BTW_CHECK(cond)                 \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

bool Covers(const CDotRect& outer, const CDotRect& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

// Travel of the order as it stands, from the origin.
double TourLength(const CQzplPage& page) {
  double travel = 0;
  CQuarterPoint prev{0, 0};
  for (const CGraphicObj* c : page.cutObjects) {
    const CQuarterPoint next = CutStartOf(*c);
    travel += std::hypot(static_cast<double>(next.x) - prev.x, static_cast<double>(next.y) - prev.y);
    prev = next;
  }
  return travel;
}

void CheckCuts(const CQzplPage& page, bool checkBounds) {
  for (const CGraphicObj* c : page.cutObjects) {
    const int type = c->GetType();
    BTW_CHECK(IsCutObjType(type));
    BTW_CHECK(SpannedArea(c->inkBox) >= 2);
    if (checkBounds) BTW_CHECK(Covers(page.contentBounds, c->inkBox));
    if (type == kTypeBarTenderRect) {
      const auto* rect = static_cast<const CBarTenderRect*>(c);
      BTW_CHECK(rect->IsComplete());
      BTW_CHECK(rect->Pieces().size() == 4 || rect->Pieces().size() == 8);
    } else if (type == kTypeBarTenderEllipsis) {
      const auto* ellipse = static_cast<const CBarTenderEllipsis*>(c);
      BTW_CHECK(ellipse->Arcs().size() == 4);
      BTW_CHECK(ellipse->closed == 1 && ellipse->textStart != nullptr);
      BTW_CHECK(static_cast<std::size_t>(ellipse->textLength) <= ellipse->Capacity());
    } else if (type == kTypeFragmentedShape) {
      BTW_CHECK(static_cast<const CFragmentedShape*>(c)->closed == 1);
    }
  }
  // Every insertion cost is the growth of the tour, or the default cost below it.
  const double tour = TourLength(page);
  BTW_CHECK(page.cutTravel >= 0);
  BTW_CHECK(page.cutTravel <= tour + 1e-6 * (1 + tour));
  if (tour < kNoInsertionCost) BTW_CHECK(std::fabs(page.cutTravel - tour) <= 1e-6 * (1 + tour));
}

void WriteAndDraw(CQzplPage& page) {
  CRasterCanvas dc(32, 32);
  for (CGraphicObj* c : page.cutObjects) {
    CMemoryChannel out;
    const bool ok = c->Write(out);
    const int type = c->GetType();
    if (type == kTypeRoundedRect || type == kTypeBarTenderRect) {
      BTW_CHECK(ok);
      BTW_CHECK(out.Bytes().rfind("^RPU\r\n") == out.Bytes().size() - 6);
    }
    const int x = static_cast<int>(-static_cast<std::int64_t>(c->inkBox.left) / 2);
    const int y = static_cast<int>(-static_cast<std::int64_t>(c->inkBox.top) / 2);
    c->Draw(dc, x, y, CDotRect{0, 0, 32, 32}, 1, -1, 2, 0, MakeRgb(0, 0, 0));
  }
}

// The order rebuilt from its last object to its first, as the writer does before cutting.
void Reinsert(CQzplPage& page) {
  std::vector<CGraphicObj*> old;
  old.swap(page.cutObjects);
  for (auto it = old.rbegin(); it != old.rend(); ++it) BTW_CHECK(InsertCut(page, *it) >= 0);
  BTW_CHECK(page.cutObjects.size() == old.size());
  RecomputeTravel(page);
  BTW_CHECK(std::fabs(page.cutTravel - TourLength(page)) <= 1e-6 * (1 + page.cutTravel));
}

std::int32_t Int32At(const std::uint8_t* data, std::size_t size, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | (at + i < size ? data[at + i] : 0u);
  return static_cast<std::int32_t>(v);
}

void Outlines(CQzplPage& page, const std::uint8_t* data, std::size_t size) {
  const std::int32_t a = Int32At(data, size, 1), b = Int32At(data, size, 5);
  // Print rectangles up to 2^27 dots wide; radii up to 2^23 quarter dots keep the generated outline bounded.
  page.printRect = {a % 2000, b % 2000, a % 2000 + (b >> 4), b % 2000 + (a >> 4)};
  const std::int32_t radius = Int32At(data, size, 9) >> (8 + size % 24);
  const std::size_t before = page.cutObjects.size();
  const bool hadOutline = FindOutline(page) != nullptr;
  const bool added = AddOutline(page, radius, (size & 2) != 0);
  BTW_CHECK(!(added && hadOutline));
  BTW_CHECK(page.cutObjects.size() == before + (added ? 1 : 0));
  const bool forced = AddOutline(page, radius, true);
  BTW_CHECK(!(forced && (added || hadOutline)));
  std::int64_t maximum = 0;
  const bool set = SetOutlineRadius(page, radius / 2 + 1, &maximum);
  if (!set && FindOutline(page) != nullptr && radius / 2 + 1 > MaxOutlineRadius(page)) {
    BTW_CHECK(maximum == MaxOutlineRadius(page));
  }
  page.printRect.right = page.printRect.left + (page.printRect.right - page.printRect.left) / 2 + 2;
  BTW_CHECK(FitOutline(page) == (FindOutline(page) != nullptr));
  CheckCuts(page, false);
  WriteAndDraw(page);
  const bool removed = RemoveOutline(page);
  BTW_CHECK(removed == (added || forced || hadOutline));
  CheckCuts(page, false);
}

}  // namespace

int RunBtwJobCase(const std::uint8_t* data, std::size_t size) {
  const CSyntheticGraphicField::CMaxBitmapBytesScope bound(std::size_t{1} << 22);
  const bool barTender = size == 0 || (data[0] & 1) == 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  CQzplJobData job;
  job.jobTag = barTender ? "42_btw" : "42_abc";
  job.SetText(bytes.data(), bytes.size());
  job.ParseJob();
  for (CQzplPage* page : job.pages) {
    CheckCuts(*page, true);
    WriteAndDraw(*page);
  }

  // The whole text as one page's paths, whatever the page structure: every path reaches the routing.
  if (job.Text() != nullptr) {
    CQzplPage page;
    CCutCollectOptions options;
    options.barTender = barTender;
    options.progress = &job.progress;
    CollectPageCuts(page, job.Text(), job.TextEnd(), options);
    CheckCuts(page, true);
    WriteAndDraw(page);
    Reinsert(page);
    CheckCuts(page, false);
    Outlines(page, data, size);
  }
  return 0;
}

}  // namespace vyx::fuzz
