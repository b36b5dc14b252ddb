// Tape cut sets: one line of printer text each, and a line across the preview.
#include "manager/model/tape_cut_set.h"

#include <cstdio>

namespace vyx {

CTapeCutSet::CTapeCutSet(std::int32_t y, std::int32_t printJobIndex) : printJobIndex(printJobIndex), positionY(y) {
  // One dot high across the full print width.
  inkBox = {0, y, kTapeWidthDots, y == INT32_MAX ? y : y + 1};
}

bool CTapeCutSet::Write(COutputChannel& out) {
  char line[20];
  const int n = std::snprintf(line, sizeof line, "^%s%d\r\n", "RTC", positionY);
  return n > 0 && static_cast<std::size_t>(n) < sizeof line && out.Write(line, static_cast<std::size_t>(n));
}

void CTapeCutSet::Draw(CDrawCanvas& dc,
                       int x,
                       int y,
                       const CDotRect& clip,
                       int ox1,
                       int oy1,
                       int,
                       int,
                       ColorRef colour) {
  const std::int64_t dx = static_cast<std::int64_t>(x) + ox1, dy = static_cast<std::int64_t>(y) + oy1;
  const CDotRect moved{static_cast<std::int32_t>(inkBox.left + dx), static_cast<std::int32_t>(inkBox.top + dy),
                       static_cast<std::int32_t>(inkBox.right + dx), static_cast<std::int32_t>(inkBox.bottom + dy)};
  if (IntersectRect(moved, clip).IsEmpty()) return;
  const std::int64_t w = static_cast<std::int64_t>(clip.right) - clip.left;
  const std::int64_t u = (w - (kTapeWidthDots - 1)) / 2;
  const std::int64_t e = w > kTapeWidthDots - 1 ? u : 2 * u;
  const int lineY = static_cast<int>(positionY + dy);
  dc.SelectPen(colour, 1);
  dc.MoveTo(static_cast<int>(u), lineY);
  dc.LineTo(static_cast<int>(e + kTapeWidthDots), lineY);
}

}  // namespace vyx
