// CBarTenderEllipsis: the arc test, collecting four arcs and building the ellipse text.
#include "manager/model/bartender_ellipsis.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vyx {

namespace {

constexpr double kTwoPi = 6.28318530718;
constexpr double kPi = kTwoPi / 2;
constexpr int kArcCount = 4;
// Room for one move line as the original layout sized it; wider coordinates get room for the widest line.
constexpr std::size_t kCompactMoveLineBytes = 17;
constexpr std::size_t kCompactFixedBytes = 37;
constexpr std::size_t kPenLineBytes = 6;  // "^RPU\r\n" or "^RPD\r\n"

std::int64_t RoundHalfUp(double v) {
  return static_cast<std::int64_t>(std::floor(v + 0.5));
}

}  // namespace

bool IsBarTenderArc(const CCutObj& path) {
  return path.closed && path.bezierCount == 0 && path.pointCount > 25 && path.pointCount % 2 != 0;
}

CBarTenderEllipsis::~CBarTenderEllipsis() {
  for (CCutObj* arc : m_arcs) delete arc;
}

std::vector<CCutObj*> CBarTenderEllipsis::TakeArcs() {
  std::vector<CCutObj*> taken;
  taken.swap(m_arcs);
  return taken;
}

int CBarTenderEllipsis::AddArc(CCutObj* path) {
  if (path == nullptr) return m_arcs.size() < kArcCount ? kArcCollecting : kArcComplete;
  m_arcs.push_back(path);
  ExtendInkBox(path->inkBox);
  if (m_arcs.size() < kArcCount) return kArcCollecting;
  horizontalRadius = 2.0 * static_cast<double>(inkBox.Width());
  verticalRadius = 2.0 * static_cast<double>(inkBox.Height());
  return kArcComplete;
}

std::int64_t CBarTenderEllipsis::SegmentCount() const {
  if (!HasInk() || inkBox.IsEmpty()) return 0;
  const double d = std::sqrt(static_cast<double>(inkBox.Width()) * static_cast<double>(inkBox.Height()));
  const double s = std::max(std::sqrt(d), 16.0);
  return static_cast<std::int64_t>(std::floor(kPi * d / s + 0.5));
}

bool CBarTenderEllipsis::Build() {
  // A box of a few dots rounds to no segment at all; its angle step would divide by zero.
  const std::int64_t n = SegmentCount();
  if (n < 1) return false;
  const double step = kTwoPi / static_cast<double>(n);
  const std::int64_t cx = 4 * ((std::int64_t{inkBox.left} + inkBox.right) / 2);
  const std::int64_t cy = 4 * ((std::int64_t{inkBox.top} + inkBox.bottom) / 2);
  auto at = [&](double angle) {
    return CQuarterPoint{SaturateToInt32(cx + RoundHalfUp(std::cos(angle) * horizontalRadius)),
                         SaturateToInt32(cy - RoundHalfUp(std::sin(angle) * verticalRadius))};
  };

  const std::size_t count = static_cast<std::size_t>(n);
  const CQuarterPoint start = at(0);
  // Every point lies within the box of the radii around the centre; its corners have the longest lines.
  const std::int64_t rx = RoundHalfUp(horizontalRadius), ry = RoundHalfUp(verticalRadius);
  std::size_t widest = 0;
  for (const std::int64_t x : {cx - rx, cx + rx}) {
    for (const std::int64_t y : {cy - ry, cy + ry}) {
      widest = std::max(widest, PenMoveLineLength({SaturateToInt32(x), SaturateToInt32(y)}));
    }
  }
  const std::size_t lineRoom = widest <= kCompactMoveLineBytes ? kCompactMoveLineBytes : kMaxPenMoveLineBytes;
  m_capacity = lineRoom == kCompactMoveLineBytes ? kCompactMoveLineBytes * count + kCompactFixedBytes
                                                 : kMaxPenMoveLineBytes * (count + 1) + 3 * kPenLineBytes;
  m_buffer = std::make_unique<char[]>(m_capacity);
  char* buf = m_buffer.get();
  std::size_t used = 0;
  auto line = [&](const char* text) {
    const std::size_t len = std::strlen(text);
    if (len > m_capacity - used) return;
    std::memcpy(buf + used, text, len);
    used += len;
  };
  auto move = [&](CQuarterPoint p) { used += FormatPenMove(buf + used, m_capacity - used, p); };

  line("^RPU\r\n");
  move(start);
  line("^RPD\r\n");
  double angle = 0;
  for (std::size_t i = 0; i < count; ++i) {
    angle += step;
    move(at(angle));
  }
  line("^RPU\r\n");

  firstPoint = CQuarterPoint{SaturateToInt32(cx + RoundHalfUp(horizontalRadius)), SaturateToInt32(cy)};
  lastPoint = firstPoint;
  closed = 1;
  pointCount = SaturateToInt32(n + 1);
  bezierCount = 0;
  SetSpan(buf, buf + used);
  return true;
}

}  // namespace vyx
