// CCutObj: reading one pen stroke, its bookkeeping and its replay onto the drawing canvas.
#include "manager/model/cut_path.h"

#include <algorithm>

namespace vyx {

void CPenState::Reset(CCutObj& obj) {
  *this = CPenState();
  obj.pointCount = 0;
  obj.bezierCount = 0;
}

void CPenState::PenDown(CCutObj& obj) {
  if (!m_penDown && m_hasPending) {
    ++obj.pointCount;
    obj.firstPoint = m_pending;
    obj.ExtendInkBox(QuarterToDot(m_pending.x), QuarterToDot(m_pending.y));
  }
  m_penDown = true;
}

void CPenState::Move(CCutObj& obj, CQuarterPoint p) {
  if (m_penDown) {
    ++obj.pointCount;
    obj.ExtendInkBox(QuarterToDot(p.x), QuarterToDot(p.y));
  }
  Reposition(p);
}

void CPenState::Reposition(CQuarterPoint p) {
  m_recentMove = p;
  if (!m_penDown) {
    m_pending = p;
    m_hasPending = true;
  }
}

bool CPenState::PenUp(CCutObj& obj) {
  if (!m_penDown) return false;
  obj.lastPoint = m_recentMove;
  obj.closed = obj.lastPoint == obj.firstPoint ? 1 : 0;
  m_penDown = false;
  return true;
}

char* CCutObj::Parse(char* pos, char* limit) {
  if (pos == nullptr) return nullptr;
  CPenState pen;
  pen.Reset(*this);
  char* p = pos;
  CPenLine line;
  while (ReadPenLine(p, limit, line) && line.kind != kPenLineNotPen) {
    p = line.end;
    if (line.kind == kPenLineUp) {
      if (pen.PenUp(*this)) break;
    } else if (line.kind == kPenLineDown) {
      pen.PenDown(*this);
    } else if (line.kind == kPenLineMove) {
      CQuarterPoint to;
      if (ReadPenMove(line, to)) pen.Move(*this, to);
    } else if (line.kind == kPenLineBezier) {
      ++bezierCount;
    }
  }
  SetSpan(pos, p);
  return p;
}

namespace {

int ToDevice(std::int64_t v) {
  return static_cast<int>(SaturateToInt32(v));
}

}  // namespace

void CCutObj::Draw(CDrawCanvas& dc,
                   int x0,
                   int y0,
                   const CDotRect& clip,
                   int ox1,
                   int oy1,
                   int ox2,
                   int oy2,
                   ColorRef colour) {
  if (!HasInk() || textStart == nullptr || textEnd == nullptr) return;
  const std::int64_t dx = std::int64_t{x0} + ox1 + ox2;
  const std::int64_t dy = std::int64_t{y0} + oy1 + oy2;
  const std::int64_t left = std::max<std::int64_t>(inkBox.left + dx, clip.left);
  const std::int64_t top = std::max<std::int64_t>(inkBox.top + dy, clip.top);
  const std::int64_t right = std::min<std::int64_t>(inkBox.right + dx, clip.right);
  const std::int64_t bottom = std::min<std::int64_t>(inkBox.bottom + dy, clip.bottom);
  if (right <= left || bottom <= top) return;

  bool penDown = false;
  char* p = textStart;
  CPenLine line;
  while (p < textEnd && ReadPenLine(p, textEnd, line)) {
    p = line.end;
    if (line.kind == kPenLineDown) {
      dc.SelectPen(colour, 1);
      penDown = true;
    } else if (line.kind == kPenLineUp) {
      penDown = false;
    } else if (line.kind == kPenLineMove) {
      CQuarterPoint to;
      if (!ReadPenMove(line, to)) continue;
      const int x = ToDevice(QuarterToDot(to.x) + dx);
      const int y = ToDevice(QuarterToDot(to.y) + dy);
      if (penDown) {
        dc.LineTo(x, y);
      } else {
        dc.MoveTo(x, y);
      }
    }
  }
}

}  // namespace vyx
