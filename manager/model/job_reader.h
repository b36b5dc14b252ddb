// Stream sources for reading the job (Part 1.1, Algorithms 1): the platform handle (job_reader_win32) or, on
// every platform, memory and stdio files for tests, benchmarks, fuzzing and the native tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vyx {

// Platform error codes the reader cares about (Windows values).
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
  explicit CMemoryStreamSource(std::string bytes) : m_bytes(std::move(bytes)) {}
  std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  void Close() override { ++closeCount; }

  std::vector<std::uint32_t> pattern;
  bool messageMode = false;
  std::uint32_t endError = 0;
  int readCount = 0;
  int closeCount = 0;

 private:
  std::string m_bytes;
  std::size_t m_pos = 0;
  std::size_t m_patternIndex = 0;
  std::size_t m_messageLeft = 0;
};

// Reads a stdio stream (a file or standard input); closes it unless it is stdin.
class CStdioStreamSource : public CJobStreamSource {
 public:
  explicit CStdioStreamSource(std::FILE* file) : m_file(file) {}
  std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  void Close() override;

 private:
  std::FILE* m_file;
};

}  // namespace vyx
