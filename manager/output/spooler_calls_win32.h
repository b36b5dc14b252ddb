// The real spooler and file calls on one handle, for the print channel.
#pragma once

#include "manager/output/spooler_calls.h"

namespace vyx {

class CWin32SpoolerCalls : public CSpoolerCalls {
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
  std::uint32_t LastError() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  std::wstring SystemMessage(std::uint32_t code) override;
};

}  // namespace vyx
