// CBarTenderRect: collects the four thin bars (and the corner pieces) that BarTender sends for a rectangle
// outline, and cuts them as one rounded rectangle along the middle of the bars; with the side test that
// recognises such a bar.
#pragma once

#include <cstdint>
#include <vector>

#include "manager/model/rounded_rect.h"

namespace vyx {

// Results of adding a side.
enum : int {
  kSideCollecting = 0,  // fewer than four sides
  kSideCorners = 1,     // collecting corner pieces
  kSideFinished = 2,    // the collection is complete (or cannot become a rectangle)
};

// The cap value of three points (+1 or -1 for a pointed end, 0 otherwise); `vertical` compares y offsets against
// the spread in x, otherwise x and y are exchanged.
int CapValue(CQuarterPoint a, CQuarterPoint b, CQuarterPoint c, bool vertical);
// Whether the bar's first six points (pen-up position and pen-down moves; the third point twice for a 5-point
// path) form opposite pointed caps at its two ends.
bool HasCapShape(const CCutObj& path, bool vertical);
// Whether the path is one side of a BarTender rectangle outline.
bool IsBarTenderSide(const CCutObj& path);

class CBarTenderRect : public CRoundedRect {
 public:
  CBarTenderRect() = default;
  CBarTenderRect(const CBarTenderRect&) = delete;
  CBarTenderRect& operator=(const CBarTenderRect&) = delete;
  ~CBarTenderRect() override;

  int GetType() const override { return kTypeBarTenderRect; }

  // Takes ownership of `path`; see the result codes above.
  int AddSide(CCutObj* path);
  // Four sides whose centre line was found, and every corner piece absorbed: cut as one rectangle.
  bool IsComplete() const { return sideCount == 4 && pendingCorners == 0 && !centreLineFailed; }
  // Hands the collected pieces over to the caller, who then owns them.
  std::vector<CCutObj*> TakePieces();
  const std::vector<CCutObj*>& Pieces() const { return m_pieces; }

  std::int32_t sideCount = 0;
  std::int32_t pendingCorners = 0;
  // Set when a side lay on none of the four sides of the collected box: the bars do not outline a rectangle.
  bool centreLineFailed = false;

 private:
  // Moves the ink box onto the middle of the four sides and derives the radius from their shortfalls.
  bool ComputeCentreLine();

  std::vector<CCutObj*> m_pieces;
};

}  // namespace vyx
