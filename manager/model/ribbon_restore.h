// Restoring a distributed ribbon on a page (one plain copy of each sparse field in place of its clones) and
// distributing it again (the clones back in place of the copy).
#pragma once

#include <cstdint>

#include "manager/model/bitmap_field.h"

namespace vyx {

class CQzplPage;

// The plain copy of a sparse field that a restore puts in place of the field's clones. Its sources are the sparse
// field first, then the former clones; it owns all of them. The sparse field is also held by the first former
// clone, so deleting the copy deletes the clones and lets the first of them release the sparse field.
class CRestoredRibbonCopy : public CGraphicFieldClone {
 public:
  ~CRestoredRibbonCopy() override;
  // A plain copy of the field: its whole state (stroke count computed in full first), sharing its text;
  // ownership 0, contact score -1, sources = { field }.
  static CRestoredRibbonCopy* Of(CGraphicField& field);
};

// Walks the page's field list from the front and replaces every run of clones of a sparse field of ribbon
// `ribbonIndex` by one plain copy of that field. Returns the number of copies made.
int RestoreRibbon(CQzplPage& page, std::uint32_t ribbonIndex);

// The inverse: every plain copy of ribbon `ribbonIndex` made by a restore gives way to the former clones. On a
// copy page nothing is deleted, only taken out of the list. Returns 0.
int DistributeRibbonAgain(CQzplPage& page, std::uint32_t ribbonIndex);

}  // namespace vyx
