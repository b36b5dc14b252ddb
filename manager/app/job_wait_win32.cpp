// Win32 calls of the job-data wait.
#include "manager/app/job_wait_win32.h"

#include <winspool.h>

namespace vyx {

std::uint32_t CWin32JobWaitCalls::TickCount() {
  return GetTickCount();
}

void CWin32JobWaitCalls::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

bool CWin32JobWaitCalls::OpenJobData(const std::wstring& location) {
  // The pipe's server must not act as the user: identification is all it may get of the client's token.
  m_data = CreateFileW(location.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
  if (m_data != INVALID_HANDLE_VALUE) return true;
  m_lastError = GetLastError();
  return false;
}

bool CWin32JobWaitCalls::QueryJob(std::int32_t jobId, CJobQueueState& state) {
  alignas(JOB_INFO_1W) BYTE buffer[1024] = {};
  DWORD needed = 0;
  if (!GetJobW(m_printer, static_cast<DWORD>(jobId), 1, buffer, sizeof buffer, &needed)) {
    m_lastError = GetLastError();
    return false;
  }
  const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer);
  state.hasStatusText = info->pStatus != nullptr;
  state.statusText = info->pStatus ? info->pStatus : L"";
  state.status = info->Status;
  state.position = info->Position;
  return true;
}

bool CWin32JobWaitCalls::WaitForPipe(const std::wstring& location, std::uint32_t timeoutMs) {
  if (WaitNamedPipeW(location.c_str(), timeoutMs)) return true;
  m_lastError = GetLastError();
  return false;
}

void CancelSpoolerJob(const std::wstring& printerName, std::int32_t jobId) {
  const bool shared = printerName.rfind(L"\\\\", 0) == 0;
  PRINTER_DEFAULTSW defaults{nullptr, nullptr,
                             static_cast<ACCESS_MASK>(shared ? PRINTER_ACCESS_USE : PRINTER_ALL_ACCESS)};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(printerName.c_str()), &printer, &defaults) || !printer) return;
  SetJobW(printer, static_cast<DWORD>(jobId), 0, nullptr, JOB_CONTROL_DELETE);
  ClosePrinter(printer);
}

}  // namespace vyx
