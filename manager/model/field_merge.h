// Merging groups of bitmap fields: the pairwise merges are decided on ink boxes and sizes alone, then each group
// gets one bitmap into which every pixel of its fields is copied once.
#pragma once

#include <cstdint>
#include <vector>

#include "manager/model/bitmap_field.h"

namespace vyx {

class CJobProgress;

// The same-ribbon merging of a page's field list (master pages): the fields, merge count, pixel counts and
// source lists come out as merging pair by pair with CSyntheticGraphicField::Merge, the budget taken and given
// back as that would. Returns the number of pairwise merges.
int MergeFieldListOnce(std::vector<CGraphicField*>& fields,
                       std::int64_t packetWeight,
                       CBitmapBudget* budget,
                       CJobProgress* progress);

// The writer's running merge of one ribbon's fields, as Merge(current, next) without same-ribbon mode would make
// it field by field, but with one bitmap built at the end. Holds what the running merge would hold of the budget.
class CMergeChain {
 public:
  explicit CMergeChain(CBitmapBudget* budget) : m_budget(budget) {}
  ~CMergeChain();
  CMergeChain(const CMergeChain&) = delete;
  CMergeChain& operator=(const CMergeChain&) = delete;

  // The first field starts the chain; a later one joins when the running merge would accept it (false: the
  // field stays out and the chain is unchanged).
  bool Add(CGraphicField& field);
  // Fields in the chain (the writer's merge counter).
  int Count() const { return static_cast<int>(m_fields.size()); }
  const std::vector<CGraphicField*>& Fields() const { return m_fields; }
  // The merged field (no sources; the caller deletes it), or nullptr when the chain has fewer than two fields.
  CSyntheticGraphicField* Build();

 private:
  CBitmapBudget* m_budget;
  std::vector<CGraphicField*> m_fields;
  CGraphicField m_looks;    // what the running merge would look like
  std::size_t m_bytes = 0;  // the running merge's bitmap, taken from the budget
};

}  // namespace vyx
