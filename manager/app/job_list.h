// The main window's job list (production steps): one row per ribbon colour the job prints and one for the plotter
// cut, their states (to do, done, skipped), the ribbon that prints each colour, the pop-up choices, the recipe PRINT
// builds from the rows, and Reset all jobs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/language.h"
#include "manager/app/window_view.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/output/writer.h"

namespace vyx {

// Images of the list's image lists; a ribbon colour's icon has index kImageFirstRibbon + its catalogue index.
enum EJobListImage : int {
  kImageDone = 0,
  kImageSkipped = 1,
  kImageToDo = 2,
  kImagePlotterCut = 3,
  kImageStepToPrint = 5,
  kImageStepPrinted = 6,
  kImageStepSkipped = 7,
  kImageStepSkippedInPrint = 8,
  kImageDistributed = 9,
  kImageRibbonChoice = 11,
  kImageRibbonChoiceDone = 12,
  kImageFirstRibbon = 14,
};
inline constexpr int kBuiltInImages = 14;

// Item data of the plotter cut row.
inline constexpr std::int32_t kCutRowItem = 31;
// Printing ribbon of a colour whose pixels go to other ribbons.
inline constexpr int kPrintedDistributed = -2;

// Columns, numbered from 1 as the window's rules name them.
enum EJobListColumn : int {
  kColumnStatus = 1,
  kColumnStep = 2,
  kColumnRibbonChoice = 3,
  kColumnColour = 4,
  kColumnPrintedWith = 5,
  kColumnNote = 6,
};

struct CJobRow {
  std::int32_t item = 0;            // catalogue index, or kCutRowItem
  int status = kImageToDo;          // kImageToDo, kImageSkipped or kImageDone
  int step = kImageStepToPrint;     // 5 to 8
  int choice = kImageRibbonChoice;  // 11 or 12; -1 for the cut row
  int printing = -1;                // catalogue index of the ribbon that prints it, or kPrintedDistributed
  bool hasCheckBox = true;
  bool checked = false;   // also printed in the white pass, under the colour
  bool restored = false;  // a distributed colour whose pixels are back in fields of its own
};

// One entry of the ribbon pop-up of column 3.
struct CRibbonMenuEntry {
  int choice = 0;  // catalogue index, or kPrintedDistributed
  std::wstring text;
  int image = -1;
  bool marked = false;  // the row's current printing ribbon
};

// Restoring and distributing again one ribbon over the whole job: master pages change their fields, copy pages
// take their master's list again (they hold the same fields).
void RestoreRibbonInJob(CQzplJobData& job, std::int32_t ribbonId);
void DistributeRibbonAgainInJob(CQzplJobData& job, std::int32_t ribbonId);

// The ribbons every page of the job uses.
std::uint32_t JobRibbonMask(const CQzplJobData& job);

class CJobList {
 public:
  // A row per catalogue colour (catalogue order) whose bit is in the job's mask, leaving out colours distributed
  // away unless the catalogue shows them; then the cut row when `cutRow`.
  void Fill(const CQzplJobData& job, const CCatalogue& catalogue, bool cutRow);
  void AddCutRow();
  bool HasCutRow() const;
  // Deletes the cut row when it is the last row; whether it did.
  bool RemoveCutRowIfLast();

  // Every row to do whose printing ribbon passes `printedWith` becomes skipped; returns how many changed.
  template <typename Pred>
  int SkipRowsPrintedWith(const CCatalogue& catalogue, Pred printedWith) {
    int changed = 0;
    for (CJobRow& row : m_rows) {
      if (row.status != kImageToDo || row.item == kCutRowItem || row.printing < 0) continue;
      if (!printedWith(catalogue.ribbons[static_cast<std::size_t>(row.printing)])) continue;
      MakeSkipped(row);
      ++changed;
    }
    return changed;
  }

  // A click in column 2 of a row showing image 5 or 7: to do and skipped swap; a distributed colour is restored
  // while skipped. Returns whether the row changed.
  bool ClickStep(std::size_t row, CQzplJobData& job, const CCatalogue& catalogue);
  // Column 3 of a colour row showing image 11 offers the ribbon pop-up.
  bool OffersRibbonMenu(std::size_t row) const;
  std::vector<CRibbonMenuEntry> RibbonMenu(std::size_t row,
                                           const CQzplJobData& job,
                                           const CCatalogue& catalogue,
                                           const CLanguageText& language) const;
  // The pop-up's choice becomes the row's printing ribbon; a distributed colour is restored or distributed again to
  // match. Returns whether the pages changed.
  bool ChooseRibbon(std::size_t row, int choice, CQzplJobData& job, const CCatalogue& catalogue);
  // The check box of a row (rows without one ignore it).
  void SetChecked(std::size_t row, bool checked);

  // The write commands of PRINT over the rows (header, the white pass, one pass per printing ribbon, cut data,
  // tape cut marks, trailer); rows printed become done, skipped rows move their step image on.
  void BuildPrintRecipe(const CCatalogue& catalogue, CQzplPrintPlan& plan);
  // Done rows back to to do; skipped rows back from their printed step image.
  void ResetAll();

  std::vector<CListRowView> View(const CCatalogue& catalogue, const CLanguageText& language) const;

  const std::vector<CJobRow>& Rows() const { return m_rows; }
  std::vector<CJobRow>& MutableRows() { return m_rows; }

 private:
  static void MakeSkipped(CJobRow& row);

  std::vector<CJobRow> m_rows;
};

}  // namespace vyx
