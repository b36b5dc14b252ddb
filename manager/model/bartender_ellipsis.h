// CBarTenderEllipsis: collects the four quarter bands that BarTender sends for an ellipse outline and cuts them as
// one ellipse through the middle of the bands, written into a buffer of its own; with the arc test.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "manager/model/cut_path.h"

namespace vyx {

// Results of adding an arc.
enum : int {
  kArcCollecting = 0,  // fewer than four arcs
  kArcComplete = 1,    // four arcs held: build and accept
};

// Whether the path is one quarter band of a BarTender ellipse outline.
bool IsBarTenderArc(const CCutObj& path);

class CBarTenderEllipsis : public CCutObj {
 public:
  CBarTenderEllipsis() = default;
  CBarTenderEllipsis(const CBarTenderEllipsis&) = delete;
  CBarTenderEllipsis& operator=(const CBarTenderEllipsis&) = delete;
  ~CBarTenderEllipsis() override;

  int GetType() const override { return kTypeBarTenderEllipsis; }

  // Takes ownership of `path` and extends the ink box by its ink box; with four arcs the radii are set.
  int AddArc(CCutObj* path);
  // Writes the ellipse through the middle of the collected box into the own buffer and makes it the span.
  // False (nothing built) without an ink box, or when the ellipse is too small for a single segment.
  bool Build();
  // Number of segments the ellipse of the current ink box is cut with (0 when it is too small or has no box).
  std::int64_t SegmentCount() const;
  // Hands the collected arcs over to the caller, who then owns them.
  std::vector<CCutObj*> TakeArcs();
  const std::vector<CCutObj*>& Arcs() const { return m_arcs; }

  char* Buffer() { return m_buffer.get(); }
  std::size_t Capacity() const { return m_capacity; }

  double horizontalRadius = 0;  // quarter dots
  double verticalRadius = 0;    // quarter dots

 private:
  std::vector<CCutObj*> m_arcs;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
};

}  // namespace vyx
