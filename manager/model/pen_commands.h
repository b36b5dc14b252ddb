// The plotter pen command dialect: ^RP line kinds, the quarter-dot rounding q(v), bounded line and number
// reading, and the move line format shared by the cut path objects.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx {

// A plotter position in quarter dots (1200 per inch).
struct CQuarterPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const CQuarterPoint&, const CQuarterPoint&) = default;
};

// Quarter dots to dots, rounding half away from zero: 2 -> 1, 5 -> 1, 6 -> 2, -2 -> -1.
constexpr std::int32_t QuarterToDot(std::int32_t v) {
  return v >= 0 ? (v / 2 + 1) / 2 : (v / 2 - 1) / 2;
}

enum EPenLineKind : int {
  kPenLineNotPen = 0,  // not an ^RP line: ends a path
  kPenLineUp,          // ^RPU
  kPenLineDown,        // ^RPD
  kPenLineMove,        // ^RPM x,y
  kPenLineBezier,      // ^RPB x1,y1,x2,y2,x3,y3
  kPenLineOther,       // any other ^RP line: carried along, otherwise ignored
};

// One line of job text: [start, contentEnd) is the command, [contentEnd, end) its CR LF.
struct CPenLine {
  char* start = nullptr;
  char* contentEnd = nullptr;
  char* end = nullptr;
  EPenLineKind kind = kPenLineNotPen;
};

// Longest move line "^RPM%d,%d\r\n": two values of 11 characters each.
constexpr std::size_t kMaxPenMoveLineBytes = 29;

// Finds the CR of the next CR LF at or after pos, before limit. Like every line search in job text it jumps
// over the payload of a "^GFB," bitmap command (byte count, three further commas, then that many bytes) and
// stops at a zero byte; nullptr when there is no line end. `stop`, when given, receives where the scan ended: the
// CR, or without a line end the limit, the zero byte or the caret of a payload that runs past the limit.
char* FindPenLineEnd(char* pos, char* limit, char** stop = nullptr);

// Reads the line starting at pos. False when no CR LF ends it before limit (an unfinished line is no line).
bool ReadPenLine(char* pos, char* limit, CPenLine& line);

// Classifies a command text [start, contentEnd).
EPenLineKind ClassifyPenLine(const char* start, const char* contentEnd);

// Reads up to `max` comma-separated decimal values from [values, lineEnd). The first value always counts; every
// further value counts only when its comma lies before lineEnd. Missing digits read as 0; values beyond the 32-bit
// range saturate. Returns how many values counted.
int ReadPenValues(const char* values, const char* lineEnd, std::int32_t* out, int max);

// ^RPM x,y: false when the comma is missing.
bool ReadPenMove(const CPenLine& line, CQuarterPoint& to);
// ^RPB x1,y1,x2,y2,x3,y3: false when fewer than six values are present.
bool ReadPenBezier(const CPenLine& line, CQuarterPoint controls[3]);

// Formats "^RPM%d,%d\r\n" into dst when it fits into `room` bytes; returns its length, or 0 when it does not fit
// (nothing is written then).
std::size_t FormatPenMove(char* dst, std::size_t room, CQuarterPoint to);
// Length of the move line for `to`, without writing it.
std::size_t PenMoveLineLength(CQuarterPoint to);

// Narrows a 64-bit value to the 32-bit range, saturating.
constexpr std::int32_t SaturateToInt32(std::int64_t v) {
  return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(v));
}

}  // namespace vyx
