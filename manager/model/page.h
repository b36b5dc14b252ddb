// The page model: CQzplPage with its bitmap fields and cut objects, copy pages, and the page steps
// overlap knock-out and same-ribbon merging.
#pragma once

#include <cstdint>
#include <vector>

#include "manager/model/bitmap_field.h"
#include "manager/model/job_progress.h"
#include "manager/model/qzpl_obj.h"

namespace vyx {

// What a page reads besides its text: the per-page copies table and the progress bar.
struct CPageParseContext {
  const std::int16_t* copiesTable = nullptr;  // entry n-1 holds the copies of page number n
  std::size_t copiesCount = 0;
  CJobProgress* progress = nullptr;
  bool barTenderJob = false;  // the job tag ends in "_btw": BarTender rectangles and ellipses are recognised
  CBitmapBudget* bitmapBudget = nullptr;  // the job's allowance for the bitmaps its pages build
};

// A number that no other page of the process has had (see CQzplPage::serial).
std::uint64_t TakePageSerial();

class CQzplPage : public CQzplObj {
 public:
  CQzplPage() = default;
  CQzplPage(const CQzplPage&) = delete;
  CQzplPage& operator=(const CQzplPage&) = delete;
  // A master page (copy index 0) deletes every object in its arrays; a copy page deletes nothing.
  ~CQzplPage() override;

  int GetType() const override { return kTypeQzplPage; }
  // Reads the page from pos up to and including its ^XPG line; returns the page's text end (the next page's
  // start). Without ^XPG the page stays empty and Parse returns the position of ^XZ (limit when none).
  char* Parse(char* pos, char* limit) override;

  // A copy page of this master page: every field copied (arrays of the same pointers), copy index k, both
  // pages' single-page flags cleared, offset-written taken from the master.
  CQzplPage* MakeCopy(int k);

  bool IsMaster() const { return copyIndex == 0; }
  // The job's allowance for the bitmaps built for this page (merged fields, clones); null outside a job.
  CBitmapBudget* BitmapBudget() const { return parseContext != nullptr ? parseContext->bitmapBudget : nullptr; }

  std::vector<CGraphicField*> graphicFields;  // types 3, 4, 5, in stream order
  std::vector<CGraphicObj*> cutObjects;       // types 6 to 11, in cut order
  CDotRect contentBounds{};                   // union of the bounds of every field and cut object accepted
  CDotRect printRect{};                       // set by the layout
  double cutTravel = 0;                       // quarter dots
  std::uint32_t ribbonMask = 0;               // bit (ribbon index mod 32)
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::int32_t copies = 1;
  std::int32_t copyIndex = 0;
  std::int32_t changeCounter = 0;  // changes made by the colour consolidation
  std::int32_t mergeCounter = 0;   // working fields of the per-ribbon field writer
  CGraphicField* currentMerged = nullptr;
  CGraphicField* lastMerged = nullptr;
  std::uint8_t singlePage = 1;
  std::uint8_t offsetWritten = 0;

  // Set by the job before Parse; may stay null (no copies table, no progress).
  const CPageParseContext* parseContext = nullptr;
  // Tells this page from every other page of the process, so that a cache keyed by page never takes a new page
  // at an old page's address for the old one.
  const std::uint64_t serial = TakePageSerial();
};

// Page step 2: for each field L and each earlier field E whose ink box meets L's, when their ribbons differ
// and L's ribbon bit is not in nonPunchMask, E loses every pixel of L inside the intersection. Returns the
// number of pixels cleared.
std::int64_t KnockOutOverlaps(CQzplPage& page, std::uint32_t nonPunchMask, CJobProgress* progress = nullptr);

// Page step 3: same-ribbon merging pass; returns the number of merges.
int MergeSameRibbonFields(CQzplPage& page,
                          std::int64_t packetWeight = kDefaultPacketWeightInPixels,
                          CJobProgress* progress = nullptr);

}  // namespace vyx
