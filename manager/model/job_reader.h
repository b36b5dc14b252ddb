// Stream sources for the job reader: the read call behind a seam, so that the chunk, marker and progress logic is
// shared. Win32 reads a HANDLE (job_reader_win32); the native build a file descriptor; tests read memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyx {

// Platform error codes the reader cares about (Windows values).
constexpr std::uint32_t kErrorReadFault = 30;
constexpr std::uint32_t kErrorHandleEof = 38;
constexpr std::uint32_t kErrorBrokenPipe = 109;
constexpr std::uint32_t kErrorMoreData = 234;

class CJobStreamSource {
 public:
  virtual ~CJobStreamSource() = default;
  // One read call of at most `size` bytes: returns 0 on success or the platform error code; `got` receives the
  // byte count delivered (bytes delivered with kErrorMoreData are kept by the reader).
  virtual std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& got) = 0;
  // Closes the underlying handle; called once when reading ends.
  virtual void Close() = 0;
};

// Serves bytes from memory. Each read delivers at most the next entry of `pattern` (cycled; empty: no limit
// beyond the requested size). With messageMode, a read smaller than the current message delivers what fits and
// answers kErrorMoreData, as a message-mode pipe does. At the end of the data it answers `endError` (0: success
// with 0 bytes, as a file at its end; kErrorBrokenPipe as a closed pipe).
class CMemoryStreamSource : public CJobStreamSource {
 public:
  explicit CMemoryStreamSource(std::string bytes) : m_owned(std::move(bytes)), m_bytes(m_owned) {}
  // Serves bytes the caller keeps alive and unchanged while reading (no copy).
  explicit CMemoryStreamSource(const std::string* borrowed) : m_bytes(*borrowed) {}
  CMemoryStreamSource(const CMemoryStreamSource&) = delete;
  CMemoryStreamSource& operator=(const CMemoryStreamSource&) = delete;
  std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  void Close() override { ++closeCount; }

  std::vector<std::uint32_t> pattern;
  bool messageMode = false;
  std::uint32_t endError = 0;
  // Read call number failAtRead (1-based; 0: never) fails with failError and delivers nothing.
  int failAtRead = 0;
  std::uint32_t failError = kErrorReadFault;
  int readCount = 0;
  int closeCount = 0;

 private:
  std::string m_owned;
  std::string_view m_bytes;
  std::size_t m_pos = 0;
  std::size_t m_patternIndex = 0;
  std::size_t m_messageLeft = 0;
};

// Reads a file descriptor (the native build's handle): short reads are normal, 0 bytes is the end of the data,
// a failing read answers kErrorReadFault and keeps errno in lastErrno. Close closes the descriptor.
class CFdStreamSource : public CJobStreamSource {
 public:
  explicit CFdStreamSource(int fd) : m_fd(fd) {}
  ~CFdStreamSource() override { Close(); }
  std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  void Close() override;

  std::uint32_t lastError = 0;
  int lastErrno = 0;

 private:
  int m_fd;
};

}  // namespace vyx
