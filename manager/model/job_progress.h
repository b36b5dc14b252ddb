// The start-up progress bar positions of the job model: reading up to 7,200,000,
// parsing to 8,000,000, consolidation to 9,600,000, knock-out to 11,600,000, merging to 12,800,000.
#pragma once

#include <cstdint>

#include "common/seams/progress_sink.h"

namespace vyx {

enum : int {
  kProgressRead = 7200000,
  kProgressParsed = 8000000,
  kProgressConsolidated = 9600000,
  kProgressKnockedOut = 11600000,
  kProgressMerged = 12800000,
};

class CJobProgress {
 public:
  // The bar only ever moves forward.
  void Advance(std::int64_t to) {
    if (to <= m_pos) return;
    m_pos = to > INT32_MAX ? INT32_MAX : static_cast<int>(to);
    if (sink != nullptr) sink->SetPos(m_pos);
  }
  // base + span x f, f = (text position - buffer start) / job length, truncated after the multiplication.
  // Positions outside the job buffer (objects with buffers of their own) leave the bar alone.
  void AtText(int base, int span, const char* text) {
    if (text == nullptr || bufferStart == nullptr || jobLength <= 0) return;
    const auto p = reinterpret_cast<std::uintptr_t>(text);
    const auto b = reinterpret_cast<std::uintptr_t>(bufferStart);
    if (p < b || p - b > static_cast<std::uint64_t>(jobLength)) return;
    Advance(base + static_cast<std::int64_t>(span) * static_cast<std::int64_t>(p - b) / jobLength);
  }
  int Pos() const { return m_pos; }
  void Reset() { m_pos = 0; }

  CProgressSink* sink = nullptr;
  const char* bufferStart = nullptr;
  std::int64_t jobLength = 0;

 private:
  int m_pos = 0;
};

}  // namespace vyx
