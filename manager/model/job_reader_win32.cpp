// Win32 reading of the job stream and of the per-page copies file.
#include "manager/model/job_reader_win32.h"

#include <shlobj.h>

#include <filesystem>

namespace vyx {

std::uint32_t CHandleStreamSource::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  DWORD n = 0;
  const BOOL ok = ReadFile(m_handle, buffer, size, &n, nullptr);
  got = n;
  return ok ? 0u : static_cast<std::uint32_t>(GetLastError());
}

void CHandleStreamSource::Close() {
  if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
}

std::int64_t ReadJobStream(CQzplJobData& job, HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return -1;
  CHandleStreamSource source(handle);
  return job.ReadStream(&source);
}

bool GetSharedDocumentsFolder(std::wstring& folder) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
    return false;
  folder = path;
  return !folder.empty();
}

std::int64_t ReadPerPageCopiesFrom(CQzplJobData& job, const std::wstring& folder, int jobId) {
  wchar_t name[MAX_PATH + 64] = {};
  _snwprintf(name, MAX_PATH + 63, L"%s\\PerPageCopies_%d.dat", folder.c_str(), jobId);
  return job.ReadPerPageCopiesFile(std::filesystem::path(name), true);
}

std::int64_t ReadPerPageCopies(CQzplJobData& job, int jobId) {
  std::wstring folder;
  if (!GetSharedDocumentsFolder(folder)) return -1;
  return ReadPerPageCopiesFrom(job, folder, jobId);
}

}  // namespace vyx
