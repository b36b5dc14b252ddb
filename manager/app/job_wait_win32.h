// The wait for the job data on Windows: the job location opened as a pipe client or a file, job queries on the
// printer the job was sent to.
#pragma once

#include <windows.h>

#include "manager/app/job_wait.h"

namespace vyx {

class CWin32JobWaitCalls : public CJobWaitCalls {
 public:
  explicit CWin32JobWaitCalls(HANDLE printer) : m_printer(printer) {}
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  bool OpenJobData(const std::wstring& location) override;
  std::uint32_t LastError() override { return m_lastError; }
  bool HasPrinter() override { return m_printer != nullptr; }
  bool QueryJob(std::int32_t jobId, CJobQueueState& state) override;
  bool WaitForPipe(const std::wstring& location, std::uint32_t timeoutMs) override;

  // The opened job data; the caller takes it over.
  HANDLE JobData() const { return m_data; }

 private:
  HANDLE m_printer;
  HANDLE m_data = INVALID_HANDLE_VALUE;
  std::uint32_t m_lastError = 0;
};

// Deletes the spooler job: the printer is opened with use access for a shared printer (\\server\name), else with
// full access. Failures are ignored.
void CancelSpoolerJob(const std::wstring& printerName, std::int32_t jobId);

}  // namespace vyx
