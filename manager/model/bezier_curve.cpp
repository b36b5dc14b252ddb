// CBezierCurve: flattening of cubic segments by their curvature measure and the rewriting of a path with moves.
#include "manager/model/bezier_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vyx {

namespace {

constexpr int kSamples = 50;  // intervals of t; 51 samples
constexpr double kSampleStep = 0.02;

// Coefficients of B(t) = a0 + a1 t + a2 t^2 + a3 t^3 on one axis. The integer combinations are formed in 64 bits,
// where 32-bit coordinates cannot overflow them.
struct CAxisPolynomial {
  double a0, a1, a2, a3;
  CAxisPolynomial(std::int64_t p0, std::int64_t p1, std::int64_t p2, std::int64_t p3)
      : a0(static_cast<double>(p0)),
        a1(static_cast<double>(3 * (p1 - p0))),
        a2(static_cast<double>(3 * (p0 - 2 * p1 + p2))),
        a3(static_cast<double>(3 * (p1 - p2) + p3 - p0)) {}
  double At(double t) const { return a0 + a1 * t + a2 * t * t + a3 * t * t * t; }
  double Velocity(double t) const { return a1 + 2 * a2 * t + 3 * a3 * t * t; }
  double Acceleration(double t) const { return 2 * a2 + 6 * a3 * t; }
};

// trunc(v + 0.5): halves round up on the positive side and towards zero on the negative side. The value of a point
// of the curve lies inside the box of its control points, so only rounding at the extremes of the 32-bit range
// could leave it; there it is held at the range's ends.
std::int32_t RoundPoint(double v) {
  const double r = std::trunc(v + 0.5);
  if (!(r >= INT32_MIN)) return INT32_MIN;
  if (r > INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(r);
}

// Unsigned 128-bit product of two values below 2^63, as (high, low).
struct CWide {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
  friend bool operator==(const CWide&, const CWide&) = default;
};

CWide MultiplyWide(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t mask = 0xFFFFFFFFu;
  const std::uint64_t p00 = (a & mask) * (b & mask);
  const std::uint64_t p01 = (a & mask) * (b >> 32);
  const std::uint64_t p10 = (a >> 32) * (b & mask);
  const std::uint64_t p11 = (a >> 32) * (b >> 32);
  const std::uint64_t mid = (p00 >> 32) + (p01 & mask) + (p10 & mask);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (p00 & mask) | (mid << 32)};
}

std::uint64_t Magnitude(std::int64_t v) {
  return v < 0 ? 0 - static_cast<std::uint64_t>(v) : v;
}

// Exact a * b == c * d for values of at most 34 bits.
bool ProductsEqual(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const bool zero1 = a == 0 || b == 0;
  const bool zero2 = c == 0 || d == 0;
  if (zero1 || zero2) return zero1 == zero2;
  if (((a < 0) != (b < 0)) != ((c < 0) != (d < 0))) return false;
  return MultiplyWide(Magnitude(a), Magnitude(b)) == MultiplyWide(Magnitude(c), Magnitude(d));
}

// Whether the new point p is appended as a point of its own after A (the point before) and B (the current
// position): A, B and p must be distinct, and p must turn away from the line A -> B or not lie beyond B on it.
// The squared dot product of (B - A) and (p - A) equals the product of their squared lengths exactly when the
// cross product vanishes; for parallel vectors the squared lengths compare as their sums of absolute components
// do, which stay exact in 64 bits.
bool AppendsPoint(CQuarterPoint a, CQuarterPoint b, CQuarterPoint p) {
  if (a == b || p == a || p == b) return false;
  const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
  const std::int64_t ex = std::int64_t{p.x} - a.x, ey = std::int64_t{p.y} - a.y;
  if (!ProductsEqual(dx, ey, dy, ex)) return true;
  return Magnitude(dx) + Magnitude(dy) >= Magnitude(ex) + Magnitude(ey);
}

// Longest move line any point inside the box of the four control points can need.
std::size_t WidestMoveLine(CQuarterPoint p0, const CQuarterPoint c[3]) {
  std::int32_t minX = p0.x, maxX = p0.x, minY = p0.y, maxY = p0.y;
  for (int i = 0; i < 3; ++i) {
    minX = std::min(minX, c[i].x);
    maxX = std::max(maxX, c[i].x);
    minY = std::min(minY, c[i].y);
    maxY = std::max(maxY, c[i].y);
  }
  std::size_t widest = 0;
  for (std::int32_t x : {minX, maxX}) {
    for (std::int32_t y : {minY, maxY}) widest = std::max(widest, PenMoveLineLength({x, y}));
  }
  return widest;
}

}  // namespace

int FlattenBezierSegment(CQuarterPoint p0,
                         const CQuarterPoint c[3],
                         int maxPoints,
                         CQuarterPoint* out,
                         CDebugOutput* debug) {
  maxPoints = std::clamp(maxPoints, 1, kMaxBezierPoints);
  const CAxisPolynomial bx(p0.x, c[0].x, c[1].x, c[2].x);
  const CAxisPolynomial by(p0.y, c[0].y, c[1].y, c[2].y);

  double measure[kSamples + 1];
  double previousF = 0;
  for (int k = 0; k <= kSamples; ++k) {
    const double t = k * kSampleStep;
    const double vx = bx.Velocity(t), vy = by.Velocity(t);
    const double ax = bx.Acceleration(t), ay = by.Acceleration(t);
    const double s = std::sqrt(vx * vx + vy * vy);
    const double curvature = s < 0.001 ? 0.0 : std::fabs(ax * vy - ay * vx) / (s * s * s);
    const double f = std::pow(s, 1.333) * curvature;
    measure[k] = k == 0 ? 0.0 : measure[k - 1] + (f + previousF) * 0.5 * kSampleStep;
    previousF = f;
  }
  const double total = measure[kSamples];

  const double wanted = total * 1.333 + 0.5;
  int n = 1;
  if (wanted >= kMaxBezierPoints) {
    n = kMaxBezierPoints;
  } else if (wanted >= 1) {
    n = static_cast<int>(wanted);
  }
  n = std::min(n, maxPoints);

  int placed = 0;
  for (int j = 1; j < n; ++j) {
    const double value = total * j / n;
    for (int k = 1; k <= kSamples; ++k) {
      if (measure[k - 1] < value && value <= measure[k]) {
        const double t = (k - (measure[k] - value) / (measure[k] - measure[k - 1])) * kSampleStep;
        out[placed++] = {RoundPoint(bx.At(t)), RoundPoint(by.At(t))};
        break;
      }
    }
  }
  if (placed < n - 1 && debug != nullptr) debug->Print(L"iBezierCurvePoint + 1 != nBezierCurvePoints\n");
  out[placed] = c[2];
  return placed + 1;
}

CBezierCurve::CBezierCurve(std::uint64_t capacity) : m_buffer(1, '\0'), m_capacity(capacity) {}

char* CBezierCurve::MakeRoom(std::size_t at, std::size_t len) {
  // Growing doubles the block (never past the capacity), so every byte is moved a bounded number of times; the new
  // part is zero-filled and one zero byte always follows the text.
  const std::size_t needed = at + len + 1;
  if (needed > m_buffer.size()) {
    std::size_t grown = std::max(needed, m_buffer.size() * 2);
    if (grown - 1 > m_capacity) grown = needed;
    m_buffer.resize(grown, '\0');
  }
  return m_buffer.data() + at;
}

std::size_t CBezierCurve::RoomAt(std::size_t at) const {
  return at >= m_capacity ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(m_capacity - at, SIZE_MAX));
}

bool CBezierCurve::Append(const char* bytes, std::size_t len) {
  if (len > RoomAt(m_used)) return false;
  std::memcpy(MakeRoom(m_used, len), bytes, len);
  m_used += len;
  return true;
}

std::size_t CBezierCurve::WriteMove(std::size_t at, CQuarterPoint p) {
  const std::size_t len = PenMoveLineLength(p);
  if (len > RoomAt(at)) return 0;
  return FormatPenMove(MakeRoom(at, len), len, p);
}

void CBezierCurve::WritePoint(CQuarterPoint p, CPenState& pen) {
  ExtendInkBox(QuarterToDot(p.x), QuarterToDot(p.y));
  if (AppendsPoint(m_previous, m_current, p)) {
    const std::size_t len = WriteMove(m_used, p);
    if (len == 0) return;
    m_used += len;
    ++pointCount;
    m_previous = m_current;
  } else {
    // p continues the run (or repeats a point): a move line at the end of the buffer is replaced by the move to p.
    const char* buf = m_buffer.data();
    std::size_t caret = m_used;
    const std::size_t floor = m_used > 32 ? m_used - 32 : 0;
    for (std::size_t i = m_used; i > floor; --i) {
      if (buf[i - 1] == '^') {
        caret = i - 1;
        break;
      }
    }
    const bool replace = caret < m_used && m_used - caret >= 4 && std::memcmp(buf + caret, "^RPM", 4) == 0;
    const std::size_t at = replace ? caret : m_used;
    const std::size_t len = WriteMove(at, p);
    if (len == 0) return;
    const std::size_t oldEnd = m_used;
    m_used = at + len;
    if (m_used < oldEnd) std::memset(m_buffer.data() + m_used, 0, oldEnd - m_used);
  }
  m_current = p;
  pen.Reposition(p);
}

char* CBezierCurve::Parse(char* pos, char* limit) {
  // Nothing beyond what an earlier Parse left in use was ever written (a replaced longer line is cleared at once).
  std::memset(m_buffer.data(), 0, m_used);
  m_used = 0;
  m_previous = kNoPreviousPoint;
  m_current = {};
  CPenState pen;
  pen.Reset(*this);
  if (pos == nullptr) return m_buffer.data();

  char* p = pos;
  CPenLine line;
  while (ReadPenLine(p, limit, line) && line.kind != kPenLineNotPen) {
    p = line.end;
    if (line.kind == kPenLineBezier) {
      ++bezierCount;
      CQuarterPoint controls[3];
      if (!ReadPenBezier(line, controls)) continue;
      // Whatever the rest of the source could still copy stays reserved, so the flattened moves can only take
      // the room that is left over; far beyond any real path they are spread over fewer points.
      const std::uint64_t reserve = static_cast<std::uint64_t>(limit - p);
      const std::uint64_t room = m_capacity - std::min<std::uint64_t>(m_used, m_capacity);
      const std::uint64_t budget = room > reserve ? room - reserve : 0;
      const std::uint64_t fit = budget / WidestMoveLine(m_current, controls);
      if (fit == 0) continue;
      CQuarterPoint points[kMaxBezierPoints];
      const int maxPoints = static_cast<int>(std::min<std::uint64_t>(fit, kMaxBezierPoints));
      const int n = FlattenBezierSegment(m_current, controls, maxPoints, points, debugOutput);
      for (int i = 0; i < n; ++i) WritePoint(points[i], pen);
      continue;
    }
    if (!Append(line.start, static_cast<std::size_t>(line.end - line.start))) break;
    if (line.kind == kPenLineUp) {
      m_previous = kNoPreviousPoint;
      if (pen.PenUp(*this)) break;
    } else if (line.kind == kPenLineDown) {
      pen.PenDown(*this);
    } else if (line.kind == kPenLineMove) {
      CQuarterPoint to;
      if (!ReadPenMove(line, to)) continue;
      if (pen.IsPenDown()) m_previous = m_current;
      m_current = to;
      pen.Move(*this, to);
    }
  }
  return m_buffer.data() + m_used;
}

void CBezierCurve::ReleaseSpareRoom() {
  m_buffer.resize(m_used + 1);
  m_buffer.shrink_to_fit();
}

std::unique_ptr<CBezierCurve> BuildBezierCurve(const CCutObj& stroke, CDebugOutput* debug) {
  if (stroke.textStart == nullptr || stroke.textEnd == nullptr || stroke.textEnd < stroke.textStart) return nullptr;
  // In 64 bits: a path of more than 86 MB would wrap a 32-bit size.
  const auto length = static_cast<std::uint64_t>(stroke.textEnd - stroke.textStart);
  auto curve = std::make_unique<CBezierCurve>(length * kBezierBufferBytesPerSourceByte);
  curve->debugOutput = debug;
  curve->Parse(stroke.textStart, stroke.textEnd);
  curve->ReleaseSpareRoom();
  curve->SetSpan(curve->Buffer(), curve->Buffer() + curve->Used());
  return curve;
}

}  // namespace vyx
