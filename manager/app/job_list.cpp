// Job list rows: filling, clicks, the ribbon pop-up, the PRINT recipe and Reset all jobs.
#include "manager/app/job_list.h"

#include <map>
#include <optional>

#include "common/string_ids.h"
#include "manager/model/ribbon_restore.h"

namespace vyx {

namespace {

constexpr std::int32_t kOutcomeSplit = 33;

std::int32_t Outcome(const CQzplJobData& job, std::int32_t ribbonId) {
  return job.layout.ribbonOutcomes[((ribbonId % 32) + 32) % 32];
}

const CQzplPage* MasterBefore(const CQzplJobData& job, std::size_t i) {
  for (std::size_t k = i + 1; k-- > 0;)
    if (job.pages[k] && job.pages[k]->IsMaster()) return job.pages[k];
  return nullptr;
}

// Copy pages hold their master's fields: after a change of the masters they take the masters' lists again.
void FollowMasters(CQzplJobData& job) {
  for (std::size_t i = 0; i < job.pages.size(); ++i) {
    CQzplPage* page = job.pages[i];
    if (!page || page->IsMaster()) continue;
    if (const CQzplPage* master = MasterBefore(job, i)) page->graphicFields = master->graphicFields;
  }
}

std::wstring NameOf(const CColorRibbon& ribbon) {
  return ribbon.displayName.empty() ? ribbon.name : ribbon.displayName;
}

bool IsColourRow(const CJobRow& row) {
  return row.item != kCutRowItem;
}

void MarkDone(CJobRow& row) {
  row.status = kImageDone;
  if (row.step == kImageStepToPrint) row.step = kImageStepPrinted;
  if (IsColourRow(row)) row.choice = kImageRibbonChoiceDone;
}

}  // namespace

void RestoreRibbonInJob(CQzplJobData& job, std::int32_t ribbonId) {
  for (CQzplPage* page : job.pages)
    if (page && page->IsMaster()) RestoreRibbon(*page, static_cast<std::uint32_t>(ribbonId));
  FollowMasters(job);
}

void DistributeRibbonAgainInJob(CQzplJobData& job, std::int32_t ribbonId) {
  for (CQzplPage* page : job.pages)
    if (page && page->IsMaster()) DistributeRibbonAgain(*page, static_cast<std::uint32_t>(ribbonId));
  FollowMasters(job);
}

std::uint32_t JobRibbonMask(const CQzplJobData& job) {
  std::uint32_t mask = 0;
  for (const CQzplPage* page : job.pages)
    if (page) mask |= page->ribbonMask;
  return mask;
}

void CJobList::Fill(const CQzplJobData& job, const CCatalogue& catalogue, bool cutRow) {
  m_rows.clear();
  const std::uint32_t used = JobRibbonMask(job);
  const bool showDistributed = catalogue.palette.showPixelDistributed != 0;
  for (std::size_t i = 0; i < catalogue.ribbons.size() && i < static_cast<std::size_t>(kCutRowItem); ++i) {
    const CColorRibbon& ribbon = catalogue.ribbons[i];
    if ((used & RibbonBit(ribbon.ribbonId)) == 0) continue;
    const std::int32_t outcome = Outcome(job, ribbon.ribbonId);
    if (outcome == kOutcomeSplit && !showDistributed) continue;
    CJobRow row;
    row.item = static_cast<std::int32_t>(i);
    row.hasCheckBox = ribbon.name != L"White";
    row.printing = static_cast<int>(i);
    if (outcome == kOutcomeSplit) {
      row.printing = kPrintedDistributed;
    } else if (outcome > 0) {
      // A ribbon the catalogue does not know cannot be selected: the colour then keeps its own.
      const int other = catalogue.IndexOfRibbonId(outcome);
      if (other >= 0) row.printing = other;
    }
    m_rows.push_back(row);
  }
  if (cutRow) AddCutRow();
}

void CJobList::AddCutRow() {
  if (HasCutRow()) return;
  CJobRow row;
  row.item = kCutRowItem;
  row.choice = -1;
  row.hasCheckBox = false;
  m_rows.push_back(row);
}

bool CJobList::HasCutRow() const {
  for (const CJobRow& row : m_rows)
    if (row.item == kCutRowItem) return true;
  return false;
}

bool CJobList::RemoveCutRowIfLast() {
  if (m_rows.empty() || m_rows.back().item != kCutRowItem) return false;
  m_rows.pop_back();
  return true;
}

void CJobList::MakeSkipped(CJobRow& row) {
  row.status = kImageSkipped;
  row.step = kImageStepSkipped;
  if (IsColourRow(row)) row.choice = kImageRibbonChoiceDone;
}

bool CJobList::ClickStep(std::size_t index, CQzplJobData& job, const CCatalogue& catalogue) {
  if (index >= m_rows.size()) return false;
  CJobRow& row = m_rows[index];
  if (row.step != kImageStepToPrint && row.step != kImageStepSkipped) return false;
  const bool skip = row.status == kImageToDo;
  if (!skip && row.status != kImageSkipped) return false;
  if (skip) {
    MakeSkipped(row);
  } else {
    row.status = kImageToDo;
    row.step = kImageStepToPrint;
    if (IsColourRow(row)) row.choice = kImageRibbonChoice;
  }
  if (IsColourRow(row) && row.printing == kPrintedDistributed) {
    const std::int32_t id = catalogue.ribbons[static_cast<std::size_t>(row.item)].ribbonId;
    if (skip && !row.restored) {
      RestoreRibbonInJob(job, id);
      row.restored = true;
    } else if (!skip && row.restored) {
      DistributeRibbonAgainInJob(job, id);
      row.restored = false;
    }
  }
  return true;
}

bool CJobList::OffersRibbonMenu(std::size_t index) const {
  return index < m_rows.size() && IsColourRow(m_rows[index]) && m_rows[index].choice == kImageRibbonChoice;
}

std::vector<CRibbonMenuEntry> CJobList::RibbonMenu(std::size_t index,
                                                   const CQzplJobData& job,
                                                   const CCatalogue& catalogue,
                                                   const CLanguageText& language) const {
  std::vector<CRibbonMenuEntry> entries;
  if (!OffersRibbonMenu(index)) return entries;
  const CJobRow& row = m_rows[index];
  for (std::size_t i = 0; i < catalogue.ribbons.size(); ++i)
    entries.push_back({static_cast<int>(i), NameOf(catalogue.ribbons[i]), kImageFirstRibbon + static_cast<int>(i),
                       row.printing == static_cast<int>(i)});
  const std::int32_t id = catalogue.ribbons[static_cast<std::size_t>(row.item)].ribbonId;
  if (Outcome(job, id) == kOutcomeSplit)
    entries.push_back({kPrintedDistributed, language.GetString(kStrDistributed), kImageDistributed,
                       row.printing == kPrintedDistributed});
  return entries;
}

bool CJobList::ChooseRibbon(std::size_t index, int choice, CQzplJobData& job, const CCatalogue& catalogue) {
  if (!OffersRibbonMenu(index)) return false;
  CJobRow& row = m_rows[index];
  const bool validRibbon = choice >= 0 && static_cast<std::size_t>(choice) < catalogue.ribbons.size();
  const std::int32_t id = catalogue.ribbons[static_cast<std::size_t>(row.item)].ribbonId;
  if (choice == kPrintedDistributed) {
    if (Outcome(job, id) != kOutcomeSplit) return false;
    const bool pagesChange = row.restored;
    if (row.restored) DistributeRibbonAgainInJob(job, id);
    row.restored = false;
    row.printing = kPrintedDistributed;
    return pagesChange;
  }
  if (!validRibbon) return false;
  const bool pagesChange = row.printing == kPrintedDistributed && !row.restored;
  if (pagesChange) {
    RestoreRibbonInJob(job, id);
    row.restored = true;
  }
  row.printing = choice;
  return pagesChange;
}

void CJobList::SetChecked(std::size_t index, bool checked) {
  if (index < m_rows.size() && m_rows[index].hasCheckBox) m_rows[index].checked = checked;
}

void CJobList::BuildPrintRecipe(const CCatalogue& catalogue, CQzplPrintPlan& plan) {
  plan.writeCommands.clear();
  AddWriteCommand(plan, kCmdHeader, 0, nullptr, false);
  auto ribbon = [&catalogue](int index) -> const CColorRibbon& {
    return catalogue.ribbons[static_cast<std::size_t>(index)];
  };
  std::vector<bool> printed(m_rows.size(), false);
  auto toDo = [&](std::size_t i) { return m_rows[i].status == kImageToDo && !printed[i]; };
  // The select line of `printingIndex` and the fields of every row to do that it prints; those rows are done.
  auto makePass = [&](int printingIndex) {
    const std::size_t select = plan.writeCommands.size();
    const CColorRibbon& with = ribbon(printingIndex);
    AddWriteCommand(plan, kCmdRibbonSelect, with.ribbonId, with.ribbonName.c_str(), true);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
      if (!toDo(i) || !IsColourRow(m_rows[i]) || m_rows[i].printing != printingIndex) continue;
      const std::int32_t id = ribbon(m_rows[i].item).ribbonId;
      AddWriteCommand(plan, kCmdRibbonFields, id, nullptr, false);
      plan.writeCommands[select].ribbonMask |= RibbonBit(id);
      printed[i] = true;
    }
    return select;
  };

  const int white = catalogue.WhiteRibbonIndex();
  std::optional<std::size_t> whitePass;
  if (!m_rows.empty() && white >= 0 && m_rows[0].item == white && toDo(0)) {
    if (m_rows[0].printing >= 0) {
      const std::size_t pass = makePass(m_rows[0].printing);
      if (m_rows[0].printing == white) whitePass = pass;
    }
    printed[0] = true;
  }

  // Ticked colours are printed in white first, under themselves; they keep their own pass below.
  for (std::size_t i = 0; i < m_rows.size() && white >= 0; ++i) {
    if (!toDo(i) || !m_rows[i].hasCheckBox || !m_rows[i].checked || !IsColourRow(m_rows[i])) continue;
    if (!whitePass) {
      whitePass = plan.writeCommands.size();
      AddWriteCommand(plan, kCmdRibbonSelect, ribbon(white).ribbonId, ribbon(white).ribbonName.c_str(), true);
    }
    const std::int32_t id = ribbon(m_rows[i].item).ribbonId;
    AddWriteCommand(plan, kCmdRibbonFields, id, nullptr, false);
    plan.writeCommands[*whitePass].ribbonMask |= RibbonBit(id);
  }

  // Where each ribbon's pass is made: at the row of its own colour when that is to do, else at the last row to do
  // that it prints.
  std::map<int, std::size_t> passRow;
  for (std::size_t i = 0; i < m_rows.size(); ++i)
    if (toDo(i) && IsColourRow(m_rows[i]) && m_rows[i].printing >= 0) passRow[m_rows[i].printing] = i;
  for (auto& [printingIndex, at] : passRow) {
    for (std::size_t i = 0; i < m_rows.size(); ++i)
      if (toDo(i) && m_rows[i].item == printingIndex) at = i;
  }

  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    CJobRow& row = m_rows[i];
    if (row.status == kImageSkipped) {
      if (row.step == kImageStepToPrint)
        row.step = kImageStepSkipped;
      else if (row.step == kImageStepSkipped)
        row.step = kImageStepSkippedInPrint;
      continue;
    }
    if (!toDo(i)) continue;
    if (!IsColourRow(row)) {
      AddWriteCommand(plan, kCmdCutData, 0, nullptr, false);
      printed[i] = true;
      continue;
    }
    for (const auto& [printingIndex, at] : passRow)
      if (at == i) makePass(printingIndex);
    if (row.printing < 0) printed[i] = true;  // its pixels print with the ribbons they were given to
  }
  AddWriteCommand(plan, kCmdTapeCutMarks, 0, nullptr, false);
  AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false);
  for (std::size_t i = 0; i < m_rows.size(); ++i)
    if (printed[i]) MarkDone(m_rows[i]);
}

void CJobList::ResetAll() {
  for (CJobRow& row : m_rows) {
    if (row.status == kImageDone) {
      row.status = kImageToDo;
      if (row.step == kImageStepPrinted) row.step = kImageStepToPrint;
      if (IsColourRow(row)) row.choice = kImageRibbonChoice;
    } else if (row.status == kImageSkipped) {
      if (row.step == kImageStepPrinted)
        row.step = kImageStepSkippedInPrint;
      else if (row.step == kImageStepSkippedInPrint)
        row.step = kImageStepSkipped;
    }
  }
}

std::vector<CListRowView> CJobList::View(const CCatalogue& catalogue, const CLanguageText& language) const {
  std::vector<CListRowView> views;
  views.reserve(m_rows.size());
  for (const CJobRow& row : m_rows) {
    CListRowView v;
    v.itemData = row.item;
    v.hasCheckBox = row.hasCheckBox;
    v.checked = row.hasCheckBox && row.checked;
    const int statusText = row.status == kImageDone      ? kStrStatusDone
                           : row.status == kImageSkipped ? kStrStatusSkipped
                                                         : kStrStatusToDo;
    v.cells[kColumnStatus - 1] = {language.GetString(statusText), row.status};
    const int stepText = row.step == kImageStepPrinted   ? kStrStepPrinted
                         : row.step == kImageStepToPrint ? kStrStepToPrint
                                                         : kStrStepSkipped;
    v.cells[kColumnStep - 1] = {language.GetString(stepText), row.step};
    if (!IsColourRow(row)) {
      v.cells[kColumnPrintedWith - 1] = {language.GetString(kStrPlotterCut), kImagePlotterCut};
    } else {
      const CColorRibbon& own = catalogue.ribbons[static_cast<std::size_t>(row.item)];
      v.cells[kColumnRibbonChoice - 1] = {
          language.GetString(row.printing == row.item ? kStrOwnRibbon : kStrOtherRibbon), row.choice};
      v.cells[kColumnColour - 1] = {NameOf(own), kImageFirstRibbon + row.item};
      if (row.printing >= 0)
        v.cells[kColumnPrintedWith - 1] = {NameOf(catalogue.ribbons[static_cast<std::size_t>(row.printing)]),
                                           kImageFirstRibbon + row.printing};
      else
        v.cells[kColumnPrintedWith - 1] = {language.GetString(kStrDistributed), kImageDistributed};
    }
    views.push_back(std::move(v));
  }
  return views;
}

}  // namespace vyx
