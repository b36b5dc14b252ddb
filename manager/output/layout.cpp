// The job layout operations. Integer divisions truncate toward zero; sums are taken in 64 bits and stored back
// clamped, so that no header or page value can overflow whatever the stream says.
#include "manager/output/layout.h"

#include <algorithm>

#include "manager/model/cut_order.h"
#include "manager/model/page.h"

namespace vyx {

namespace {

std::int32_t Clamp32(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

double ToMm(std::int64_t dots) {
  return static_cast<double>(dots) * kMmPerDot;
}

std::int32_t PageCount(const CQzplJobData& job) {
  return Clamp32(static_cast<std::int64_t>(job.pages.size()));
}

CQzplHeader& HeaderInForce(CQzplJobData& job) {
  return job.headerInForce ? *job.headerInForce : job.parsedHeader;
}

// Add outline on one page. A copy page that matches its master (the nearest master page before it: copy pages
// follow their master) shares the master's outline: the same rules decide, and the same insertion places it.
bool AddPageOutline(CQzplPage& page, CQzplPage* master, std::int32_t radius, bool evenIfCut) {
  if (page.IsMaster()) return AddOutline(page, radius, evenIfCut);
  CRoundedRect* shared = master ? FindOutline(*master) : nullptr;
  if (!shared || shared->radius != radius || shared->inkBox != page.printRect)
    return AddOutline(page, radius, evenIfCut);
  if (FindOutline(page) != nullptr) return false;
  if (!evenIfCut && HasCutObjects(page)) return false;
  const double cost = InsertCut(page, shared);
  if (cost < 0) return false;
  page.cutTravel += cost;
  return true;
}

// The working header the print jobs copy: a custom header when one is in force, else one made from the parsed one.
CCustomQzplHeader CustomCopyOfHeaderInForce(const CQzplJobData& job) {
  if (job.headerInForce == &job.optimisedHeader) return job.optimisedHeader;
  if (job.headerInForce == &job.formSizeHeader) return job.formSizeHeader;
  CCustomQzplHeader copy;
  copy.InitFrom(job.headerInForce ? *job.headerInForce : job.parsedHeader);
  return copy;
}

// The print job's own header: length from its top, home lowered by its top (each document is a label of its own).
void TakeHeaderCopy(const CQzplJobData& job, CQzplPrintJob& pj) {
  pj.header = CustomCopyOfHeaderInForce(job);
  pj.header.length = Clamp32(static_cast<std::int64_t>(pj.length) - pj.top);
  pj.header.homeY = Clamp32(static_cast<std::int64_t>(pj.header.homeY) - pj.top);
}

std::uint32_t PagesRibbonMask(const CQzplJobData& job, const CQzplPrintJob& pj) {
  std::uint32_t mask = 0;
  for (std::int64_t p = pj.firstPage; p <= pj.lastPage; ++p) {
    if (p < 0 || static_cast<std::size_t>(p) >= job.pages.size() || !job.pages[static_cast<std::size_t>(p)]) continue;
    mask |= job.pages[static_cast<std::size_t>(p)]->ribbonMask;
  }
  return mask;
}

bool SamePages(const CQzplPrintJob& a, const CQzplPrintJob& b) {
  return a.firstPage == b.firstPage && a.lastPage == b.lastPage;
}

// The most copies (1 to b) whose layout stays within the copies length limit. The layout length never shrinks
// as copies grow, so the largest fitting count is the one a count-down from b stops at.
std::int32_t CopiesWithinLengthLimit(const CQzplHeader& header, std::int32_t b) {
  CQzplHeader probe = header;
  auto fits = [&probe](std::int32_t m) {
    ApplyTotalLabels(probe, m);
    return ToMm(LayoutLength(probe)) <= kCopiesLengthLimitMm;
  };
  if (b <= 1 || fits(b)) return std::max(b, 1);
  std::int32_t lo = 1, hi = b;  // hi never fits; lo fits or is the floor
  while (hi - lo > 1) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    if (fits(mid))
      lo = mid;
    else
      hi = mid;
  }
  return lo;
}

// Splitting copies by length and the print jobs' header copies (the end of the row arrangement). `reuse` keeps
// print jobs that repeat the first one's pages instead of expecting exactly one print job.
void FinishPrintJobs(CQzplJobData& job, CQzplPrintPlan& plan, bool reuse) {
  CQzplHeader& hdr = HeaderInForce(job);
  const std::int32_t b = hdr.totalLabels;
  std::int32_t m = b;
  std::size_t documents = plan.printJobs.size();
  bool allSame = !plan.printJobs.empty() && plan.printJobs[0];
  for (const auto& pj : plan.printJobs) allSame = allSame && pj && SamePages(*pj, *plan.printJobs[0]);
  const bool splittable = reuse ? allSame : plan.printJobs.size() == 1 && plan.printJobs[0];
  std::int64_t lastLabels = m;  // labels in the last document
  if (splittable && b >= 2) {
    m = CopiesWithinLengthLimit(hdr, b);
    documents = static_cast<std::size_t>((static_cast<std::int64_t>(b) + m - 1) / m);
    lastLabels = b - static_cast<std::int64_t>(documents - 1) * m;
    // Every document but a shorter last one is the same: one print job repeated stands for all of them, so the
    // plan stays small however many copies there are.
    const bool shortLast = lastLabels != m;
    plan.printJobs.resize(shortLast ? 2 : 1);
    plan.printJobs[0]->repeat = static_cast<std::int64_t>(documents) - (shortLast ? 1 : 0);
    if (shortLast) {
      const CQzplPrintJob& first = *plan.printJobs[0];
      if (!plan.printJobs[1]) plan.printJobs[1] = std::make_unique<CQzplPrintJob>();
      CQzplPrintJob& pj = *plan.printJobs[1];
      pj.firstPage = first.firstPage;
      pj.lastPage = first.lastPage;
      pj.firstRow = first.firstRow;
      pj.lastRow = first.lastRow;
      pj.top = first.top;
      pj.length = first.length;
      pj.repeat = 1;
    }
  } else {
    if (splittable) plan.printJobs.resize(1);
    for (auto& pj : plan.printJobs)
      if (pj) pj->repeat = 1;
  }
  if (m != b) ApplyTotalLabels(hdr, m);
  job.layout.printJobsRibbonMask = 0;
  for (auto& pj : plan.printJobs) {
    if (!pj) continue;
    TakeHeaderCopy(job, *pj);
    pj->ribbonMask = PagesRibbonMask(job, *pj);
    job.layout.printJobsRibbonMask |= pj->ribbonMask;
  }
  if (m != b) {
    if (lastLabels != m && plan.printJobs.back()) ApplyTotalLabels(plan.printJobs.back()->header, Clamp32(lastLabels));
    ApplyTotalLabels(hdr, b);
  }
}

}  // namespace

void ApplyTotalLabels(CQzplHeader& header, std::int32_t n) {
  header.totalLabels = n;
  header.ComputeLabelsAcross();
  const std::int32_t across = header.labelsAcross;
  if (across < n) {
    header.columns = across;
    header.rows = Clamp32((static_cast<std::int64_t>(n) + across - 1) / across);
    header.lastRowPartial = n % across != 0 ? 1 : 0;
  } else {
    header.rows = 1;
    header.columns = n;
    header.lastRowPartial = 0;
  }
}

int ExpandPageCopies(CQzplJobData& job) {
  job.layout.pageCountAtLoad = PageCount(job);
  if (job.pages.size() == 1) {
    CQzplPage& page = *job.pages[0];
    const std::int32_t copies = std::clamp(page.copies, 1, kMaxLabelCopies);
    SetTotalLabels(job, copies);
    page.copies = 1;
    job.layout.singlePageCopies = copies;
    job.layout.copiesPlaced = 1;
    return 0;
  }
  int added = 0;
  for (std::size_t i = job.pages.size(); i-- > 0;) {
    CQzplPage* page = job.pages[i];
    if (!page || !page->IsMaster()) continue;
    const std::int32_t copies = std::min(page->copies, kMaxPageCopies);
    if (copies < 2) continue;
    std::vector<CQzplPage*> made;
    made.reserve(static_cast<std::size_t>(copies - 1));
    for (std::int32_t k = 1; k < copies; ++k) made.push_back(page->MakeCopy(k));
    job.pages.insert(job.pages.begin() + static_cast<std::ptrdiff_t>(i) + 1, made.begin(), made.end());
    added += copies - 1;
  }
  return added;
}

void SetTotalLabels(CQzplJobData& job, std::int32_t n) {
  ApplyTotalLabels(job.optimisedHeader, n);
  ApplyTotalLabels(job.formSizeHeader, n);
  if (job.headerInForce && job.headerInForce != &job.optimisedHeader && job.headerInForce != &job.formSizeHeader)
    ApplyTotalLabels(*job.headerInForce, n);
}

void SetLabelGap(CQzplJobData& job, std::int32_t gap) {
  for (CCustomQzplHeader* h : {&job.optimisedHeader, &job.formSizeHeader}) {
    h->rowGap = gap;
    h->columnGap = gap;
    ApplyTotalLabels(*h, h->totalLabels);
  }
}

void PlaceFormSize(CQzplJobData& job) {
  const CQzplHeader& parsed = job.parsedHeader;
  const std::int32_t x = PlacedHome(parsed.homeX);
  const std::int32_t y = PlacedHome(parsed.homeY);
  const CDotRect rect{x, y, Clamp32(static_cast<std::int64_t>(x) + parsed.width),
                      Clamp32(static_cast<std::int64_t>(y) + parsed.length)};
  for (CQzplPage* page : job.pages)
    if (page) page->printRect = rect;
  CLayoutResults& r = job.layout;
  const bool any = !job.pages.empty();
  r.widestExtent = any ? parsed.width : 0;
  r.widestSide = x;
  r.tallestExtent = any ? parsed.length : 0;
  r.tallestSide = y;
}

void PlaceOptimised(CQzplJobData& job, std::int32_t marginX, std::int32_t marginY) {
  CLayoutResults& r = job.layout;
  r.widestExtent = 0;
  r.widestSide = 0;
  r.tallestExtent = 0;
  r.tallestSide = 0;
  r.smallestWidth = 10000000;
  r.smallestHeight = 10000000;
  for (CQzplPage* page : job.pages) {
    if (!page) continue;
    const CDotRect& c = page->contentBounds;
    CDotRect& p = page->printRect;
    p.left = Clamp32(static_cast<std::int64_t>(c.left) - marginX);
    p.right = Clamp32(static_cast<std::int64_t>(c.right) + marginX);
    p.top = Clamp32(static_cast<std::int64_t>(c.top) - marginY);
    p.bottom = Clamp32(static_cast<std::int64_t>(c.bottom) + marginY);
    const std::int32_t w = Clamp32(p.Width());
    const std::int32_t h = Clamp32(p.Height());
    if (w > r.widestExtent) {
      r.widestExtent = w;
      r.widestSide = p.left;
    }
    if (h > r.tallestExtent) {
      r.tallestExtent = h;
      r.tallestSide = p.top;
    }
    r.smallestWidth = std::min(r.smallestWidth, w);
    r.smallestHeight = std::min(r.smallestHeight, h);
  }
}

void CentreOnLargest(CQzplJobData& job) {
  const std::int64_t w = job.layout.widestExtent;
  const std::int64_t h = job.layout.tallestExtent;
  for (CQzplPage* page : job.pages) {
    if (!page) continue;
    const CDotRect& c = page->contentBounds;
    CDotRect& p = page->printRect;
    p.left = Clamp32((static_cast<std::int64_t>(c.left) + c.right - w + 1) / 2);
    p.right = Clamp32(static_cast<std::int64_t>(p.left) + w);
    p.top = Clamp32((static_cast<std::int64_t>(c.top) + c.bottom - h + 1) / 2);
    p.bottom = Clamp32(static_cast<std::int64_t>(p.top) + h);
  }
}

namespace {

// Largest content width, and the largest content width or height, over all pages (pages without content count 0).
std::int64_t LargestContentWidth(const CQzplJobData& job) {
  std::int64_t most = 0;
  for (const CQzplPage* page : job.pages)
    if (page && !page->contentBounds.IsEmpty()) most = std::max(most, page->contentBounds.Width());
  return most;
}

std::int64_t LargestContentSide(const CQzplJobData& job) {
  std::int64_t most = 0;
  for (const CQzplPage* page : job.pages) {
    if (!page || page->contentBounds.IsEmpty()) continue;
    most = std::max({most, page->contentBounds.Width(), page->contentBounds.Height()});
  }
  return most;
}

}  // namespace

std::int32_t SideMarginLimit(const CQzplJobData& job) {
  return Clamp32((kTapeWidthDots - LargestContentWidth(job)) / 2 - 2);
}

std::int32_t AutomaticMargin(const CQzplJobData& job) {
  // 1 to 5 mm in dots, by the label's largest side.
  const double s = ToMm(LargestContentSide(job));
  double margin = 59.55511811023622;
  if (s <= 10)
    margin = 12.311023622047244;
  else if (s <= 30)
    margin = 24.12204724409449;
  else if (s <= 50)
    margin = 35.93307086614173;
  else if (s <= 70)
    margin = 47.74409448818898;
  return static_cast<std::int32_t>(margin);
}

bool AddOutlines(CQzplJobData& job, std::int32_t radius, bool evenIfCut) {
  bool all = true;
  CQzplPage* master = nullptr;  // the nearest master page so far
  for (CQzplPage* page : job.pages) {
    if (!page) continue;
    if (page->IsMaster()) master = page;
    all = AddPageOutline(*page, master, radius, evenIfCut) && all;
  }
  return all;
}

bool SetOutlineRadius(CQzplJobData& job, std::int32_t radius, std::int64_t* maximum) {
  bool all = true;
  for (CQzplPage* page : job.pages) {
    if (!page) continue;
    const bool ok = SetOutlineRadius(*page, radius, maximum);
    // A shared outline was already changed through its master, so this page's travel is refreshed here.
    if (ok && !page->IsMaster()) RecomputeTravel(*page);
    all = ok && all;
  }
  return all;
}

bool FitOutlines(CQzplJobData& job) {
  bool all = true;
  for (CQzplPage* page : job.pages)
    if (page) all = FitOutline(*page) && all;
  return all;
}

bool RemoveOutlines(CQzplJobData& job) {
  bool any = false;
  CQzplPage* master = nullptr;  // the nearest master page so far
  for (CQzplPage* page : job.pages) {
    if (!page) continue;
    if (page->IsMaster()) {
      master = page;
      continue;
    }
    CRoundedRect* outline = FindOutline(*page);
    if (!outline) continue;
    const bool shared = master && FindOutline(*master) == outline;
    any = RemoveOutline(*page) || any;
    if (!shared) delete outline;  // an outline of its own, made when it did not match its master's
  }
  for (CQzplPage* page : job.pages)
    if (page && page->IsMaster()) any = RemoveOutline(*page) || any;
  return any;
}

void SetTapeCutSets(CQzplJobData& job, bool enabled, std::int32_t labelsPerSet) {
  job.layout.tapeCutSetsEnabled = enabled ? 1 : 0;
  job.layout.labelsPerSet = labelsPerSet;
  const std::uint8_t inForce = enabled && labelsPerSet > 0 ? 1 : 0;
  for (CCustomQzplHeader* h : {&job.optimisedHeader, &job.formSizeHeader}) {
    h->labelsPerSet = labelsPerSet;
    h->tapeCutSetsInForce = inForce;
  }
}

int BuildCutSetPages(CQzplJobData& job) {
  CLayoutResults& r = job.layout;
  const std::int32_t s = r.labelsPerSet;
  const std::int32_t n = r.singlePageCopies;
  if (!r.tapeCutSetsEnabled || s <= 0 || r.pageCountAtLoad != 1 || n <= 1 || job.pages.empty() || !job.pages[0])
    return 0;
  const std::int64_t d = static_cast<std::int64_t>(s) - PageCount(job);
  if (d == 0) return 0;
  if (d > 0) {
    std::vector<CQzplPage*> made;
    made.reserve(static_cast<std::size_t>(d));
    for (std::int64_t k = 1; k <= d; ++k) made.push_back(job.pages[0]->MakeCopy(static_cast<int>(k)));
    job.pages.insert(job.pages.begin() + 1, made.begin(), made.end());
  } else {
    const auto from = job.pages.begin() + 1;
    const auto to = from + static_cast<std::ptrdiff_t>(-d);
    for (auto it = from; it != to; ++it) delete *it;  // copy pages: they delete nothing of their master's
    job.pages.erase(from, to);
  }
  const std::int32_t before = HeaderInForce(job).totalLabels;
  SetTotalLabels(job, Clamp32((static_cast<std::int64_t>(n) + s - 1) / s));
  r.copiesPlaced = s;
  return Clamp32(static_cast<std::int64_t>(HeaderInForce(job).totalLabels) - before);
}

int CollapseCutSetPages(CQzplJobData& job) {
  CLayoutResults& r = job.layout;
  if (!r.tapeCutSetsEnabled || r.pageCountAtLoad != 1 || r.singlePageCopies <= 1 || job.pages.size() <= 1) return 0;
  for (std::size_t i = 1; i < job.pages.size(); ++i) delete job.pages[i];
  job.pages.resize(1);
  const std::int32_t before = HeaderInForce(job).totalLabels;
  SetTotalLabels(job, r.singlePageCopies);
  r.copiesPlaced = 1;
  return Clamp32(static_cast<std::int64_t>(HeaderInForce(job).totalLabels) - before);
}

void ArrangeRows(CQzplJobData& job, CQzplPrintPlan& plan, bool rightToLeft, bool landscape) {
  CQzplHeader& hdr = HeaderInForce(job);
  const bool fromRight = rightToLeft && landscape;
  const std::int64_t f = hdr.columnGap;
  const std::int64_t e = hdr.rowGap;
  const std::int64_t w = job.layout.widestExtent;
  const std::int64_t n = f + w > 0 ? std::max<std::int64_t>((f + kTapeWidthDots) / (f + w), 1) : 1;
  plan.printJobs.clear();
  plan.tapeCutSets.clear();
  const std::int64_t pageCount = static_cast<std::int64_t>(job.pages.size());
  if (pageCount == 0) {
    // Nothing to place: no document is written.
    job.layout.printJobsRibbonMask = 0;
    return;
  }

  const bool sets = job.layout.tapeCutSetsEnabled != 0;
  const std::int64_t perSet = job.layout.labelsPerSet;
  std::int64_t c = pageCount;
  if (sets && perSet > 0 && perSet <= pageCount) c = perSet;
  c = std::max<std::int64_t>(std::min(c, n), 1);
  std::int64_t d = sets && perSet != 0 ? perSet : pageCount;  // labels left in the set, this page included
  const std::int64_t t = c * w + f * (c - 1);
  auto startColumn = [fromRight](std::int64_t labels) { return fromRight ? labels - 1 : 0; };
  auto centring = [&](std::int64_t labels) { return (t - f * (labels - 1) - labels * w) / 2; };
  auto addMark = [&](std::int64_t y) {
    // The print job being built is appended when it ends, so its index is the count of those before it.
    plan.tapeCutSets.push_back(
        std::make_unique<CTapeCutSet>(Clamp32(y), static_cast<std::int32_t>(plan.printJobs.size())));
  };

  auto current = std::make_unique<CQzplPrintJob>();
  std::int64_t g = 0, u = 0, v = 0, h = 0, k = startColumn(c), j = 0, p = pageCount;
  for (std::int64_t i = 0; i < pageCount; ++i) {
    CQzplPage& page = *job.pages[static_cast<std::size_t>(i)];
    const CDotRect& pr = page.printRect;
    page.offsetX = Clamp32(w / 2 + (f + w) * k + h - (static_cast<std::int64_t>(pr.left) + pr.right) / 2);
    page.offsetY = Clamp32(g - pr.top);
    v = std::max(v, pr.Height());
    k += fromRight ? -1 : 1;
    const bool rowFull = fromRight ? k < 0 : k >= c;
    if (rowFull) {
      std::int64_t bigG = u + v;
      k = startColumn(c);
      // A row taller than a whole document on its own still needs a document of its own rows: never end an
      // empty one.
      if (bigG > kDocumentSplitDots && j > current->firstRow) {
        current->lastPage = Clamp32(i - c);
        current->length = Clamp32(g - e);
        current->lastRow = Clamp32(j - 1);
        plan.printJobs.push_back(std::move(current));
        current = std::make_unique<CQzplPrintJob>();
        current->firstPage = Clamp32(i - c + 1);
        current->top = Clamp32(g);
        current->firstRow = Clamp32(j);
        bigG = v;
      }
      const std::int64_t r = std::min(p - 1, d - 1);
      std::int64_t next = g + v + e;
      u = bigG + e;
      ++j;
      if (0 < r && r < c) {
        c = std::min(r, n);
        k = startColumn(c);
        g = next;
        v = 0;
        h = centring(c);
      } else if (i == pageCount - 1) {
        if (hdr.tapeCutSetsInForce && hdr.totalLabels > 1) {
          addMark(g + v + kTapeCutMarkDistance);
          next = g + v + 2 * kTapeCutMarkDistance;
          u = bigG + 2 * kTapeCutMarkDistance;
        }
        g = next - e;
        u -= e;
        v = 0;
      } else if (d == 1) {
        const std::int64_t left = p - 1;
        c = std::max<std::int64_t>(std::min(perSet > 0 ? std::min(left, perSet) : left, n), 1);
        addMark(g + v + kTapeCutMarkDistance);
        g = g + v + 2 * kTapeCutMarkDistance;
        u = bigG + 2 * kTapeCutMarkDistance;
        v = 0;
        k = startColumn(c);
        h = centring(c);
        d = (perSet > 0 ? perSet : left) + 1;  // the new set's count once this page is taken off below
      } else {
        g = next;
        v = 0;
      }
    }
    --d;
    --p;
  }

  hdr.length = Clamp32(g);
  hdr.width = Clamp32(t);
  ApplyTotalLabels(hdr, hdr.totalLabels);

  current->lastPage = Clamp32(pageCount - 1);
  current->length = Clamp32(g);
  current->lastRow = Clamp32(j - 1);
  plan.printJobs.push_back(std::move(current));
  FinishPrintJobs(job, plan, false);
}

std::int64_t LayoutLength(const CQzplHeader& header) {
  return static_cast<std::int64_t>(header.rows) * header.length +
         (static_cast<std::int64_t>(header.rows) - 1) * header.rowGap;
}

std::int64_t LayoutWidth(const CQzplHeader& header) {
  return static_cast<std::int64_t>(header.columns) * header.width +
         (static_cast<std::int64_t>(header.columns) - 1) * header.columnGap;
}

void RefreshPrintJobHeaders(CQzplJobData& job, CQzplPrintPlan& plan, bool takeCopiesArrangement) {
  for (auto& pj : plan.printJobs) {
    if (!pj) continue;
    const CCustomQzplHeader own = pj->header;
    TakeHeaderCopy(job, *pj);
    if (!takeCopiesArrangement) {
      pj->header.totalLabels = own.totalLabels;
      pj->header.rows = own.rows;
      pj->header.rowGap = own.rowGap;
      pj->header.columns = own.columns;
      pj->header.columnGap = own.columnGap;
      pj->header.lastRowPartial = own.lastRowPartial;
    }
  }
  job.layout.printJobsRibbonMask = 0;
}

void SplitCopiesByLength(CQzplJobData& job, CQzplPrintPlan& plan) {
  if (plan.printJobs.empty()) return;
  FinishPrintJobs(job, plan, true);
}

bool NeedsLengthConfirmation(CQzplJobData& job, const CQzplPrintPlan& plan) {
  CQzplHeader& hdr = HeaderInForce(job);
  if (ToMm(std::max(hdr.width, hdr.length)) > kLabelLengthLimitMm) return true;
  const auto& jobs = plan.printJobs;
  if (DocumentCount(plan) >= 2 && jobs.front() && jobs.back() && SamePages(*jobs.front(), *jobs.back())) return false;
  if (hdr.totalLabels <= 1 || ToMm(LayoutLength(hdr)) <= kCopiesLengthLimitMm) return false;
  // Lowering one label at a time stops at the largest count that fits, which the search finds at once.
  SetTotalLabels(job, CopiesWithinLengthLimit(hdr, hdr.totalLabels));
  return true;
}

}  // namespace vyx
