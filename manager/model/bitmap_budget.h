// The memory allowance for the bitmaps a job builds (merged fields, clones of the colour consolidation): a fixed
// allowance plus a small multiple of the job's size, counted while the bitmaps live.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx {

class CBitmapBudget {
 public:
  // A job of a few hundred bytes may still merge fields into bitmaps of some megabytes; beyond that, bitmaps grow
  // only with the text that brings their pixels. Extents alone (a field may declare any size) never buy memory.
  static constexpr std::size_t kAllowance = std::size_t{16} << 20;
  static constexpr std::size_t kBytesPerJobByte = 4;
  static std::size_t LimitForJob(std::int64_t jobBytes);

  explicit CBitmapBudget(std::size_t limit = LimitForJob(0)) : m_limit(limit) {}
  CBitmapBudget(const CBitmapBudget&) = delete;
  CBitmapBudget& operator=(const CBitmapBudget&) = delete;

  void SetLimit(std::size_t limit) { m_limit = limit; }
  std::size_t Limit() const { return m_limit; }
  std::size_t Used() const { return m_used; }
  // What a new bitmap may take now.
  std::size_t Left() const { return m_used < m_limit ? m_limit - m_used : 0; }

  // Takes `bytes` when they fit into what is left; false (and nothing taken) otherwise.
  bool Take(std::size_t bytes);
  // Gives back bytes taken before.
  void Give(std::size_t bytes);

 private:
  std::size_t m_limit;
  std::size_t m_used = 0;
};

}  // namespace vyx
