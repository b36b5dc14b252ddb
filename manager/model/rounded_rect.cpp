// CRoundedRect: corner arcs, the generated pen commands in 1024-byte blocks, and the preview outline.
#include "manager/model/rounded_rect.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vyx {

namespace {

constexpr double kQuarterTurn = 1.570796326795;
constexpr double kPi = 3.14159265359;

CQuarterPoint Quarter(std::int64_t x, std::int64_t y) {
  return {SaturateToInt32(x), SaturateToInt32(y)};
}

// floor(v + 0.5) as an integer; v stays far inside the 64-bit range for any 32-bit radius.
std::int64_t RoundHalfUp(double v) {
  return static_cast<std::int64_t>(std::floor(v + 0.5));
}

// Appends a pen command to a block and hands full blocks to the channel.
class CBlockWriter {
 public:
  explicit CBlockWriter(COutputChannel& out) : m_out(out) {}
  void Line(const char* text) {
    const std::size_t len = std::strlen(text);
    std::memcpy(m_block + m_used, text, len);
    m_used += len;
  }
  void Move(CQuarterPoint p) { m_used += FormatPenMove(m_block + m_used, sizeof(m_block) - m_used, p); }
  void FlushIfFull() {
    if (m_used > kRoundedRectFlushAt) Flush();
  }
  void Flush() {
    if (m_used != 0 && !m_out.Write(m_block, m_used)) m_ok = false;
    m_used = 0;
  }
  bool Ok() const { return m_ok; }

 private:
  COutputChannel& m_out;
  char m_block[kRoundedRectBlockBytes];
  std::size_t m_used = 0;
  bool m_ok = true;
};

}  // namespace

CCornerArcs ComputeCornerArcs(std::int32_t radius) {
  if (radius < kMinArcRadius) return {0, kQuarterTurn};
  const double a = radius;
  const double segment = std::max(std::sqrt(4.0 * a), 16.0);
  const int k = static_cast<int>(std::floor(a * kPi * 0.5 / segment + 0.5));
  if (k < 1) return {0, kQuarterTurn};
  return {k, kQuarterTurn / k};
}

CRoundedRect::CRoundedRect(std::int32_t r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
    : radius(r) {
  inkBox = {left, top, right, bottom};
  PlaceStartPoint();
  closed = 1;
  pointCount = 0;
}

void CRoundedRect::PlaceStartPoint() {
  firstPoint = Quarter(4 * std::int64_t{inkBox.right}, 4 * std::int64_t{inkBox.bottom} - radius - 1);
  lastPoint = firstPoint;
}

std::vector<CQuarterPoint> CRoundedRect::OutlinePoints() const {
  const std::int64_t a = radius;
  const std::int64_t l = 4 * std::int64_t{inkBox.left};
  const std::int64_t t = 4 * std::int64_t{inkBox.top};
  const std::int64_t r = 4 * std::int64_t{inkBox.right};
  const std::int64_t b = 4 * std::int64_t{inkBox.bottom};
  // Corner centres in cutting order: top right, top left, bottom left, bottom right.
  const std::int64_t centres[4][2] = {{r - a - 4, t + a}, {l + a, t + a}, {l + a, b - a - 4}, {r - a - 4, b - a - 4}};
  const CCornerArcs arcs = ComputeCornerArcs(radius);

  std::vector<CQuarterPoint> points;
  points.reserve(1 + 4 * static_cast<std::size_t>(arcs.pointsPerCorner + 1));
  points.push_back(Quarter(centres[3][0] + a, centres[3][1]));
  double angle = 0;
  auto at = [&](const std::int64_t* c) {
    return Quarter(c[0] + RoundHalfUp(std::cos(angle) * static_cast<double>(a)),
                   c[1] - RoundHalfUp(std::sin(angle) * static_cast<double>(a)));
  };
  for (const auto& centre : centres) {
    points.push_back(at(centre));
    for (int i = 0; i < arcs.pointsPerCorner; ++i) {
      angle += arcs.angleStep;
      points.push_back(at(centre));
    }
  }
  return points;
}

bool CRoundedRect::Write(COutputChannel& out) {
  const std::vector<CQuarterPoint> points = OutlinePoints();
  CBlockWriter block(out);
  block.Line("^RPU\r\n");
  block.Move(points.front());
  block.Line("^RPD\r\n");
  for (std::size_t i = 1; i < points.size(); ++i) {
    block.Move(points[i]);
    block.FlushIfFull();
  }
  block.Line("^RPU\r\n");
  block.Flush();
  return block.Ok();
}

void CRoundedRect::Draw(CDrawCanvas& dc,
                        int x0,
                        int y0,
                        const CDotRect& clip,
                        int ox1,
                        int oy1,
                        int ox2,
                        int oy2,
                        ColorRef colour) {
  if (!HasInk()) return;
  const std::int64_t dx = std::int64_t{x0} + ox1 + ox2;
  const std::int64_t dy = std::int64_t{y0} + oy1 + oy2;
  const std::int64_t left = std::max<std::int64_t>(inkBox.left + dx, clip.left);
  const std::int64_t top = std::max<std::int64_t>(inkBox.top + dy, clip.top);
  const std::int64_t right = std::min<std::int64_t>(inkBox.right + dx, clip.right);
  const std::int64_t bottom = std::min<std::int64_t>(inkBox.bottom + dy, clip.bottom);
  if (right <= left || bottom <= top) return;

  const std::vector<CQuarterPoint> points = OutlinePoints();
  pointCount = 4 * (ComputeCornerArcs(radius).pointsPerCorner + 1);
  dc.SelectPen(colour, 1);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int x = static_cast<int>(SaturateToInt32(QuarterToDot(points[i].x) + dx));
    const int y = static_cast<int>(SaturateToInt32(QuarterToDot(points[i].y) + dy));
    if (i == 0) {
      dc.MoveTo(x, y);
    } else {
      dc.LineTo(x, y);
    }
  }
}

}  // namespace vyx
