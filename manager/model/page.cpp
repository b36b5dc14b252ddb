// The page model: reading a page, copy pages, overlap knock-out and same-ribbon merging.
#include "manager/model/page.h"

#include <atomic>

#include "manager/model/cut_collection.h"
#include "manager/model/field_merge.h"
#include "manager/model/text_scan.h"

namespace vyx {

std::uint64_t TakePageSerial() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

CQzplPage::~CQzplPage() {
  if (copyIndex != 0) return;
  // Virtual destructors pick the right class; synthetic fields that own their sources delete them.
  for (CGraphicField* f : graphicFields) delete f;
  for (CGraphicObj* c : cutObjects) delete c;
}

char* CQzplPage::Parse(char* pos, char* limit) {
  copyIndex = 0;
  SetSpan(pos, pos);
  if (pos == nullptr || pos >= limit) return pos;
  char* xpg = LineSearch(pos, limit, "^XPG");
  if (xpg == nullptr) {
    char* xz = LineSearch(pos, limit, "^XZ");
    return xz != nullptr ? xz : limit;
  }
  char* eol = LineEnd(xpg, limit);
  std::int32_t v[2] = {0, 0};
  const int n = ReadValues(xpg + 4, eol, limit, v, 2);
  if (n < 2) {
    copies = 1;
  } else if (parseContext != nullptr && parseContext->copiesTable != nullptr && v[1] >= 1 &&
             static_cast<std::size_t>(v[1]) <= parseContext->copiesCount) {
    copies = parseContext->copiesTable[v[1] - 1];
  } else {
    copies = v[0];
  }
  char* end = eol < limit ? eol + 2 : limit;
  if (end > limit) end = limit;
  SetSpan(pos, end);

  CJobProgress* progress = parseContext != nullptr ? parseContext->progress : nullptr;
  std::vector<char*> hits;
  for (char* hit = LineSearch(pos, xpg, "^RR"); hit != nullptr; hit = LineSearch(hit + 3, xpg, "^RR"))
    hits.push_back(hit);
  // A field's data never runs into the next field, of this page or of a later one: data declared longer than
  // the field carries is read over the following text only up to there, so that fields never share data and
  // reading and the page steps stay in proportion to the job's size.
  char* const nextPageField = hits.empty() ? nullptr : LineSearch(end, limit, "^RR");
  for (std::size_t i = 0; i < hits.size(); ++i) {
    auto* field = new CGraphicField();
    graphicFields.push_back(field);
    char* const dataLimit = i + 1 < hits.size() ? hits[i + 1] : (nextPageField != nullptr ? nextPageField : limit);
    field->Parse(hits[i], limit, dataLimit);
    ribbonMask |= 1u << (field->ribbonIndex % 32);
    if (field->HasInk()) contentBounds = UnionRect(contentBounds, field->inkBox);
    if (progress != nullptr) progress->AtText(kProgressRead, kProgressParsed - kProgressRead, field->textEnd);
  }
  // The page's ^RP pen paths (before the ^XPG line), routed into recognised shapes and kept in cutting order.
  CCutCollectOptions cuts;
  cuts.barTender = parseContext != nullptr && parseContext->barTenderJob;
  cuts.progress = progress;
  CollectPageCuts(*this, pos, xpg, cuts);
  return end;
}

CQzplPage* CQzplPage::MakeCopy(int k) {
  auto* copy = new CQzplPage();
  copy->SetSpan(textStart, textEnd);
  copy->graphicFields = graphicFields;
  copy->cutObjects = cutObjects;
  copy->contentBounds = contentBounds;
  copy->printRect = printRect;
  copy->cutTravel = cutTravel;
  copy->ribbonMask = ribbonMask;
  copy->offsetX = offsetX;
  copy->offsetY = offsetY;
  copy->copies = copies;
  copy->copyIndex = k;
  copy->changeCounter = changeCounter;
  copy->mergeCounter = mergeCounter;
  copy->currentMerged = currentMerged;
  copy->lastMerged = lastMerged;
  copy->singlePage = 0;
  singlePage = 0;
  copy->offsetWritten = offsetWritten;
  copy->parseContext = parseContext;
  return copy;
}

std::int64_t KnockOutOverlaps(CQzplPage& page, std::uint32_t nonPunchMask, CJobProgress* progress) {
  std::int64_t cleared = 0;
  auto& fields = page.graphicFields;
  for (std::size_t l = 0; l < fields.size(); ++l) {
    CGraphicField& top = *fields[l];
    if (progress != nullptr)
      progress->AtText(kProgressConsolidated, kProgressKnockedOut - kProgressConsolidated, top.textStart);
    if (!top.HasInk()) continue;
    if ((nonPunchMask & (1u << (top.ribbonIndex % 32))) != 0) continue;
    for (std::size_t e = 0; e < l; ++e) {
      CGraphicField& below = *fields[e];
      if (below.ribbonIndex == top.ribbonIndex || !below.HasInk()) continue;
      const CDotRect meet = IntersectRect(top.inkBox, below.inkBox);
      if (meet.IsEmpty()) continue;
      const std::int64_t n = TransferPixels(top, below, kTransferKnockOut, meet);
      below.pixelCount -= n;
      cleared += n;
    }
  }
  return cleared;
}

int MergeSameRibbonFields(CQzplPage& page, std::int64_t packetWeight, CJobProgress* progress) {
  auto& fields = page.graphicFields;
  // A master page owns its fields: each group of merged fields gets one bitmap. A copy page shares them and
  // keeps every merge it makes.
  if (page.IsMaster()) return MergeFieldListOnce(fields, packetWeight, page.BitmapBudget(), progress);
  int merges = 0;
  std::size_t a = 0;
  while (a < fields.size()) {
    CGraphicField* later = fields[a];
    if (progress != nullptr && later->GetType() == kTypeGraphicField)
      progress->AtText(kProgressKnockedOut, kProgressMerged - kProgressKnockedOut, later->textStart);
    bool merged = false;
    for (std::size_t e = 0; e < a; ++e) {
      CGraphicField* earlier = fields[e];
      if (!IsMergeable(*earlier, *later, packetWeight)) continue;
      CSyntheticGraphicField* syn = CSyntheticGraphicField::Merge(*earlier, *later, true, page.BitmapBudget());
      if (syn == nullptr) continue;  // passes the test but cannot be merged: left unmerged
      fields[a] = syn;
      fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(e));
      if (page.IsMaster()) {
        for (CGraphicField* src : {earlier, later}) {
          const int t = src->GetType();
          if (t == kTypeSyntheticGraphicField || t == kTypeGraphicFieldClone) delete src;
        }
      }
      ++merges;
      --a;  // the synthetic field now sits at a - 1 and is compared again with the fields before it
      merged = true;
      break;
    }
    if (!merged) ++a;
  }
  return merges;
}

}  // namespace vyx
