// The writer owns the document frame, the order of sections and the page ranges; the objects write themselves.
#include "manager/output/writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "manager/model/bitmap_field.h"
#include "manager/model/cut_order.h"
#include "manager/model/field_merge.h"
#include "manager/model/header_writer.h"
#include "manager/model/job.h"
#include "manager/model/page.h"

namespace vyx {

namespace {

// A re-optimised cut order must save more than this (quarter dots) before it replaces the current one.
constexpr double kTravelTolerance = 0.1;

bool ValidRange(const CQzplJobData& job, const CQzplPrintJob& pj) {
  return pj.firstPage >= 0 && pj.firstPage <= pj.lastPage && static_cast<std::size_t>(pj.lastPage) < job.pages.size();
}

bool WriteSection(CQzplJobData& job,
                  CQzplPrintPlan& plan,
                  const CWriteCmd& cmd,
                  std::size_t document,
                  const CQzplPrintJob& pj,
                  CCustomQzplHeader& header,
                  COutputChannel& out,
                  int storedDarkness) {
  switch (cmd.type) {
    case kCmdHeader:
      return WriteCustomHeader(header, storedDarkness, out);
    case kCmdRibbonSelect:
      if (cmd.ribbonName[0] == '\0' || (pj.ribbonMask & cmd.ribbonMask) == 0) return true;
      return CGraphicField::WriteRibbonSelect(out, static_cast<unsigned>(cmd.ribbonIndex), cmd.ribbonName);
    case kCmdRibbonFields: {
      if (!ValidRange(job, pj)) return false;
      bool lineFlag = cmd.ribbonLineFlag != 0 && (pj.ribbonMask & (1u << (cmd.ribbonIndex & 31))) != 0;
      bool ok = true;
      for (std::int32_t p = pj.firstPage; p <= pj.lastPage; ++p)
        ok = WriteRibbonFields(*job.pages[static_cast<std::size_t>(p)], out,
                               static_cast<std::uint32_t>(cmd.ribbonIndex), lineFlag) &&
             ok;
      return ok;
    }
    case kCmdCutData: {
      bool ok = header.laminate ? WriteLaminateEnd(out) : true;
      if (!ValidRange(job, pj)) return false;
      for (std::int32_t p = pj.firstPage; p <= pj.lastPage; ++p)
        ok = WriteCutData(*job.pages[static_cast<std::size_t>(p)], out) && ok;
      return ok;
    }
    case kCmdTapeCutMarks: {
      bool ok = true;
      for (auto it = plan.tapeCutSets.rbegin(); it != plan.tapeCutSets.rend(); ++it) {
        if (!*it) {
          ok = false;
          continue;
        }
        if (static_cast<std::size_t>((*it)->printJobIndex) == document && (*it)->printJobIndex >= 0)
          ok = (*it)->Write(out) && ok;
      }
      return ok;
    }
    case kCmdTrailer:
      return job.trailer.Write(out);
    default:
      return false;
  }
}

}  // namespace

CWriteCmd& AddWriteCommand(CQzplPrintPlan& plan,
                           std::int32_t type,
                           std::int32_t ribbonIndex,
                           const char* ribbonName,
                           bool ribbonLineFlag) {
  CWriteCmd& cmd = plan.writeCommands.emplace_back();
  cmd.type = type;
  cmd.ribbonIndex = ribbonIndex;
  if (ribbonName) {
    std::strncpy(cmd.ribbonName, ribbonName, sizeof cmd.ribbonName - 1);
    cmd.ribbonName[sizeof cmd.ribbonName - 1] = '\0';
  }
  cmd.ribbonLineFlag = ribbonLineFlag ? 1 : 0;
  return cmd;
}

void MakeCopyPositions(CQzplPrintPlan& plan, const CQzplHeader& header) {
  plan.copies.clear();
  for (std::int64_t r = 0; r < header.rows; ++r)
    for (std::int64_t c = 0; c < header.columns; ++c)
      plan.copies.push_back(
          {static_cast<std::int32_t>(c * (static_cast<std::int64_t>(header.width) + header.columnGap)),
           static_cast<std::int32_t>(r * (static_cast<std::int64_t>(header.length) + header.rowGap))});
}

bool WritePageOffset(CQzplPage& page, COutputChannel& out) {
  if (page.singlePage && page.offsetWritten) return true;
  char line[40];
  const int n = std::snprintf(line, sizeof line, "^PO%d,%d\r\n", page.offsetX, page.offsetY);
  if (n <= 0 || !out.Write(line, static_cast<std::size_t>(n))) return false;
  page.offsetWritten = 1;
  return true;
}

bool WriteRibbonFields(CQzplPage& page, COutputChannel& out, std::uint32_t ribbonIndex, bool& ribbonLineFlag) {
  bool ok = true;
  bool offsetPending = true;
  // The ribbon's fields merge into one, built once after all of them have joined.
  CMergeChain chain(page.BitmapBudget());
  for (CGraphicField* field : page.graphicFields) {
    if (!field || field->ribbonIndex != ribbonIndex) continue;
    if (ribbonLineFlag && CGraphicField::WriteRibbonSelect(out, ribbonIndex, field->ribbonName)) ribbonLineFlag = false;
    if (offsetPending && WritePageOffset(page, out)) offsetPending = false;
    if (page.changeCounter == 0) {
      ok = field->Write(out) && ok;
      continue;
    }
    // Fields that cannot be merged (differing formats, no room) are written on their own rather than lost.
    if (!chain.Add(*field)) ok = field->Write(out) && ok;
    page.mergeCounter = chain.Count();
  }
  if (chain.Count() > 1) {
    std::unique_ptr<CSyntheticGraphicField> merged(chain.Build());
    if (merged) {
      ok = merged->Write(out) && ok;
    } else {
      for (CGraphicField* field : chain.Fields()) ok = field->Write(out) && ok;
    }
  } else if (chain.Count() == 1) {
    ok = chain.Fields()[0]->Write(out) && ok;  // a single field is written as it is
  }
  page.mergeCounter = 0;
  page.currentMerged = nullptr;
  return ok;
}

bool WriteCutData(CQzplPage& page, COutputChannel& out) {
  std::vector<CGraphicObj*> previous = page.cutObjects;
  page.cutObjects.clear();
  std::vector<CGraphicObj*> refused;
  double sum = 0;
  for (auto it = previous.rbegin(); it != previous.rend(); ++it) {
    const double cost = InsertCut(page, *it);
    if (cost < 0)
      refused.push_back(*it);
    else
      sum += cost;
  }
  if (sum - kTravelTolerance > page.cutTravel) {
    page.cutObjects = std::move(previous);
  } else {
    // Objects the insertion refuses were accepted once: they are cut last rather than dropped.
    page.cutObjects.insert(page.cutObjects.end(), refused.begin(), refused.end());
    if (refused.empty()) page.cutTravel = sum;
  }
  if (page.cutObjects.empty()) return true;
  bool ok = WritePageOffset(page, out);
  for (CGraphicObj* obj : page.cutObjects) ok = obj->Write(out) && ok;
  return ok;
}

std::int64_t DocumentCount(const CQzplPrintPlan& plan) {
  std::int64_t n = 0;
  for (const auto& pj : plan.printJobs) n += pj ? std::max<std::int64_t>(pj->repeat, 1) : 1;
  return n;
}

bool Print(CQzplJobData& job, CQzplPrintPlan& plan, COutputChannel& out, int storedDarkness) {
  bool result = true;
  // Documents are numbered as written; a repeated print job is generated anew for each of its documents, so
  // memory does not grow with their number.
  std::size_t document = 0;
  bool anyDocument = false;  // a print that writes no document has printed nothing
  for (std::size_t i = 0; i < plan.printJobs.size(); ++i) {
    CQzplPrintJob* pj = plan.printJobs[i].get();
    if (!pj) {
      ++document;
      continue;
    }
    for (std::int64_t r = std::max<std::int64_t>(pj->repeat, 1); r > 0; --r, ++document) {
      if (!out.StartDocument(static_cast<unsigned>(document))) return false;
      anyDocument = true;
      for (CQzplPage* page : job.pages) {
        if (!page) continue;
        page->singlePage = job.pages.size() == 1 ? 1 : 0;
        page->offsetWritten = 0;
      }
      CCustomQzplHeader header = pj->header;
      for (const CWriteCmd& cmd : plan.writeCommands)
        result = WriteSection(job, plan, cmd, document, *pj, header, out, storedDarkness) && result;
      if (!out.EndDocument()) return false;
    }
  }
  return result && anyDocument;
}

}  // namespace vyx
