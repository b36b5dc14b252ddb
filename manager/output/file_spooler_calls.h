// Native spooler calls: there is no spooler, so every printer call fails with "invalid handle" exactly as it does
// on a Windows file handle, and the channel takes its file path for every step.
#pragma once

#include "manager/output/spooler_calls.h"

namespace vyx {

class CFileSpoolerCalls : public CSpoolerCalls {
 public:
  bool OpenPrinterHandle(const std::wstring& name, OutputHandle* handle) override;
  bool ClosePrinter(OutputHandle handle) override;
  OutputHandle CreateOutputFile(const std::wstring& path) override;
  bool CloseHandle(OutputHandle handle) override;
  bool StartRawDocPrinter(OutputHandle handle, const std::wstring& documentName) override;
  bool StartPagePrinter(OutputHandle handle) override;
  bool EndPagePrinter(OutputHandle handle) override;
  bool EndDocPrinter(OutputHandle handle) override;
  bool WritePrinter(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) override;
  bool WriteFile(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) override;
  std::uint32_t LastError() override { return m_lastError; }
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  std::wstring SystemMessage(std::uint32_t code) override;

 private:
  bool Fail(std::uint32_t code);
  std::uint32_t m_lastError = 0;
};

}  // namespace vyx
