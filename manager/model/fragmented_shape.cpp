// CFragmentedShape: collecting open strokes and joining them into one closed outline.
#include "manager/model/fragmented_shape.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vyx {

namespace {

constexpr int kMinFragments = 6;
constexpr double kPi = 3.14159265359;
constexpr double kTwoPi = 6.28318530718;
constexpr char kPenUpLine[] = "^RPU\r\n";
constexpr std::size_t kPenUpLineBytes = sizeof(kPenUpLine) - 1;

CDotRect Grow(const CDotRect& r, std::int32_t by) {
  return {SaturateToInt32(std::int64_t{r.left} - by), SaturateToInt32(std::int64_t{r.top} - by),
          SaturateToInt32(std::int64_t{r.right} + by), SaturateToInt32(std::int64_t{r.bottom} + by)};
}

// The valid move lines of a fragment's text, in text order.
std::vector<CPenLine> CollectMoveLines(const CCutObj& fragment) {
  std::vector<CPenLine> moves;
  char* p = fragment.textStart;
  CPenLine line;
  CQuarterPoint to;
  while (p != nullptr && p < fragment.textEnd && ReadPenLine(p, fragment.textEnd, line)) {
    p = line.end;
    if (line.kind == kPenLineMove && ReadPenMove(line, to)) moves.push_back(line);
  }
  return moves;
}

}  // namespace

CFragmentedShape::~CFragmentedShape() {
  for (CCutObj* fragment : m_fragments) delete fragment;
}

std::vector<CCutObj*> CFragmentedShape::TakeFragments() {
  std::vector<CCutObj*> taken;
  taken.swap(m_fragments);
  return taken;
}

int CFragmentedShape::AddFragment(CCutObj* stroke) {
  if (stroke == nullptr || stroke->pointCount == 0) return kFragmentMissing;
  m_fragments.push_back(stroke);
  ExtendInkBox(stroke->inkBox);
  const std::size_t count = m_fragments.size();
  if (count < kMinFragments) return kFragmentCollecting;
  if (count % 2 != 0) return kFragmentOddCount;
  const CDotRect around = IntersectRect(Grow(m_fragments.front()->inkBox, 2), Grow(stroke->inkBox, 1));
  return around.IsEmpty() ? kFragmentNotBack : kFragmentBackAtStart;
}

bool CFragmentedShape::IsOrientedForward(const CCutObj& fragment) const {
  const std::int64_t cx = (std::int64_t{inkBox.left} + inkBox.right) / 2;
  const std::int64_t cy = (std::int64_t{inkBox.top} + inkBox.bottom) / 2;
  const std::int64_t fx = (std::int64_t{fragment.inkBox.left} + fragment.inkBox.right) / 2;
  const std::int64_t fy = (std::int64_t{fragment.inkBox.top} + fragment.inkBox.bottom) / 2;
  const double toCentre = std::atan2(static_cast<double>(fy - cy), static_cast<double>(fx - cx));
  const double toStart = std::atan2(static_cast<double>(QuarterToDot(fragment.firstPoint.y) - cy),
                                    static_cast<double>(QuarterToDot(fragment.firstPoint.x) - cx));
  double turn = toCentre - toStart;
  if (turn >= kPi) {
    turn -= kTwoPi;
  } else if (turn <= -kPi) {
    turn += kTwoPi;
  }
  return turn > 0;
}

bool CFragmentedShape::Append(const char* bytes, std::size_t len) {
  if (len > m_capacity - m_used) return false;
  std::memcpy(m_buffer.get() + m_used, bytes, len);
  m_used += len;
  return true;
}

void CFragmentedShape::AppendMoves(const CCutObj& fragment, bool inTextOrder) {
  const std::vector<CPenLine> moves = CollectMoveLines(fragment);
  if (moves.empty()) return;
  auto append = [this](const CPenLine& line) {
    if (Append(line.start, static_cast<std::size_t>(line.end - line.start))) ++pointCount;
  };
  if (inTextOrder) {
    for (std::size_t i = 1; i < moves.size(); ++i) append(moves[i]);
  } else {
    for (std::size_t i = moves.size() - 1; i > 0; --i) append(moves[i - 1]);
  }
}

int CFragmentedShape::UndoRotation() {
  const std::size_t count = m_fragments.size();
  std::size_t moved = 0;
  while (rotationCount > 0 && m_fragments.back()->pointCount <= 2) {
    std::rotate(m_fragments.rbegin(), m_fragments.rbegin() + 1, m_fragments.rend());
    --rotationCount;
    if (++moved >= count) return kAssembleAbandoned;
  }
  return kAssembleOpen;
}

int CFragmentedShape::Assemble() {
  const std::size_t count = m_fragments.size();
  if (count < kMinFragments) return kAssembleTooFew;
  for (const CCutObj* fragment : m_fragments) {
    if (fragment == nullptr) return kAssembleMissing;
  }

  // Start from a fragment with more than 2 points.
  std::size_t moved = 0;
  while (m_fragments.front()->pointCount <= 2) {
    std::rotate(m_fragments.begin(), m_fragments.begin() + 1, m_fragments.end());
    ++rotationCount;
    if (++moved >= count) return kAssembleAbandoned;
  }

  // The joined path is made of pieces of the fragments' texts plus at most one closing move and the pen-up line.
  // The fragments need not lie in one buffer (flattened curves have their own), so the room is their total.
  std::size_t capacity = kMaxPenMoveLineBytes + kPenUpLineBytes;
  for (const CCutObj* fragment : m_fragments) {
    if (fragment->textStart != nullptr && fragment->textEnd > fragment->textStart) {
      capacity += static_cast<std::size_t>(fragment->textEnd - fragment->textStart);
    }
  }
  m_buffer = std::make_unique<char[]>(capacity + 1);
  m_capacity = capacity;
  m_used = 0;

  const CCutObj& first = *m_fragments.front();
  if (first.textStart != nullptr && first.textEnd > first.textStart) {
    Append(first.textStart, static_cast<std::size_t>(first.textEnd - first.textStart));
  }
  char* buf = m_buffer.get();
  while (m_used >= kPenUpLineBytes && std::memcmp(buf + m_used - kPenUpLineBytes, kPenUpLine, kPenUpLineBytes) == 0) {
    m_used -= kPenUpLineBytes;
    std::memset(buf + m_used, 0, kPenUpLineBytes);
  }
  firstPoint = first.firstPoint;
  pointCount = first.pointCount;
  bezierCount = 0;
  for (const CCutObj* fragment : m_fragments) bezierCount += fragment->bezierCount;

  const bool forward = IsOrientedForward(first);
  std::vector<const CCutObj*> order;
  if (IsOrientedForward(*m_fragments[1]) == forward) {
    for (std::size_t i = 1; i < count; ++i) order.push_back(m_fragments[i]);
  } else {
    for (std::size_t i = count - 1; i >= 1; --i) order.push_back(m_fragments[i]);
  }
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    AppendMoves(*order[i], IsOrientedForward(*order[i]) == forward);
  }

  const CCutObj& closing = *order.back();
  const bool finalForward = IsOrientedForward(closing) == forward;
  lastPoint = finalForward ? closing.lastPoint : closing.firstPoint;
  if (lastPoint == firstPoint) {
    AppendMoves(closing, finalForward);
  } else {
    const std::int64_t gapX = std::int64_t{lastPoint.x} - firstPoint.x;
    const std::int64_t gapY = std::int64_t{lastPoint.y} - firstPoint.y;
    if (gapX > kMaxClosingGap || gapX < -kMaxClosingGap || gapY > kMaxClosingGap || gapY < -kMaxClosingGap) {
      m_buffer.reset();
      m_capacity = 0;
      m_used = 0;
      return UndoRotation();
    }
    const std::size_t len = FormatPenMove(buf + m_used, m_capacity - m_used, firstPoint);
    m_used += len;
    if (len != 0) ++pointCount;
  }
  closed = 1;
  Append(kPenUpLine, kPenUpLineBytes);
  SetSpan(buf, buf + m_used);
  return kAssembleDone;
}

}  // namespace vyx
