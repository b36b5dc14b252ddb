// CCutObj: one pen-down stroke of the plotter read from the job text (first and last point, point and Bezier
// counts, closed flag, ink box in dots), written back unchanged and replayed onto the drawing canvas.
#pragma once

#include <cstdint>

#include "manager/model/pen_commands.h"
#include "manager/model/qzpl_obj.h"

namespace vyx {

class CCutObj : public CGraphicObj {
 public:
  int GetType() const override { return kTypeCutObj; }
  // Reads one stroke from pos: up to and including the ^RPU that lifts the pen after it went down, or up to the
  // first line that is not an ^RP line (or is unfinished). Returns where the next object begins.
  char* Parse(char* pos, char* limit) override;
  // Replays the span: ^RPD takes a solid pen of width 1 in `colour`, ^RPM moves or draws to the point in dots
  // moved by (x0 + ox1 + ox2, y0 + oy1 + oy2). Nothing is drawn when the moved ink box misses `clip`.
  void Draw(CDrawCanvas& dc, int x0, int y0, const CDotRect& clip, int ox1, int oy1, int ox2, int oy2, ColorRef colour)
      override;

  CQuarterPoint firstPoint;  // where the pen went down
  CQuarterPoint lastPoint;   // where the pen went up
  std::int32_t bezierCount = 0;
  std::int32_t pointCount = 0;  // points of the stroke, the first point included
  std::uint8_t closed = 0;      // last point equals first point
};

// The stroke bookkeeping shared by every reader of pen paths: pen state, the position waiting for the pen to go
// down, and the most recent move.
class CPenState {
 public:
  void Reset(CCutObj& obj);
  // ^RPD: counts the waiting position as the first point when the pen was up.
  void PenDown(CCutObj& obj);
  // A move to p: with the pen down a point of the stroke (counted, extends the ink box), with the pen up the
  // position waiting for ^RPD.
  void Move(CCutObj& obj, CQuarterPoint p);
  // Makes p the current position without counting it (a generated point whose counting is the caller's).
  void Reposition(CQuarterPoint p);
  // ^RPU: true when it ends the stroke (the pen was down); sets the last point and the closed flag then.
  bool PenUp(CCutObj& obj);

  bool IsPenDown() const { return m_penDown; }
  CQuarterPoint RecentMove() const { return m_recentMove; }

 private:
  bool m_penDown = false;
  bool m_hasPending = false;
  CQuarterPoint m_pending;
  CQuarterPoint m_recentMove;
};

}  // namespace vyx
