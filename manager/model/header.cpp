// The job header: reading ^XA .. the first ^RR/^RP line, labels across and the working headers.
#include "manager/model/header.h"

#include "manager/model/text_scan.h"

namespace vyx {

namespace {

std::int32_t ClampToInt32(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace

char* CQzplHeader::Parse(char* pos, char* limit) {
  if (pos == nullptr || pos > limit) return pos;
  char* start = pos;  // taken when the stream has no ^XA line
  char* line = pos;
  char* end = nullptr;
  while (true) {
    // A header line runs to the next "\r\n^": a value list may go on after a bare line break.
    char* next = PlainSearch(line, limit, "\r\n^");
    char* lineEnd = next != nullptr ? next : limit;
    std::int32_t v[4] = {0, 0, 0, 0};
    if (IsCommand(line, limit, "XA")) {
      start = line;
    } else if (IsCommand(line, limit, "PW")) {
      width = ReadInt(line + 3, limit);
    } else if (IsCommand(line, limit, "LL")) {
      length = ReadInt(line + 3, limit);
    } else if (IsCommand(line, limit, "PQ")) {
      const int n = ReadValues(line + 3, lineEnd, limit, v, 4);
      if (n > 0) rows = v[0];
      if (n > 1) rowGap = v[1];
      if (n > 2) columns = v[2];
      if (n > 3) {
        columnGap = v[3];
        totalLabels = ClampToInt32(static_cast<std::int64_t>(rows) * columns);
      }
    } else if (IsCommand(line, limit, "LH")) {
      const int n = ReadValues(line + 3, lineEnd, limit, v, 2);
      if (n > 0) homeX = v[0];
      if (n > 1) homeY = v[1];
    } else if (IsCommand(line, limit, "RSR")) {
      rsrValue = ReadInt(line + 4, limit);
    } else if (IsCommand(line, limit, "SD")) {
      darkness = ReadInt(line + 3, limit);
    } else if (IsCommand(line, limit, "RR") || IsCommand(line, limit, "RP")) {
      end = line;
      break;
    }
    if (next == nullptr) {
      end = line;
      break;
    }
    line = next + 2;
  }
  ComputeLabelsAcross();
  if (end < start) end = start;
  SetSpan(start, end);
  return end;
}

void CQzplHeader::ComputeLabelsAcross() {
  const std::int64_t divisor = static_cast<std::int64_t>(columnGap) + width;
  std::int64_t across = 0;
  if (divisor != 0) across = (static_cast<std::int64_t>(columnGap) + kTapeWidthDots) / divisor;
  if (across < 1 || (tapeCutSetsInForce != 0 && labelsPerSet > 0)) across = 1;
  labelsAcross = ClampToInt32(across);
}

void CCustomQzplHeader::InitFrom(const CQzplHeader& parsed) {
  width = parsed.width;
  length = parsed.length;
  // The layout places pages and lowers the home of later documents from a home that is set; the printer must get
  // the same home that the page offsets were worked out from.
  homeX = PlacedHome(parsed.homeX);
  homeY = PlacedHome(parsed.homeY);
  totalLabels = parsed.totalLabels;
  rows = parsed.rows;
  rowGap = parsed.rowGap;
  columns = parsed.columns;
  columnGap = parsed.columnGap;
  rsrValue = parsed.rsrValue;
  darkness = parsed.darkness;
  labelsAcross = parsed.labelsAcross;
  labelsPerSet = parsed.labelsPerSet;
  tapeCutSetsInForce = parsed.tapeCutSetsInForce;
  laminate = 0;
  darknessOverride = -1;
  const std::int64_t cols = columns < 1 ? 1 : columns;  // no ^PQ (-1) or a 0: one column
  const std::int64_t pitch = (kTapeWidthDots - (cols - 1) * static_cast<std::int64_t>(columnGap)) / cols;
  columnPitch = ClampToInt32(pitch);
  columnOffset = ClampToInt32((static_cast<std::int64_t>(columnPitch) - width) / 2);
}

}  // namespace vyx
