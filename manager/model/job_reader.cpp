// Portable stream sources.
#include "manager/model/job_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vyx {

std::uint32_t CMemoryStreamSource::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  ++readCount;
  got = 0;
  if (failAtRead != 0 && readCount == failAtRead) return failError;
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

namespace {

long ReadFd(int fd, void* buffer, std::uint32_t size) {
#if defined(_WIN32)
  return _read(fd, buffer, size);
#else
  return static_cast<long>(read(fd, buffer, size));
#endif
}

void CloseFd(int fd) {
#if defined(_WIN32)
  _close(fd);
#else
  close(fd);
#endif
}

}  // namespace

std::uint32_t CFdStreamSource::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (m_fd < 0) return lastError = 6;  // invalid handle
  long n = -1;
  do {
    n = ReadFd(m_fd, buffer, size);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    lastErrno = errno;
    return lastError = kErrorReadFault;
  }
  got = static_cast<std::uint32_t>(n);
  return 0;
}

void CFdStreamSource::Close() {
  if (m_fd >= 0) CloseFd(m_fd);
  m_fd = -1;
}

}  // namespace vyx
