// CRoundedRect: a closed rectangular cut with rounded corners whose pen commands are generated from its ink box
// and corner radius (the outline cut around a label, and the base of the BarTender rectangle).
#pragma once

#include <cstdint>
#include <vector>

#include "manager/model/cut_path.h"

namespace vyx {

// Below this radius (quarter dots) the corners get no arc points.
constexpr std::int32_t kMinArcRadius = 16;
// Moves are assembled in blocks of this size and written out once a block holds more than kRoundedRectFlushAt.
constexpr std::size_t kRoundedRectBlockBytes = 1024;
constexpr std::size_t kRoundedRectFlushAt = 964;

// Arc points per corner for a radius in quarter dots, and the angle between them.
struct CCornerArcs {
  int pointsPerCorner = 0;
  double angleStep = 0;
};
CCornerArcs ComputeCornerArcs(std::int32_t radius);

class CRoundedRect : public CCutObj {
 public:
  // A collector starts with an unset ink box and radius 0.
  CRoundedRect() = default;
  // The rectangle (dots) with corner radius `radius` (quarter dots): closed, no points counted, no text.
  CRoundedRect(std::int32_t radius, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

  int GetType() const override { return kTypeRoundedRect; }
  // Generates "^RPU", the start move, "^RPD", the four corners and "^RPU", written in blocks of at most
  // 1024 bytes. True only when every write succeeded.
  bool Write(COutputChannel& out) override;
  // Paints the generated outline (each point rounded to dots) with a solid pen of width 1; also sets the point
  // count to 4 x (arc points per corner + 1).
  void Draw(CDrawCanvas& dc, int x0, int y0, const CDotRect& clip, int ox1, int oy1, int ox2, int oy2, ColorRef colour)
      override;

  // First and last point at (4 x right, 4 x bottom - radius - 1): where the generated outline starts and ends.
  void PlaceStartPoint();
  // The start point followed by every corner point, in quarter dots, in cutting order.
  std::vector<CQuarterPoint> OutlinePoints() const;

  std::int32_t radius = 0;  // quarter dots
};

}  // namespace vyx
