// CBezierCurve: a pen path whose ^RPB segments are flattened into ^RPM lines (with collinear moves merged) in a
// buffer of its own; and the flattening of one cubic segment.
#pragma once

#include <cstddef>
#include <memory>

#include "common/seams/debug_output.h"
#include "manager/model/cut_path.h"

namespace vyx {

// Most points one segment is flattened into.
constexpr int kMaxBezierPoints = 50;
// The curve's buffer holds this many bytes for every byte of the source path.
constexpr std::size_t kBezierBufferBytesPerSourceByte = 50;
// The point before the current position right after a pen-up: no point.
constexpr CQuarterPoint kNoPreviousPoint{-503, -727};

// Flattens the cubic segment p0 (current position), c[0], c[1], c[2] (end point) into at most `maxPoints`
// (1 to 50) points written to `out`, placed by the cumulative curvature measure; the last point is c[2] exactly.
// Returns the number of points. A placement shortfall is reported to `debug` (which may be null).
int FlattenBezierSegment(CQuarterPoint p0,
                         const CQuarterPoint c[3],
                         int maxPoints,
                         CQuarterPoint* out,
                         CDebugOutput* debug);

class CBezierCurve : public CCutObj {
 public:
  // `capacity`: size of the zero-filled buffer the flattened path is written into.
  explicit CBezierCurve(std::size_t capacity);
  CBezierCurve(const CBezierCurve&) = delete;
  CBezierCurve& operator=(const CBezierCurve&) = delete;

  int GetType() const override { return kTypeBezierCurve; }
  // Reads the source path [pos, limit) (the text of a stroke with Bezier lines) and writes it into the buffer:
  // ^RPB lines become ^RPM lines, every other line is copied. Returns the end of what was written; the caller sets
  // the span to Buffer() .. that end. No write ever passes the buffer's capacity.
  char* Parse(char* pos, char* limit) override;

  char* Buffer() { return m_buffer.get(); }
  std::size_t Capacity() const { return m_capacity; }

  CDebugOutput* debugOutput = nullptr;  // where the flattening's consistency message goes (none when null)

 private:
  // Appends `len` bytes, or fails without writing when they do not fit.
  bool Append(const char* bytes, std::size_t len);
  // Writes one flattened point, merging it with the previous move when the three points are collinear.
  void WritePoint(CQuarterPoint p, CPenState& pen);

  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
  std::size_t m_used = 0;
  CQuarterPoint m_previous = kNoPreviousPoint;  // A: the point before the current position
  CQuarterPoint m_current;                      // B: the current position
};

// Builds the flattened curve of a stroke that has Bezier lines, with a buffer of 50 bytes per byte of the stroke's
// text, and sets its span. Null when the stroke has no text.
std::unique_ptr<CBezierCurve> BuildBezierCurve(const CCutObj& stroke, CDebugOutput* debug);

}  // namespace vyx
