// The job object family base: spans of job text, the ink box and rectangle helpers.
#include "manager/model/qzpl_obj.h"

#include <algorithm>

namespace vyx {

CDotRect IntersectRect(const CDotRect& a, const CDotRect& b) {
  CDotRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) return CDotRect{};
  return r;
}

CDotRect UnionRect(const CDotRect& a, const CDotRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? CDotRect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void CQzplObj::SetSpan(char* start, char* end) {
  textStart = start;
  textEnd = end;
  textLength = (start != nullptr && end != nullptr) ? static_cast<std::int32_t>(end - start) : 0;
}

char* CQzplObj::Parse(char* pos, char* limit) {
  char* p = pos;
  if (p != nullptr) {
    while (p < limit && *p != '\0') ++p;
  }
  SetSpan(pos, p);
  return p;
}

bool CQzplObj::Write(COutputChannel& out) {
  if (textStart == nullptr || textEnd == nullptr || textEnd < textStart) return false;
  return out.Write(textStart, static_cast<std::size_t>(textEnd - textStart));
}

bool CGraphicObj::ExtendInkBox(std::int32_t x, std::int32_t y) {
  bool changed = false;
  if (inkBox.left == kUnsetCoord || x < inkBox.left) {
    inkBox.left = x;
    changed = true;
  }
  if (inkBox.top == kUnsetCoord || y < inkBox.top) {
    inkBox.top = y;
    changed = true;
  }
  if (inkBox.right == kUnsetCoord || inkBox.right < x + 1) {
    inkBox.right = x + 1;
    changed = true;
  }
  if (inkBox.bottom == kUnsetCoord || inkBox.bottom < y + 1) {
    inkBox.bottom = y + 1;
    changed = true;
  }
  return changed;
}

bool CGraphicObj::ExtendInkBox(const CDotRect& r) {
  const CDotRect before = inkBox;
  if (inkBox.HasUnsetBound()) {
    inkBox = r;
  } else {
    inkBox = UnionRect(inkBox, r);
  }
  return !(before == inkBox);
}

}  // namespace vyx
