// Restoring and distributing again one ribbon of a page.
#include "manager/model/ribbon_restore.h"

#include <algorithm>
#include <vector>

#include "manager/model/field_measures.h"
#include "manager/model/page.h"

namespace vyx {

namespace {

bool IsSynthetic(const CGraphicField* f) {
  const int t = f->GetType();
  return t == kTypeSyntheticGraphicField || t == kTypeGraphicFieldClone;
}

// A clone of the consolidation for a sparse field of the ribbon: exactly one source, of that ribbon.
bool IsDistributedClone(const CGraphicField* f, std::uint32_t ribbonIndex) {
  if (f->GetType() != kTypeGraphicFieldClone) return false;
  const auto* c = static_cast<const CGraphicFieldClone*>(f);
  return c->sources.size() == 1 && c->sources[0] != nullptr && c->sources[0]->ribbonIndex == ribbonIndex;
}

// A copy made by a restore: a plain copy (contact score -1) of the ribbon holding the field and its former clones.
bool IsRestoredCopy(const CGraphicField* f, std::uint32_t ribbonIndex) {
  if (f->GetType() != kTypeGraphicFieldClone || f->ribbonIndex != ribbonIndex) return false;
  const auto* c = static_cast<const CGraphicFieldClone*>(f);
  return c->contactScore == -1 && c->sources.size() >= 2;
}

}  // namespace

CRestoredRibbonCopy::~CRestoredRibbonCopy() {
  if (sourceOwnership != 0 || sources.empty()) return;
  std::vector<CGraphicField*> owned;
  owned.swap(sources);  // the base destructor then finds nothing to delete
  CGraphicField* field = owned[0];
  bool heldByClone = false;
  for (std::size_t i = 1; i < owned.size(); ++i) {
    if (!IsSynthetic(owned[i])) continue;
    const auto* s = static_cast<const CSyntheticGraphicField*>(owned[i]);
    if (s->sourceOwnership == 0 && std::find(s->sources.begin(), s->sources.end(), field) != s->sources.end())
      heldByClone = true;
  }
  for (std::size_t i = 1; i < owned.size(); ++i) delete owned[i];
  if (!heldByClone) delete field;
}

CRestoredRibbonCopy* CRestoredRibbonCopy::Of(CGraphicField& field) {
  StrokeCount(field, kStrokeLimitFull);
  auto* copy = new CRestoredRibbonCopy();
  static_cast<CGraphicField&>(*copy) = field;
  copy->sourceOwnership = 0;
  copy->ownsBuffer = 0;
  copy->contactScore = -1;
  copy->sources.push_back(&field);
  return copy;
}

int RestoreRibbon(CQzplPage& page, std::uint32_t ribbonIndex) {
  std::vector<CGraphicField*>& fields = page.graphicFields;
  int copies = 0;
  CRestoredRibbonCopy* current = nullptr;
  std::size_t i = 0;
  while (i < fields.size()) {
    if (!IsDistributedClone(fields[i], ribbonIndex)) {
      current = nullptr;  // any other field ends the current copy
      ++i;
      continue;
    }
    auto* clone = static_cast<CGraphicFieldClone*>(fields[i]);
    CGraphicField* sparse = clone->sources[0];
    if (clone->sourceOwnership == 0) {
      current = CRestoredRibbonCopy::Of(*sparse);
      current->sources.push_back(clone);
      fields[i] = current;
      ++copies;
      ++i;
    } else if (current != nullptr && current->sources[0] == sparse) {
      current->sources.push_back(clone);
      fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      // A later clone whose first clone is not in front of it has no copy to join; it stays where it is rather
      // than drop out of every list.
      current = nullptr;
      ++i;
    }
  }
  return copies;
}

int DistributeRibbonAgain(CQzplPage& page, std::uint32_t ribbonIndex) {
  std::vector<CGraphicField*>& fields = page.graphicFields;
  std::size_t i = 0;
  while (i < fields.size()) {
    if (!IsRestoredCopy(fields[i], ribbonIndex)) {
      ++i;
      continue;
    }
    auto* copy = static_cast<CGraphicFieldClone*>(fields[i]);
    std::vector<CGraphicField*> inserted;
    inserted.swap(copy->sources);
    // The copy and the sparse field (the first inserted) leave the list; the former clones take their place.
    // The sparse field stays owned by the first clone.
    fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(i));
    fields.insert(fields.begin() + static_cast<std::ptrdiff_t>(i), inserted.begin() + 1, inserted.end());
    if (page.IsMaster()) delete copy;
    i += inserted.size() - 1;
  }
  return 0;
}

}  // namespace vyx
