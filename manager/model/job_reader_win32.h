// The Win32 side of reading the job: the stream reader on a pipe or file HANDLE (ReadFile) and the
// per-page copies file in the machine's shared documents folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "manager/model/job.h"
#include "manager/model/job_reader.h"

namespace vyx {

// ReadFile on a pipe or file handle; Close closes the handle.
class CHandleStreamSource : public CJobStreamSource {
 public:
  explicit CHandleStreamSource(HANDLE handle) : m_handle(handle) {}
  std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& got) override;
  void Close() override;

 private:
  HANDLE m_handle;
};

// Read stream (job data, handle): reads the whole stream, closes the handle and returns the byte count;
// INVALID_HANDLE_VALUE returns -1 at once.
std::int64_t ReadJobStream(CQzplJobData& job, HANDLE handle);

// The shared documents folder of the machine (created if missing); false when it cannot be found.
bool GetSharedDocumentsFolder(std::wstring& folder);

// Read per-page copies (job id): loads "%s\PerPageCopies_%d.dat" from the shared documents folder as the job's
// per-page copies table, closes and deletes the file, and returns its length; -1 when the folder cannot be
// found or the file cannot be opened.
std::int64_t ReadPerPageCopies(CQzplJobData& job, int jobId);

// The same from a given folder (tests).
std::int64_t ReadPerPageCopiesFrom(CQzplJobData& job, const std::wstring& folder, int jobId);

}  // namespace vyx
