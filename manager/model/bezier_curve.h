// CBezierCurve: a pen path whose ^RPB segments are flattened into ^RPM lines (with collinear moves merged) in a
// buffer of its own; and the flattening of one cubic segment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/seams/debug_output.h"
#include "manager/model/cut_path.h"

namespace vyx {

// Most points one segment is flattened into.
constexpr int kMaxBezierPoints = 50;
// The curve's capacity: this many bytes for every byte of the source path.
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
  // `capacity`: most bytes the flattened path may take. The buffer grows with what is written (zero-filled, one
  // zero byte after the text) and never past the capacity, so memory follows the text actually written.
  explicit CBezierCurve(std::uint64_t capacity);
  CBezierCurve(const CBezierCurve&) = delete;
  CBezierCurve& operator=(const CBezierCurve&) = delete;

  int GetType() const override { return kTypeBezierCurve; }
  // Reads the source path [pos, limit) (the text of a stroke with Bezier lines) and writes it into the buffer:
  // ^RPB lines become ^RPM lines, every other line is copied. Returns the end of what was written; the caller sets
  // the span to Buffer() .. that end. Nothing written ever passes the capacity.
  char* Parse(char* pos, char* limit) override;

  char* Buffer() { return m_buffer.data(); }
  std::uint64_t Capacity() const { return m_capacity; }
  std::size_t Used() const { return m_used; }
  // Bytes the buffer holds now: what was written, the zero byte after it and room not used yet.
  std::size_t Allocated() const { return m_buffer.size(); }
  // Gives back the room beyond the text and its zero byte (the text is final).
  void ReleaseSpareRoom();

  CDebugOutput* debugOutput = nullptr;  // where the flattening's consistency message goes (none when null)

 private:
  // Bytes that may still be written at offset `at` within the capacity.
  std::size_t RoomAt(std::size_t at) const;
  // Makes the buffer hold `len` bytes at `at` and the zero byte after them; returns where to write.
  char* MakeRoom(std::size_t at, std::size_t len);
  // Appends `len` bytes, or fails without writing when they do not fit.
  bool Append(const char* bytes, std::size_t len);
  // Writes the move line to p at `at`; its length, or 0 when it does not fit.
  std::size_t WriteMove(std::size_t at, CQuarterPoint p);
  // Writes one flattened point, merging it with the previous move when the three points are collinear.
  void WritePoint(CQuarterPoint p, CPenState& pen);

  std::vector<char> m_buffer;
  std::uint64_t m_capacity = 0;
  std::size_t m_used = 0;
  CQuarterPoint m_previous = kNoPreviousPoint;  // A: the point before the current position
  CQuarterPoint m_current;                      // B: the current position
};

// Builds the flattened curve of a stroke that has Bezier lines, with a capacity of 50 bytes per byte of the
// stroke's text, and sets its span. Null when the stroke has no text.
std::unique_ptr<CBezierCurve> BuildBezierCurve(const CCutObj& stroke, CDebugOutput* debug);

}  // namespace vyx
