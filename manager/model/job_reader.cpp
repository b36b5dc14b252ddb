// Portable stream sources.
#include "manager/model/job_reader.h"

#include <algorithm>
#include <cstring>

namespace vyx {

std::uint32_t CMemoryStreamSource::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  ++readCount;
  got = 0;
  if (m_pos >= m_bytes.size()) return endError;
  std::size_t n = m_bytes.size() - m_pos;
  if (!pattern.empty()) {
    const std::uint32_t step = pattern[m_patternIndex++ % pattern.size()];
    n = std::min<std::size_t>(n, step == 0 ? 1 : step);
  }
  if (messageMode) {
    if (m_messageLeft == 0) m_messageLeft = n;
    n = m_messageLeft;
  }
  const std::size_t take = std::min<std::size_t>(n, size);
  std::memcpy(buffer, m_bytes.data() + m_pos, take);
  m_pos += take;
  got = static_cast<std::uint32_t>(take);
  if (messageMode) {
    m_messageLeft -= take;
    if (m_messageLeft != 0) return kErrorMoreData;
  }
  return 0;
}

std::uint32_t CStdioStreamSource::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (m_file == nullptr) return 6;  // invalid handle
  const std::size_t n = std::fread(buffer, 1, size, m_file);
  got = static_cast<std::uint32_t>(n);
  if (n == 0 && std::ferror(m_file)) return 30;  // read fault
  return 0;
}

void CStdioStreamSource::Close() {
  if (m_file != nullptr && m_file != stdin) std::fclose(m_file);
  m_file = nullptr;
}

}  // namespace vyx
