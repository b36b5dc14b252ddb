// The job header: CQzplHeader read from the stream, CCustomQzplHeader the working copy of the layout.
#pragma once

#include <cstdint>

#include "manager/model/qzpl_obj.h"

namespace vyx {

// A home coordinate as placed on the tape: a stream without ^LH leaves the home at the origin.
constexpr std::int32_t PlacedHome(std::int32_t home) {
  return home == kUnsetCoord ? 0 : home;
}

class CQzplHeader : public CQzplObj {
 public:
  int GetType() const override { return kTypeQzplHeader; }
  // Walks the header lines from pos (the first byte of the buffer) up to the first ^RR or ^RP line and
  // returns the header's text end, which is the first page's start.
  char* Parse(char* pos, char* limit) override;

  // Labels across = (column gap + 1217) / (column gap + width), at least 1; 1 when tape cut sets are in force
  // and labels per set is above 0 (and when the divisor is 0).
  void ComputeLabelsAcross();

  std::int32_t width = 0;            // ^PW
  std::int32_t length = 0;           // ^LL
  std::int32_t homeX = kUnsetCoord;  // ^LH
  std::int32_t homeY = kUnsetCoord;
  std::int32_t totalLabels = 1;  // rows x columns when ^PQ had all four values
  std::int32_t rows = -1;        // ^PQ 1
  std::int32_t rowGap = -1;      // ^PQ 2
  std::int32_t columns = -1;     // ^PQ 3
  std::int32_t columnGap = -1;   // ^PQ 4
  std::int32_t rsrValue = 1;     // ^RSR
  std::int32_t darkness = 15;    // ^SD
  std::int32_t labelsAcross = 1;
  std::int32_t labelsPerSet = 0;  // set by the layout and the main window
  std::uint8_t lastRowPartial = 0;
  std::uint8_t tapeCutSetsInForce = 0;  // set by the layout
};

class CCustomQzplHeader : public CQzplHeader {
 public:
  int GetType() const override { return kTypeCustomQzplHeader; }

  // Copies the layout values of a parsed header (not its span) and computes column pitch and offset;
  // laminate flag 0, darkness override -1. A header with fewer than 1 column (0, or -1 without ^PQ)
  // is taken as 1 column.
  void InitFrom(const CQzplHeader& parsed);

  std::int32_t columnOffset = 0;  // (column pitch - width) / 2
  std::int32_t columnPitch = 0;   // (1217 - (columns - 1) x column gap) / columns
  std::int32_t darknessOverride = -1;
  std::uint8_t laminate = 0;
};

}  // namespace vyx
