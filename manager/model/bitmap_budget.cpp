// The memory allowance for the bitmaps a job builds.
#include "manager/model/bitmap_budget.h"

#include <limits>

namespace vyx {

std::size_t CBitmapBudget::LimitForJob(std::int64_t jobBytes) {
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  const std::uint64_t job = jobBytes > 0 ? static_cast<std::uint64_t>(jobBytes) : 0;
  if (job > (kMax - kAllowance) / kBytesPerJobByte) return kMax;
  return kAllowance + static_cast<std::size_t>(job) * kBytesPerJobByte;
}

bool CBitmapBudget::Take(std::size_t bytes) {
  if (bytes > Left()) return false;
  m_used += bytes;
  return true;
}

void CBitmapBudget::Give(std::size_t bytes) {
  m_used = bytes < m_used ? m_used - bytes : 0;
}

}  // namespace vyx
