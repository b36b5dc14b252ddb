// CTapeCutSet: a straight cut across the tape between groups of labels, placed by the layout.
#pragma once

#include <cstdint>

#include "manager/model/qzpl_obj.h"

namespace vyx {

// Preview colour of tape cuts: magenta.
inline constexpr ColorRef kTapeCutColour = MakeRgb(255, 0, 255);

class CTapeCutSet : public CGraphicObj {
 public:
  CTapeCutSet(std::int32_t y, std::int32_t printJobIndex);

  int GetType() const override { return kTypeTapeCutSet; }
  // Writes "^RTC<y>\r\n".
  bool Write(COutputChannel& out) override;
  // One line across the tape at the cut's height; centred on a clip wider than the print width, else across the
  // whole clip. Horizontal offsets do not apply: the cut always spans the tape.
  void Draw(CDrawCanvas& dc, int x, int y, const CDotRect& clip, int ox1, int oy1, int ox2, int oy2, ColorRef colour)
      override;

  std::int32_t printJobIndex;
  std::int32_t positionY;
};

}  // namespace vyx
