// CBarTenderRect: the side test with its cap shapes, collecting sides and corner pieces, and the centre line.
#include "manager/model/bartender_rect.h"

#include <algorithm>
#include <cmath>

namespace vyx {

namespace {

constexpr int kCapPoints = 6;

// The first six points of a bar, or false when the pen goes up or a Bezier line comes first.
bool CollectCapPoints(const CCutObj& path, CQuarterPoint points[kCapPoints]) {
  if (path.textStart == nullptr || path.textEnd == nullptr) return false;
  const bool fivePoints = path.pointCount == 5;
  int held = 0;
  bool penDown = false;
  bool hasPending = false;
  CQuarterPoint pending;
  char* p = path.textStart;
  CPenLine line;
  while (held < kCapPoints && p < path.textEnd && ReadPenLine(p, path.textEnd, line)) {
    p = line.end;
    if (line.kind == kPenLineBezier) return false;
    if (line.kind == kPenLineUp) {
      if (penDown) return false;
    } else if (line.kind == kPenLineDown) {
      if (!penDown && hasPending) points[held++] = pending;
      penDown = true;
    } else if (line.kind == kPenLineMove) {
      CQuarterPoint to;
      if (!ReadPenMove(line, to)) continue;
      if (!penDown) {
        pending = to;
        hasPending = true;
        continue;
      }
      points[held++] = to;
      if (fivePoints && held == 3) points[held++] = to;
    }
  }
  return held == kCapPoints;
}

}  // namespace

int CapValue(CQuarterPoint a, CQuarterPoint b, CQuarterPoint c, bool vertical) {
  if (!vertical) {
    std::swap(a.x, a.y);
    std::swap(b.x, b.y);
    std::swap(c.x, c.y);
  }
  if (a.y == b.y || a.x == c.x) return 0;
  const std::int64_t e = std::llabs(std::int64_t{a.x} - c.x);
  const bool between = (a.x < b.x && b.x < c.x) || (c.x < b.x && b.x < a.x);
  const double middle = (static_cast<double>(a.x) + static_cast<double>(c.x)) / 2.0;
  if (!between || std::fabs(static_cast<double>(b.x) - middle) > 0.51) return 0;
  const std::int64_t rise = std::int64_t{a.y} - b.y;
  if (rise <= 0) return rise > -e ? -1 : 0;
  return rise < e ? 1 : 0;
}

bool HasCapShape(const CCutObj& path, bool vertical) {
  CQuarterPoint p[kCapPoints];
  if (!CollectCapPoints(path, p)) return false;
  const bool levelEnds = vertical ? (p[0].y == p[2].y && p[3].y == p[5].y) : (p[0].x == p[2].x && p[3].x == p[5].x);
  if (!levelEnds) return false;
  const int first = CapValue(p[0], p[1], p[2], vertical);
  const int second = CapValue(p[3], p[4], p[5], vertical);
  return first != 0 && second == -first;
}

bool IsBarTenderSide(const CCutObj& path) {
  if (!path.closed || path.bezierCount != 0 || !path.HasInk()) return false;
  const std::int64_t w = path.inkBox.Width();
  const std::int64_t h = path.inkBox.Height();
  const std::int32_t n = path.pointCount;
  if (n == 5 || n == 7) {
    if (w > 0 && w <= 3 && (h > 58 || HasCapShape(path, true))) return true;
    if (h > 0 && h <= 3 && (w > 58 || HasCapShape(path, false))) return true;
    return false;
  }
  if (n % 2 != 0 && n > 7 && n < 30) {
    return (w > 0 && w <= 14 && 4 * w < h) || (h > 0 && h <= 14 && 4 * h < w);
  }
  return false;
}

CBarTenderRect::~CBarTenderRect() {
  for (CCutObj* piece : m_pieces) delete piece;
}

std::vector<CCutObj*> CBarTenderRect::TakePieces() {
  std::vector<CCutObj*> taken;
  taken.swap(m_pieces);
  return taken;
}

int CBarTenderRect::AddSide(CCutObj* path) {
  if (path == nullptr) return pendingCorners > 0 || sideCount >= 4 ? kSideFinished : kSideCollecting;
  m_pieces.push_back(path);
  if (pendingCorners > 0) {
    return --pendingCorners == 0 ? kSideFinished : kSideCorners;
  }
  ExtendInkBox(path->inkBox);
  ++sideCount;
  if (sideCount < 4) return kSideCollecting;
  if (sideCount > 4 || !ComputeCentreLine()) {
    // Bars that do not outline a rectangle are cut as they came; nothing more is collected.
    centreLineFailed = true;
    return kSideFinished;
  }
  PlaceStartPoint();
  closed = 1;
  if (radius < kMinArcRadius) return kSideFinished;
  pendingCorners = 4;
  return kSideCorners;
}

bool CBarTenderRect::ComputeCentreLine() {
  const std::int64_t l = inkBox.left, t = inkBox.top, r = inkBox.right, b = inkBox.bottom;
  const std::int64_t w = r - l, h = b - t;
  const std::int64_t f = std::max<std::int64_t>((w + 2) / 5, 3);
  const std::int64_t g = std::max<std::int64_t>((h + 2) / 5, 3);
  const std::int64_t middleY = (t + b) / 2;
  const std::int64_t middleX = (l + r) / 2;
  CDotRect centre = inkBox;
  std::int64_t shortfalls = 0;
  for (const CCutObj* side : m_pieces) {
    const CDotRect& s = side->inkBox;
    if (s.bottom < middleY - g) {
      centre.top = static_cast<std::int32_t>((t + s.bottom) / 2);
      shortfalls += w - s.Width();
    } else if (middleX + f < s.left) {
      centre.right = static_cast<std::int32_t>((r + s.left) / 2);
      shortfalls += h - s.Height();
    } else if (middleY + g < s.top) {
      centre.bottom = static_cast<std::int32_t>((b + s.top) / 2);
      shortfalls += w - s.Width();
    } else if (s.right < middleX - f) {
      centre.left = static_cast<std::int32_t>((l + s.right) / 2);
      shortfalls += h - s.Height();
    } else {
      return false;
    }
  }
  inkBox = centre;
  radius = SaturateToInt32((shortfalls + 1) / 2);
  return true;
}

}  // namespace vyx
