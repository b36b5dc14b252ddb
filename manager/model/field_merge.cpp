// Merging groups of bitmap fields with one bitmap per group: the pairwise merge rule is followed on ink boxes and
// bitmap sizes, then each pixel of the group's fields is copied once.
#include "manager/model/field_merge.h"

#include <memory>

#include "manager/model/job_progress.h"

namespace vyx {

namespace {

// One field of the page's list while the merges are planned: a field of the page, or a merge of two entries.
struct CPlanNode {
  CGraphicField looks;             // ink box, extent, format values, ribbon and mark
  CGraphicField* field = nullptr;  // the page's field; nullptr for a planned merge
  int first = -1;
  int second = -1;
  std::size_t bytes = 0;  // a planned merge's bitmap, taken from the budget
};

bool IsSynthetic(const CGraphicField& f) {
  const int t = f.GetType();
  return t == kTypeSyntheticGraphicField || t == kTypeGraphicFieldClone;
}

// The fields of the page under node n, first source's side first.
void CollectLeaves(const std::vector<CPlanNode>& nodes, int n, std::vector<CGraphicField*>& leaves) {
  std::vector<int> stack{n};
  while (!stack.empty()) {
    const int k = stack.back();
    stack.pop_back();
    if (nodes[static_cast<std::size_t>(k)].field != nullptr) {
      leaves.push_back(nodes[static_cast<std::size_t>(k)].field);
      continue;
    }
    stack.push_back(nodes[static_cast<std::size_t>(k)].second);
    stack.push_back(nodes[static_cast<std::size_t>(k)].first);
  }
}

// Copies the pixels of every field under node n into target; returns the pixels newly set, which is the set
// pixels of the merge of those fields when nothing else lies in their ink boxes yet.
std::int64_t CopyLeaves(const std::vector<CPlanNode>& nodes, int n, CGraphicField& target) {
  std::vector<CGraphicField*> leaves;
  CollectLeaves(nodes, n, leaves);
  std::int64_t total = 0;
  for (CGraphicField* leaf : leaves) {
    std::int64_t added = 0;
    TransferPixels(*leaf, target, kTransferCopy, leaf->inkBox, &added);
    total += added;
  }
  return total;
}

// A field that the plan's node n gives its looks and the empty bitmap; bytes already taken from budget.
std::unique_ptr<CSyntheticGraphicField> MakeEmpty(const std::vector<CPlanNode>& nodes,
                                                  int n,
                                                  CBitmapBudget* budget,
                                                  std::size_t bytes) {
  const CPlanNode& node = nodes[static_cast<std::size_t>(n)];
  auto syn = std::make_unique<CSyntheticGraphicField>();
  SetMergedLooks(*syn, nodes[static_cast<std::size_t>(node.first)].looks,
                 nodes[static_cast<std::size_t>(node.second)].looks);
  syn->budget = budget;
  syn->CountAsTaken(bytes);
  if (!syn->BuildEmptyBitmap()) {
    syn->ReleaseBudget();
    return nullptr;
  }
  return syn;
}

// The synthetic field of a planned merge, built once. Its pixel count is what the pairwise merge gives: the set
// pixels of the first source's merge plus those of the second's.
CSyntheticGraphicField* BuildPlanned(std::vector<CPlanNode>& nodes, int n, CBitmapBudget* budget) {
  const CPlanNode node = nodes[static_cast<std::size_t>(n)];
  std::unique_ptr<CSyntheticGraphicField> syn = MakeEmpty(nodes, n, budget, node.bytes);
  if (!syn) return nullptr;
  const CGraphicField& a = nodes[static_cast<std::size_t>(node.first)].looks;
  const CGraphicField& b = nodes[static_cast<std::size_t>(node.second)].looks;
  std::int64_t count = CopyLeaves(nodes, node.first, *syn);
  const CGraphicField* secondLeaf = nodes[static_cast<std::size_t>(node.second)].field;
  if (IntersectRect(a.inkBox, b.inkBox).IsEmpty()) {
    count += CopyLeaves(nodes, node.second, *syn);
  } else if (secondLeaf != nullptr) {
    count += TransferPixels(*secondLeaf, *syn, kTransferCopy, secondLeaf->inkBox);
  } else {
    // The two merges overlap: the second one's own count needs a bitmap of its own (outside the budget: it
    // lives only here).
    std::unique_ptr<CSyntheticGraphicField> part = MakeEmpty(nodes, node.second, nullptr, 0);
    if (!part) return nullptr;
    count += CopyLeaves(nodes, node.second, *part);
    TransferPixels(*part, *syn, kTransferCopy, part->inkBox);
  }
  syn->pixelCount = count;
  // Sources, second first; synthetic fields of the page hand over their lists and go.
  std::vector<int> stack{n};
  while (!stack.empty()) {
    const CPlanNode& k = nodes[static_cast<std::size_t>(stack.back())];
    stack.pop_back();
    if (k.field == nullptr) {
      stack.push_back(k.first);
      stack.push_back(k.second);
    } else if (IsSynthetic(*k.field)) {
      auto* from = static_cast<CSyntheticGraphicField*>(k.field);
      syn->sources.insert(syn->sources.end(), from->sources.begin(), from->sources.end());
      from->sources.clear();
      delete from;
    } else {
      syn->sources.push_back(k.field);
    }
  }
  return syn.release();
}

}  // namespace

int MergeFieldListOnce(std::vector<CGraphicField*>& fields,
                       std::int64_t packetWeight,
                       CBitmapBudget* budget,
                       CJobProgress* progress) {
  std::vector<CPlanNode> nodes(fields.size());
  std::vector<int> list(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    nodes[i].looks = *fields[i];
    nodes[i].field = fields[i];
    list[i] = static_cast<int>(i);
  }
  int merges = 0;
  std::size_t a = 0;
  while (a < list.size()) {
    const int later = list[a];
    const CGraphicField* laterField = nodes[static_cast<std::size_t>(later)].field;
    if (progress != nullptr && laterField != nullptr && laterField->GetType() == kTypeGraphicField)
      progress->AtText(kProgressKnockedOut, kProgressMerged - kProgressKnockedOut, laterField->textStart);
    bool merged = false;
    for (std::size_t e = 0; e < a; ++e) {
      const int earlier = list[e];
      const CGraphicField& first = nodes[static_cast<std::size_t>(earlier)].looks;
      const CGraphicField& second = nodes[static_cast<std::size_t>(later)].looks;
      if (!IsMergeable(first, second, packetWeight) || !CanMergeFields(first, second, true)) continue;
      CPlanNode node;
      SetMergedLooks(node.looks, first, second);
      node.bytes = CSyntheticGraphicField::EmptyBitmapSize(node.looks.extent, node.looks.charsPerByte,
                                                           node.looks.ribbonIndex, node.looks.ribbonName);
      // Passes the test but cannot be merged: left unmerged.
      if (node.bytes == 0 || (budget != nullptr && !budget->Take(node.bytes))) continue;
      node.first = earlier;
      node.second = later;
      // The merged synthetic fields would be deleted now: their bitmaps go back to the budget.
      for (const int c : {earlier, later}) {
        CPlanNode& source = nodes[static_cast<std::size_t>(c)];
        if (source.field == nullptr) {
          if (budget != nullptr) budget->Give(source.bytes);
          source.bytes = 0;
        } else if (IsSynthetic(*source.field)) {
          static_cast<CSyntheticGraphicField*>(source.field)->ReleaseBudget();
        }
      }
      nodes.push_back(node);
      list[a] = static_cast<int>(nodes.size() - 1);
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(e));
      ++merges;
      --a;  // the merge now sits at a - 1 and is compared again with the fields before it
      merged = true;
      break;
    }
    if (!merged) ++a;
  }
  if (merges == 0) return 0;
  fields.clear();
  for (const int n : list) {
    CPlanNode& node = nodes[static_cast<std::size_t>(n)];
    if (node.field != nullptr) {
      fields.push_back(node.field);
      continue;
    }
    // Sizes were checked while planning, so the bitmap is built; should it not be, the fields stay unmerged.
    CSyntheticGraphicField* syn = BuildPlanned(nodes, n, budget);
    if (syn != nullptr) {
      fields.push_back(syn);
    } else {
      CollectLeaves(nodes, n, fields);  // its bytes went back with the field that could not be built
    }
  }
  return merges;
}

CMergeChain::~CMergeChain() {
  if (m_budget != nullptr) m_budget->Give(m_bytes);
}

bool CMergeChain::Add(CGraphicField& field) {
  if (m_fields.empty()) {
    m_looks = field;
    m_fields.push_back(&field);
    return true;
  }
  if (!CanMergeFields(m_looks, field, false)) return false;
  CGraphicField looks;
  SetMergedLooks(looks, m_looks, field);
  const std::size_t bytes =
      CSyntheticGraphicField::EmptyBitmapSize(looks.extent, looks.charsPerByte, looks.ribbonIndex, looks.ribbonName);
  // The new merge is built while the running one still lives; then the running one goes.
  if (bytes == 0 || (m_budget != nullptr && !m_budget->Take(bytes))) return false;
  if (m_budget != nullptr) m_budget->Give(m_bytes);
  m_bytes = bytes;
  m_looks = looks;
  m_fields.push_back(&field);
  return true;
}

CSyntheticGraphicField* CMergeChain::Build() {
  if (m_fields.size() < 2) return nullptr;
  auto syn = std::make_unique<CSyntheticGraphicField>();
  SetMergedLooks(*syn, m_looks, m_looks);
  syn->budget = m_budget;
  syn->CountAsTaken(m_bytes);
  m_bytes = 0;
  if (!syn->BuildEmptyBitmap()) return nullptr;
  for (CGraphicField* f : m_fields) syn->pixelCount += TransferPixels(*f, *syn, kTransferCopy, f->inkBox);
  return syn.release();
}

}  // namespace vyx
